// kvstool debug, run as scripts run it, with and without the stand-in game on the display.
#include "platform/process_memory.h"
#include "tests/debugmon/standin_game_process.h"
#include "tests/support/tool_run.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <sstream>

namespace kv::test {
namespace {

constexpr std::uint64_t kFlag = 0x0052611C;

ToolRun debugTool(const std::string& arguments) {
    return runShell("'" KVSTOOL_PATH "' debug " + arguments);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

TEST(KvstoolDebug, ArgumentsAndHelp) {
    const struct {
        const char* arguments;
        int exitCode;
    } cases[] = {{"--help", 0},
                 {"watch --help", 0},
                 {"", 2},
                 {"look", 2},
                 {"set-flag", 2},
                 {"set-flag 2", 2},
                 {"set-flag 1 0", 2},
                 {"watch --seconds 0", 2},
                 {"watch --seconds x", 2},
                 {"watch --seconds", 2},
                 {"watch --yaml", 2}};
    for (const auto& c : cases) {
        const ToolRun r = debugTool(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments << "\n" << r.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(r.out.rfind("usage: kvstool debug watch", 0), 0u) << r.out;
            EXPECT_TRUE(r.err.empty());
        } else {
            EXPECT_NE(r.err.find("usage: kvstool debug"), std::string::npos) << c.arguments;
            EXPECT_TRUE(r.out.empty());
        }
    }
}

TEST(KvstoolDebug, WatchesAndSwitchesTheRunningGame) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (./test starts Xvfb)";
    ASSERT_FALSE(gameWindowThere()) << "another game window is open on this display";

    ToolRun r = debugTool("watch --seconds 1");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Korvane Not Found\n");
    r = debugTool("set-flag 1");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "kvstool debug: no window titled \"Korvane Tactics\": the game is not "
                     "running\n");

    StandinGameProcess game(8000);
    ASSERT_GT(game.processId, 0) << game.error;
    ASSERT_TRUE(waitFor(gameWindowThere, 30000));

    r = debugTool("set-flag 1");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(platform::readMemory2(game.processId, kFlag), 1);

    r = debugTool("watch --seconds 2 --json");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> json = lines(r.out);
    ASSERT_GE(json.size(), 3u) << r.out; // found, then an update every 500 ms
    const QJsonObject found = QJsonDocument::fromJson(QByteArray::fromStdString(json[0])).object();
    EXPECT_TRUE(found["found"].toBool());
    EXPECT_EQ(found["process"].toInteger(), game.processId);
    for (std::size_t i = 1; i < json.size(); ++i) {
        const QJsonObject update =
            QJsonDocument::fromJson(QByteArray::fromStdString(json[i])).object();
        EXPECT_TRUE(update["debug"].toBool()) << json[i];
        const QJsonArray players = update["players"].toArray();
        ASSERT_EQ(players.size(), 8) << json[i];
        EXPECT_EQ(players[5].toObject()["colorName"].toString(), "Blue");
        EXPECT_EQ(players[5].toObject()["color"].toInt(), 5);
        const int power = players[2].toObject()["power"].toInt();
        EXPECT_GE(power, 1200);
        EXPECT_LT(power, 1700);
    }

    r = debugTool("set-flag 0");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(platform::readMemory2(game.processId, kFlag), 0);
    r = debugTool("watch --seconds 1");
    const std::vector<std::string> text = lines(r.out);
    ASSERT_GE(text.size(), 2u) << r.out;
    EXPECT_EQ(text[0].rfind("Korvane Found (window ", 0), 0u) << text[0];
    EXPECT_EQ(text[1].rfind("power=", 0), 0u) << text[1];
    EXPECT_NE(text[1].find("\tcolor=Green,Orange,Grey,Black,Red,Blue,Pink,Cyan\ttrucks="),
              std::string::npos)
        << text[1];
    EXPECT_EQ(text[1].substr(text[1].size() - 12), "\tdebug=False");
}

} // namespace
} // namespace kv::test
