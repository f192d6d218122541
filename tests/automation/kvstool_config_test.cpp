// kvstool config, run the way scripts use it, on the demo world.
#include "platform/files.h"
#include "tests/automation/automation_world.h"
#include "tests/support/tool_run.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

test::ToolRun runTool(const std::string& arguments) {
    return test::runShell("'" KVSTOOL_PATH "' config " + arguments);
}

TEST(KvstoolConfig, ListsAndChecksWithoutChangingAFile) {
    AutomationWorld w;
    const std::string folder = "'" + w.world.launcherFolder + "'";
    w.writeConfig("Broken.ini", {R"(SelectAI("9", "X"))", "LockRulesSelection()"});

    test::ToolRun r = runTool("list " + folder);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (const char* line : {"Duel\tHunter (player 0) against Raider (player 1). Both lists are "
                             "locked.\n",
                             "Broken\t\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << r.out;

    r = runTool("check " + folder + " Duel.ini --json");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (const char* part : {"\"ais\": [\n        \"Hunter\",\n        \"Raider\"\n    ]",
                             "\"aiFrozen\": true", "\"rulesLocked\": false"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;

    r = runTool("check " + folder + " Broken.ini");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "SelectAI() Error: AI Index to select must be in the range of -1 to 7, "
                     "found: '9'.\n");
    EXPECT_NE(r.out.find("rules locked: yes\n"), std::string::npos) << r.out;

    const std::pair<std::string, int> bad[] = {
        {"", 2}, {"check " + folder, 2}, {"check " + folder + " Missing.ini", 1}, {"--help", 0}};
    for (const auto& [arguments, exitCode] : bad)
        EXPECT_EQ(runTool(arguments).exitCode, exitCode) << arguments;
    // A dry run renames no MOD and writes no settings.
    EXPECT_TRUE(platform::fileExists(w.game("Tanks.kdg")));
    EXPECT_FALSE(platform::fileExists(w.app("Settings/Duel.ini")));
}

} // namespace
} // namespace kv::test
