// The self-update end to end with the real renamer: the running launcher ends, the old
// executable is kept as "_old", the new one is put in place with its run bit and started.
#include "platform/files.h"
#include "platform/shell.h"
#include "tests/support/wait.h"
#include "tests/update/update_world.h"
#include "tools/renamer/renamer.h"

#include <QElapsedTimer>
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

// A stand-in for the running launcher: a process that ends after a moment.
std::unique_ptr<QProcess> runningLauncher() {
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral("/bin/sleep"), {QStringLiteral("0.6")});
    p->waitForStarted();
    return p;
}

int runRenamer(const std::string& folder, long pid, const QStringList& more = {}) {
    QProcess renamer;
    renamer.start(QStringLiteral(KV_RENAMER_PATH),
                  QStringList{QStringLiteral("KVSTemp.exe"), QStringLiteral("--pid"),
                              QString::number(pid), QStringLiteral("--target"),
                              QString::fromStdString(folder + "kvstarter")} +
                      more);
    renamer.waitForFinished(70000);
    return renamer.exitCode();
}

TEST(Renamer, ReplacesAfterTheLauncherEndedAndPutsTheOldBackOnFailure) {
    test::ensureCoreApplication();
    EXPECT_EQ(renamer::backupName("/a/KVStarter.exe"), "/a/KVStarter_old.exe");
    EXPECT_EQ(renamer::backupName("/a/kvstarter"), "/a/kvstarter_old");

    test::TempFolder temp;
    const std::string dir = temp.path();
    temp.write("kvstarter", kOldLauncher);
    fs::permissions(temp / "kvstarter", fs::perms::owner_all);
    temp.write("KVSTemp.exe", kNewLauncher);
    auto launcher = runningLauncher();
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(runRenamer(dir, long(launcher->processId())), 0);
    EXPECT_GE(t.elapsed(), 400); // it waited for the launcher
    launcher->waitForFinished();
    ASSERT_TRUE(waitForFile(temp / "marker"));
    EXPECT_EQ(temp.read("kvstarter"), kNewLauncher);
    EXPECT_EQ(temp.read("kvstarter_old"), kOldLauncher);
    EXPECT_TRUE(executable(temp / "kvstarter"));
    EXPECT_FALSE(platform::fileExists(temp / "KVSTemp.exe"));

    // Nothing downloaded: nothing touched.
    EXPECT_EQ(runRenamer(dir, 0), 1);
    EXPECT_EQ(temp.read("kvstarter"), kNewLauncher);

    // Put in place without a start (kvstool without --restart).
    fs::remove(temp / "marker");
    temp.write("KVSTemp.exe", kNewLauncher + "#2\n");
    EXPECT_EQ(runRenamer(dir, 0, {QStringLiteral("--no-start")}), 0);
    EXPECT_EQ(temp.read("kvstarter"), kNewLauncher + "#2\n");
    EXPECT_EQ(temp.read("kvstarter_old"), kNewLauncher);
    QThread::msleep(200);
    EXPECT_FALSE(platform::fileExists(temp / "marker"));

    // A new file that cannot run: the old launcher is back under its name and is told why.
    fs::remove(temp / "marker");
    temp.write("KVSTemp.exe", std::string("\x7f"
                                          "ELF broken",
                                          11));
    EXPECT_EQ(runRenamer(dir, 0), 1);
    EXPECT_EQ(temp.read("kvstarter"), kNewLauncher + "#2\n");
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
    w.server.serve("/Renamer", renamerBytes);
    w.temp.write("kvs/kvstarter", kOldLauncher);
    fs::permissions(w.launcherFile("kvstarter"), fs::perms::owner_all);
    auto launcher = runningLauncher();
    w.session->env().processId = long(launcher->processId());
    w.session->env().startHidden = [](const std::string& program, const std::string& params) {
        return platform::startProgram(program, params, {}, platform::WindowMode::Hidden).ok;
    };
    w.publishLauncher(true);
    w.session->DoAutoUpdate(false);
    ASSERT_EQ(w.session->offers().size(), 1u);
    w.session->checkAll(true);
    EXPECT_FALSE(w.session->installSelected());
    EXPECT_EQ(w.quits, 1);
    launcher->waitForFinished();
    ASSERT_TRUE(waitForFile(w.launcherFile("marker")));
    EXPECT_EQ(w.temp.read("kvs/kvstarter"), kNewLauncher);
    EXPECT_EQ(w.temp.read("kvs/kvstarter_old"), kOldLauncher);
    EXPECT_TRUE(executable(w.launcherFile("kvstarter")));
    EXPECT_TRUE(executable(w.launcherFile("Renamer")));
}

} // namespace
} // namespace kv::update
