#pragma once
// HTTP(S) transfers for the update: a text fetch for "Config.ini" and file downloads that
// stream to a temporary file beside their target. Both run QNetworkAccessManager and serve
// the event loop while they wait, so the windows stay usable and Cancel works.
#include "common/progress.h"
#include "platform/file_io.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kv::update {

enum class TransferError {
    None,
    EmptyUrl,
    Cancelled,
    Network,  // connection refused, reset, HTTP error without a usable body
    TimedOut, // no data for the time-out, or past the deadline
    TooShort, // fewer bytes than a real file has
    HtmlPage, // the server answered with an HTML (error) page
    Checksum, // SHA256 given and not matched
    WriteFailed,
};

struct TransferOptions {
    int idleTimeoutMs = 30000; // no byte for this long ends the transfer
    int deadlineMs = 0;        // the whole transfer ends after this long; 0: no limit
    std::uint64_t maxTextBytes = 16u << 20;
};

struct TextResult {
    TransferError error = TransferError::None;
    std::string text;
    std::string detail; // the network's own words, for logs and the tool
};

// The whole resource as text. The configuration-file rules (at least 10 characters, no
// leading "<!") are the caller's.
// `progress` is asked for a stop request only.
TextResult fetchText(const std::string& url, const TransferOptions& options = {},
                     Progress* progress = nullptr);

// A downloaded file waiting in its temporary file; commit() puts it under its name.
class PendingFile {
public:
    const std::string& target() const { return target_; }
    std::uint64_t size() const { return size_; }
    platform::Status commit();

private:
    friend class FileTransfer;
    std::unique_ptr<platform::AtomicFileWriter> writer_;
    std::string target_;
    std::uint64_t size_ = 0;
};

struct FileResult {
    TransferError error = TransferError::None;
    std::string detail;
    std::uint64_t bytes = 0;
};

// Downloads `url` into a temporary file beside `targetPath` (its folder is created), and
// checks the body: fewer than 11 bytes, an HTML page or a wrong SHA256 fail and leave no
// file behind. On success `out` holds the file, not yet under its name.
FileResult downloadFile(const std::string& url, const std::string& targetPath,
                        const std::string& sha256, Progress& progress, PendingFile& out,
                        const TransferOptions& options = {});

// "12.3 MB of 200.0 MB, 85.2 MB/s" — what the download window shows under its bar.
std::string progressText(std::uint64_t received, std::uint64_t total, double bytesPerSecond);

} // namespace kv::update
