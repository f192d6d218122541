#include "update/http_transfer.h"

#include "platform/files.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <functional>

namespace kv::update {

namespace {

constexpr qint64 kChunk = 256 * 1024;

struct Outcome {
    TransferError error = TransferError::None;
    std::string detail;
    int status = 0;
};

// Runs one GET to its end while serving the event loop. `sink` gets every piece of the
// body as it arrives and answers false to stop the transfer.
Outcome runGet(const std::string& url, const TransferOptions& options, Progress& progress,
               const std::function<bool(const char*, qint64)>& sink,
               std::uint64_t* total = nullptr) {
    Outcome out;
    const QUrl address(QString::fromUtf8(url.data(), qsizetype(url.size())));
    if (!address.isValid() || address.scheme().isEmpty()) {
        out.error = TransferError::Network;
        out.detail = "not an address: " + url;
        return out;
    }
    QNetworkAccessManager manager;
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    QNetworkReply* reply = manager.get(request);
    // Bounded: the network stops reading while this much waits, so memory does not grow
    // with the file when the disk is slower than the network.
    reply->setReadBufferSize(4 * kChunk);

    bool timedOut = false, sinkStopped = false;
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(options.idleTimeoutMs);
    QObject::connect(&idle, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    idle.start();
    // A server that trickles a byte now and then keeps the idle timer from firing.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    if (options.deadlineMs > 0)
        deadline.start(options.deadlineMs);
    // A cancel request is polled even when no data arrives.
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, reply, [] {});
    poll.start();

    std::vector<char> buffer(kChunk);
    auto drain = [&] {
        while (!sinkStopped && reply->bytesAvailable() > 0) {
            const qint64 n = reply->read(buffer.data(), kChunk);
            if (n <= 0)
                break;
            if (!sink(buffer.data(), n)) {
                sinkStopped = true;
                reply->abort();
            }
        }
        idle.start();
    };
    QObject::connect(reply, &QNetworkReply::readyRead, reply, drain);
    if (total)
        QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                         [total](qint64, qint64 bytesTotal) {
                             *total = bytesTotal > 0 ? std::uint64_t(bytesTotal) : 0;
                         });

    bool cancelled = false;
    while (!reply->isFinished()) {
        if (!cancelled && progress.stopRequested()) {
            cancelled = true;
            reply->abort();
            continue;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    if (!sinkStopped && !cancelled && !timedOut)
        drain();
    idle.stop();
    poll.stop();

    out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (cancelled) {
        out.error = TransferError::Cancelled;
    } else if (timedOut) {
        out.error = TransferError::TimedOut;
        out.detail = "no answer from " + url;
    } else if (sinkStopped) {
        out.error = TransferError::WriteFailed;
    } else if (reply->error() != QNetworkReply::NoError && out.status < 400) {
        // HTTP error answers keep their body: the caller tells an HTML page from the rest.
        out.error = TransferError::Network;
        out.detail = reply->errorString().toStdString();
    }
    delete reply;
    return out;
}

} // namespace

TextResult fetchText(const std::string& url, const TransferOptions& options, Progress* progress) {
    TextResult result;
    if (url.find_first_not_of(" \t") == std::string::npos) {
        result.error = TransferError::EmptyUrl;
        return result;
    }
    NoProgress none;
    bool tooLong = false;
    const Outcome o = runGet(url, options, progress ? *progress : none, [&](const char* data, qint64 n) {
        if (result.text.size() + std::uint64_t(n) > options.maxTextBytes) {
            tooLong = true;
            return false;
        }
        result.text.append(data, size_t(n));
        return true;
    });
    result.error = o.error;
    result.detail = o.detail;
    if (tooLong) {
        result.error = TransferError::Network;
        result.detail = "answer longer than " + std::to_string(options.maxTextBytes) + " bytes";
    } else if (o.error == TransferError::None && o.status >= 400) {
        result.error =
            result.text.starts_with("<!") ? TransferError::HtmlPage : TransferError::Network;
        result.detail = "HTTP " + std::to_string(o.status);
    }
    if (result.error != TransferError::None)
        result.text.clear();
    return result;
}

platform::Status PendingFile::commit() {
    if (!writer_)
        return {1, "nothing downloaded"};
    platform::Status s = writer_->commit();
    writer_.reset();
    return s;
}

class FileTransfer {
public:
    static FileResult run(const std::string& url, const std::string& targetPath,
                          const std::string& sha256, Progress& progress, PendingFile& out,
                          const TransferOptions& options);
};

FileResult FileTransfer::run(const std::string& url, const std::string& targetPath,
                             const std::string& sha256, Progress& progress, PendingFile& out,
                             const TransferOptions& options) {
    FileResult result;
    out = PendingFile{};
    if (url.find_first_not_of(" \t") == std::string::npos) {
        result.error = TransferError::EmptyUrl;
        return result;
    }
    const size_t sep = targetPath.find_last_of("/\\");
    if (sep != std::string::npos)
        (void)platform::createFolderTree(targetPath.substr(0, sep));
    auto writer = std::make_unique<platform::AtomicFileWriter>();
    if (platform::Status s = writer->open(targetPath); !s) {
        result.error = TransferError::WriteFailed;
        result.detail = s.description;
        return result;
    }

    QCryptographicHash hash(QCryptographicHash::Sha256);
    const bool checkHash = !sha256.empty();
    std::string head;
    std::uint64_t total = 0;
    QElapsedTimer clock, sinceReport;
    clock.start();
    sinceReport.start();
    std::string writeError;
    const Outcome o = runGet(
        url, options, progress,
        [&](const char* data, qint64 n) {
            if (head.size() < 2)
                head.append(data, size_t(std::min<qint64>(n, qint64(2 - head.size()))));
            if (checkHash)
                hash.addData(QByteArrayView(data, n));
            if (platform::Status s = writer->write(data, size_t(n)); !s) {
                writeError = s.description;
                return false;
            }
            result.bytes += std::uint64_t(n);
            if (sinceReport.elapsed() >= 100) {
                sinceReport.restart();
                const double seconds = double(clock.elapsed()) / 1000.0;
                progress.setProgress(result.bytes, total);
                progress.setStatus(progressText(result.bytes, total,
                                                seconds > 0 ? double(result.bytes) / seconds : 0));
            }
            return true;
        },
        &total);
    result.error = o.error;
    result.detail = o.error == TransferError::WriteFailed ? writeError : o.detail;
    if (result.error == TransferError::None) {
        if (head == "<!")
            result.error = TransferError::HtmlPage;
        else if (o.status >= 400 || result.bytes < 11)
            result.error = result.bytes < 11 ? TransferError::TooShort : TransferError::Network;
        else if (checkHash && QString::fromLatin1(hash.result().toHex())
                                      .compare(QString::fromStdString(sha256).trimmed(),
                                               Qt::CaseInsensitive) != 0)
            result.error = TransferError::Checksum;
        if (o.status >= 400 && result.detail.empty())
            result.detail = "HTTP " + std::to_string(o.status);
    }
    if (result.error != TransferError::None) {
        writer->abandon();
        return result;
    }
    progress.setProgress(result.bytes, result.bytes);
    out.writer_ = std::move(writer);
    out.target_ = targetPath;
    out.size_ = result.bytes;
    return result;
}

FileResult downloadFile(const std::string& url, const std::string& targetPath,
                        const std::string& sha256, Progress& progress, PendingFile& out,
                        const TransferOptions& options) {
    return FileTransfer::run(url, targetPath, sha256, progress, out, options);
}

std::string progressText(std::uint64_t received, std::uint64_t total, double bytesPerSecond) {
    auto mb = [](double bytes) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f MB", bytes / (1024.0 * 1024.0));
        return std::string(text);
    };
    std::string text = mb(double(received));
    if (total > 0)
        text += " of " + mb(double(total));
    return text + ", " + mb(bytesPerSecond) + "/s";
}

} // namespace kv::update
