// The self-update end to end with the real renamer: the running launcher ends, the old
// executable is kept as "_old", the new one is put in place with its run bit and started.
#include "platform/files.h"
#include "platform/shell.h"
#include "tests/support/wait.h"
#include "tests/update/update_world.h"

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>

namespace kv::update {
namespace {

namespace fs = std::filesystem;

const std::string kOldLauncher = "#!/bin/sh\necho old\n";
// The new launcher proves it ran, and with what, by leaving a marker beside itself.
const std::string kNewLauncher = "#!/bin/sh\necho started \"$@\" > \"$(dirname \"$0\")/marker\"\n";

bool waitForFile(const std::string& path) {
    return test::waitFor([&] { return platform::fileExists(path); }, 10000);
}

bool executable(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

int runRenamer(const std::string& folder, const QStringList& more = {}) {
    QProcess renamer;
    renamer.start(QStringLiteral(KV_RENAMER_PATH),
                  QStringList{"KVSTemp.exe", "--pid", "0", "--target",
                              QString::fromStdString(folder + "kvstarter")} + more);
    renamer.waitForFinished(70000);
    return renamer.exitCode();
}

TEST(Renamer, PutsInPlaceOnlyWhatWasDownloadedAndPutsTheOldBackOnFailure) {
    test::ensureCoreApplication();
    test::TempFolder temp;
    temp.write("kvstarter", kOldLauncher);
    fs::permissions(temp / "kvstarter", fs::perms::owner_all);
    // Nothing downloaded: nothing touched.
    EXPECT_EQ(runRenamer(temp.path()), 1);
    EXPECT_EQ(temp.read("kvstarter"), kOldLauncher);

    // Put in place without a start (kvstool without --restart).
    temp.write("KVSTemp.exe", kNewLauncher);
    EXPECT_EQ(runRenamer(temp.path(), {"--no-start"}), 0);
    EXPECT_EQ(temp.read("kvstarter") + temp.read("kvstarter_old"), kNewLauncher + kOldLauncher);
    EXPECT_TRUE(executable(temp / "kvstarter"));
    EXPECT_FALSE(platform::fileExists(temp / "KVSTemp.exe"));
    QThread::msleep(200);
    EXPECT_FALSE(platform::fileExists(temp / "marker"));

    // A new file that cannot run: the old launcher is back under its name and is told why.
    temp.write("KVSTemp.exe", std::string("\x7f" "ELF broken", 11));
    EXPECT_EQ(runRenamer(temp.path()), 1);
    EXPECT_EQ(temp.read("kvstarter"), kNewLauncher);
    EXPECT_TRUE(platform::fileExists(temp / "KVSTemp.exe"));
    ASSERT_TRUE(waitForFile(temp / "marker"));
    QThread::msleep(100);
    EXPECT_TRUE(temp.read("marker").starts_with("started --update-rolled-back ")) << temp.read("marker");
}

TEST(SelfUpdate, DownloadsTheRenamerAndTheNewLauncherThenRestarts) {
    test::UpdateWorld w;
    std::string renamerBytes;
    ASSERT_TRUE(platform::readFile(KV_RENAMER_PATH, renamerBytes));
    w.server.serve("/KVStarter.exe", kNewLauncher);
    w.temp.write("kvs/kvstarter", kOldLauncher);
    fs::permissions(w.launcherFile("kvstarter"), fs::perms::owner_all);
    const std::string missing = "Some of the Auto-Download components are missing, Korvane "
                                "Starter will not try to download them.";
    // A patch whose renamer the server does not offer fails, and the program goes on.
    w.publishLauncher(false);
    w.session->DoAutoUpdate(false);
    w.session->checkAll(true);
    EXPECT_TRUE(w.session->installSelected());
    EXPECT_EQ(w.ui.messageTexts(),
              (std::vector<std::string>{missing, "Failed to download missing Auto-Download "
                                        "component, please reinstall Korvane Starter.",
                                        "Failed to update Korvane Starter."}));
    EXPECT_EQ(w.started.size() + size_t(w.quits), 0u);
    w.ui.clear();

    w.server.serve("/Renamer", renamerBytes);
    w.session->env().startHidden = [](const std::string& program, const std::string& params) {
        return platform::startProgram(program, params, {}, platform::WindowMode::Hidden).ok;
    };
    w.publishLauncher(true);
    w.session->DoAutoUpdate(false);
    ASSERT_EQ(w.session->offers().size(), 1u);
    w.session->checkAll(true);
    QProcess launcher; // a stand-in for the running launcher, ending after a moment
    launcher.start(QStringLiteral("/bin/sleep"), {QStringLiteral("1")});
    ASSERT_TRUE(launcher.waitForStarted());
    w.session->env().processId = long(launcher.processId());
    EXPECT_FALSE(w.session->installSelected());
    EXPECT_EQ(w.ui.messageTexts(),
              (std::vector<std::string>{
                  missing,
                  "Korvane Starter will be restarted and patched now. Backup copy of the current "
                  "version will be created ('KVStarter_old.exe').\r\nPlease use the backup copy if "
                  "update fails."}));
    EXPECT_EQ(w.quits, 1);
    // The renamer waits for the launcher to end before it touches its file.
    QThread::msleep(200);
    EXPECT_EQ(w.temp.read("kvs/kvstarter"), kOldLauncher);
    launcher.waitForFinished();
    ASSERT_TRUE(waitForFile(w.launcherFile("marker")));
    EXPECT_EQ(w.temp.read("kvs/kvstarter") + w.temp.read("kvs/kvstarter_old"), kNewLauncher + kOldLauncher);
    EXPECT_FALSE(platform::fileExists(w.launcherFile("KVSTemp.exe")));
    EXPECT_TRUE(executable(w.launcherFile("kvstarter")) && executable(w.launcherFile("Renamer")));
}

} // namespace
} // namespace kv::update
