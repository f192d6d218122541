// kvstool debug, run as scripts run it, with and without the stand-in game on the display.
#include "platform/files.h"
#include "platform/process_memory.h"
#include "platform/shell.h"
#include "platform/windows.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tool_run.h"
#include "tests/support/wait.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <gtest/gtest.h>

#include <csignal>

namespace kv::test {
namespace {

bool gameWindowThere() { return platform::findWindowByTitle("Korvane Tactics").handle >= 1; }

// The stand-in game as a real process with a real window on the test's X display; ended
// when the object goes if it has not quit by itself.
struct StandinGame {
    TempFolder tmp;
    long processId = 0; // 0: not started
    explicit StandinGame(int quitAfterMs) {
        const std::string exe = tmp / "korvane.exe";
        if (!platform::copyFile(KV_STANDIN_GAME, exe))
            return;
        ::setenv("KV_STANDIN_REGISTRY", (tmp / "registry.reg").c_str(), 1);
        ::setenv("KV_STANDIN_QUIT_AFTER_MS", std::to_string(quitAfterMs).c_str(), 1);
        processId = platform::startProgram(exe, "", tmp.path()).processId;
        ::unsetenv("KV_STANDIN_QUIT_AFTER_MS");
        ::unsetenv("KV_STANDIN_REGISTRY");
    }
    ~StandinGame() {
        if (processId > 0 && ::kill(pid_t(processId), SIGTERM) == 0)
            waitFor([this] { return ::kill(pid_t(processId), 0) != 0; }, 5000);
    }
};

ToolRun debugTool(const std::string& arguments) {
    return runShell("'" KVSTOOL_PATH "' debug " + arguments);
}

QStringList lines(const std::string& text) {
    return QString::fromStdString(text).split('\n', Qt::SkipEmptyParts);
}

TEST(KvstoolDebug, ArgumentsAndHelp) {
    for (const char* bad :
         {"", "look", "set-flag", "set-flag 2", "set-flag 1 0", "watch --seconds 0",
          "watch --seconds x", "watch --seconds", "watch --yaml"}) {
        const ToolRun r = debugTool(bad);
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_NE(r.err.find("usage: kvstool debug"), std::string::npos) << bad;
    }
    for (const char* help : {"--help", "watch --help"}) {
        const ToolRun r = debugTool(help);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out.rfind("usage: kvstool debug watch", 0), 0u) << r.out;
    }
}

TEST(KvstoolDebug, WatchesAndSwitchesTheRunningGame) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (./test starts Xvfb)";
    ASSERT_FALSE(gameWindowThere()) << "another game window is open on this display";
    ::unsetenv("QT_QPA_PLATFORM"); // the game needs a real window
    ToolRun r = debugTool("watch --seconds 1");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Korvane Not Found\n");
    r = debugTool("set-flag 1");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "kvstool debug: no window titled \"Korvane Tactics\": the game is not "
                     "running\n");

    StandinGame game(8000);
    ASSERT_TRUE(game.processId > 0 && waitFor(gameWindowThere, 30000));
    r = debugTool("set-flag 1");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(platform::readMemory2(game.processId, 0x0052611C), 1);

    // A found line, then an update every 500 ms.
    const QStringList json = lines(debugTool("watch --seconds 2 --json").out);
    ASSERT_GE(json.size(), 3);
    const auto object = [](const QString& line) {
        return QJsonDocument::fromJson(line.toUtf8()).object();
    };
    EXPECT_EQ(object(json[0])["process"].toInteger(), game.processId) << json[0].toStdString();
    for (const QString& line : json.mid(1)) {
        const QJsonObject blue = object(line)["players"].toArray()[5].toObject();
        EXPECT_TRUE(object(line)["debug"].toBool()) << line.toStdString();
        EXPECT_EQ(blue["colorName"].toString() + QString::number(blue["color"].toInt()), "Blue5");
    }

    EXPECT_EQ(debugTool("set-flag 0").exitCode, 0);
    EXPECT_EQ(platform::readMemory2(game.processId, 0x0052611C), 0);
    const QStringList text = lines(debugTool("watch --seconds 1").out);
    ASSERT_GE(text.size(), 2);
    EXPECT_TRUE(text[0].startsWith("Korvane Found (window ")) << text[0].toStdString();
    EXPECT_TRUE(text[1].startsWith("power=")) << text[1].toStdString();
    EXPECT_TRUE(text[1].contains("\tcolor=Green,Orange,Grey,Black,Red,Blue,Pink,Cyan\ttrucks="));
    EXPECT_TRUE(text[1].endsWith("\tdebug=False")) << text[1].toStdString();
}

} // namespace
} // namespace kv::test
