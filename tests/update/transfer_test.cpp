// Fetches and downloads against a real HTTP server on loopback: bodies that are no file,
// servers that misbehave, cancel, and the promise that a failed download never leaves a
// truncated file under its name nor touches the old one.
#include "platform/files.h"
#include "tests/support/http_test_server.h"
#include "tests/support/recording_progress.h"
#include "tests/support/temp_folder.h"
#include "tests/update/update_world.h"
#include "tools/worldgen/digest.h"
#include "update/http_transfer.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace kv::update {
namespace {

class Transfer : public ::testing::Test {
protected:
    test::CoreApplicationFirst app;
    TransferOptions quick() const { return {.idleTimeoutMs = 400, .deadlineMs = 1500}; }
    // Entries of the temporary folder other than `keep`.
    std::vector<std::string> leftovers(const std::string& keep) const {
        std::vector<std::string> names;
        for (const auto& e : platform::listDirectory(temp.path()))
            if (e.name != keep)
                names.push_back(e.name);
        return names;
    }
    test::TempFolder temp;
    test::HttpTestServer server;
};

const std::string kBody(100000, 'k');

TEST_F(Transfer, FetchTextTellsBodiesFromFailures) {
    server.serve("/Config.ini", "[MAIN]:\r\n}\r\n");
    server.serve("/broken", "<!DOCTYPE html><p>oops</p>", 500);
    server.serve("/plain500", "internal trouble, try later", 500);
    server.redirect("/moved", server.url("/Config.ini"));
    server.closeHalfWay("/half", kBody);
    server.neverAnswer("/silent");
    server.trickle("/trickle"); // never idle, ends at the deadline

    for (const char* path : {"/Config.ini", "/moved"}) {
        const TextResult r = fetchText(server.url(path), quick());
        EXPECT_EQ(std::pair(r.error, r.text), std::pair(TransferError::None, std::string("[MAIN]:\r\n}\r\n")));
    }

    // Nobody listening at "127.0.0.1:1", and no address at all at the end.
    for (const auto& [url, error] : std::vector<std::pair<std::string, TransferError>>{
             {server.url("/missing"), TransferError::HtmlPage}, {server.url("/broken"), TransferError::HtmlPage},
             {server.url("/plain500"), TransferError::Network}, {server.url("/half"), TransferError::Network},
             {server.url("/silent"), TransferError::TimedOut}, {server.url("/trickle"), TransferError::TimedOut},
             {"http://127.0.0.1:1/x", TransferError::Network}, {"  ", TransferError::EmptyUrl},
             {"no address", TransferError::Network}}) {
        const TextResult r = fetchText(url, quick());
        EXPECT_EQ(std::pair(r.error, r.text), std::pair(error, std::string())) << url;
    }
    // An answer past the text limit is refused, not held.
    server.serve("/big", kBody);
    const TransferOptions small{.idleTimeoutMs = 400, .deadlineMs = 1500, .maxTextBytes = 1000};
    EXPECT_EQ(fetchText(server.url("/big"), small).error, TransferError::Network);
}

TEST_F(Transfer, DownloadsReplaceTheOldFileOnlyWhenComplete) {
    server.serve("/good.bin", kBody);
    server.closeHalfWay("/half.bin", kBody);
    server.serve("/tiny.bin", "abc");
    server.serve("/page.bin", "<!DOCTYPE html><html>not here</html>");
    server.serve("/error.bin", std::string(50, 'e'), 500);
    server.neverAnswer("/silent.bin");
    server.redirect("/moved.bin", server.url("/good.bin"));
    const std::string target = temp.write("Hunter.kvai", "old AI");
    NoProgress none;
    auto expectOldFileAlone = [&](PendingFile& pending, const std::string& what) {
        EXPECT_TRUE(temp.read("Hunter.kvai") == "old AI") << what;
        EXPECT_TRUE(leftovers("Hunter.kvai").empty()) << what;
        EXPECT_FALSE(pending.commit()) << what;
    };
    struct Case {
        const char* path;
        std::string sha;
        TransferError error;
    };
    for (const Case& c : {Case{"/half.bin", {}, TransferError::Network},
                          Case{"/tiny.bin", {}, TransferError::TooShort},
                          Case{"/page.bin", {}, TransferError::HtmlPage},
                          Case{"/missing.bin", {}, TransferError::HtmlPage},
                          Case{"/error.bin", {}, TransferError::Network},
                          Case{"/silent.bin", {}, TransferError::TimedOut},
                          Case{"/good.bin", std::string(64, '0'), TransferError::Checksum}}) {
        PendingFile pending;
        EXPECT_EQ(downloadFile(server.url(c.path), target, c.sha, none, pending, quick()).error,
                  c.error) << c.path;
        expectOldFileAlone(pending, c.path);
    }
    // A cancel stops a transfer that waits for an answer.
    test::RecordingProgress progress;
    QTimer::singleShot(150, [&] { progress.stop = true; });
    PendingFile pending;
    EXPECT_EQ(downloadFile(server.url("/silent.bin"), target, {}, progress, pending,
                           {.idleTimeoutMs = 20000}).error, TransferError::Cancelled);
    expectOldFileAlone(pending, "cancel");

    // A write that fails half-way: the file size limit stands in for a full disk.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit unlimited = limit;
    limit.rlim_cur = kBody.size() / 2;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const FileResult full = downloadFile(server.url("/good.bin"), target, {}, none, pending, quick());
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &unlimited), 0);
    EXPECT_TRUE(full.error == TransferError::WriteFailed && !full.detail.empty()) << full.detail;
    expectOldFileAlone(pending, "full disk");

    // A good download (through a redirect, hash in capitals) waits beside the target until
    // committed; the target's folders are made on the way.
    const std::string sha =
        QString::fromStdString(worldgen::sha256Hex(kBody)).toUpper().toStdString();
    for (const char* path : {"/good.bin", "/moved.bin"}) {
        temp.write("Hunter.kvai", "old AI");
        const FileResult r = downloadFile(server.url(path), target, sha, none, pending, quick());
        ASSERT_EQ(r.error, TransferError::None) << path;
        EXPECT_EQ(r.bytes, kBody.size());
        EXPECT_EQ(temp.read("Hunter.kvai"), "old AI");
        ASSERT_TRUE(pending.commit());
        EXPECT_TRUE(temp.read("Hunter.kvai") == kBody);
        EXPECT_TRUE(leftovers("Hunter.kvai").empty());
    }
    ASSERT_EQ(downloadFile(server.url("/good.bin"), temp / "a/b/c.kdg", {}, none, pending, quick())
                  .error,
              TransferError::None);
    ASSERT_TRUE(pending.commit());
    EXPECT_TRUE(temp.read("a/b/c.kdg") == kBody);
}

} // namespace
} // namespace kv::update
