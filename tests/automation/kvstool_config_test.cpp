// kvstool config, run the way scripts use it, on the demo world.
#include "platform/files.h"
#include "tests/automation/automation_world.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace kv::test {
namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

ToolRun runTool(const AutomationWorld& w, const std::string& arguments) {
    const std::string command = "'" KVSTOOL_PATH "' config " + arguments + " >'" + (w.tmp / "out") +
                                "' 2>'" + (w.tmp / "err") + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, w.tmp.read("out"), w.tmp.read("err")};
}

TEST(KvstoolConfig, ListsAndChecksWithoutChangingAFile) {
    AutomationWorld w;
    const std::string folder = "'" + w.world.launcherFolder + "'";
    w.writeConfig("Broken.ini", {R"(SelectAI("9", "X"))",
                                 R"(LoadRules_FromPath("Classic", )"
                                 R"("%KVSRulesPath%"))",
                                 "LockRulesSelection()"});

    ToolRun r = runTool(w, "list " + folder);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Duel\tHunter (player 0) against Raider (player 1). Both lists are "
                         "locked.\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Broken\t\n"), std::string::npos) << r.out;

    r = runTool(w, "check " + folder + " Duel.ini --json");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (const char* part : {"\"ais\": [\n        \"Hunter\",\n        \"Raider\"\n    ]",
                             "\"aiFrozen\": true", "\"rulesLocked\": false"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;

    r = runTool(w, "check " + folder + " Broken.ini");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "SelectAI() Error: AI Index to select must be in the range of -1 to 7, "
                     "found: '9'.\n");
    EXPECT_NE(r.out.find("loaded rules: Classic\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("rules locked: yes\n"), std::string::npos) << r.out;

    const struct {
        std::string arguments;
        int exitCode;
    } bad[] = {{"", 2},
               {"run " + folder, 2},
               {"list", 2},
               {"check " + folder, 2},
               {"list " + folder + " --yaml", 2},
               {"check " + folder + " Missing.ini", 1},
               {"list '" + (w.tmp / "nowhere") + "'", 1},
               {"--help", 0}};
    for (const auto& b : bad)
        EXPECT_EQ(runTool(w, b.arguments).exitCode, b.exitCode) << b.arguments;
    EXPECT_EQ(runTool(w, "--help").out.rfind("usage: kvstool config list", 0), 0u);
    // A dry run renames no MOD and writes no settings.
    EXPECT_TRUE(platform::fileExists(w.game("Tanks.kdg")));
    EXPECT_FALSE(platform::fileExists(w.app("Settings/Duel.ini")));
}

} // namespace
} // namespace kv::test
