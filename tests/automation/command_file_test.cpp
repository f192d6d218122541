// Command files and KDG description files run against a launcher on the demo world: the
// exact messages of bad lines and the state good lines leave.
#include "automation/command_file.h"
#include "automation/kdg_description.h"
#include "launcher/automation_wiring.h"
#include "launcher/content_wiring.h"
#include "platform/files.h"
#include "tests/automation/automation_world.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

using Texts = std::vector<std::string>;

const std::string kNotAName =
    " is not used: a name may not hold '/', '\\', '..', ':' or control characters.";

TEST(CommandFile, BadCallsShowTheirMessageAndChangeNothing) {
    AutomationWorld w;
    ASSERT_TRUE(w.start());
    const std::string aiFolder = w.l().paths.aiFolder;
    const std::string aFile = aiFolder + "Hunter.kvai";
    const struct {
        std::string line;
        Texts messages;
    } cases[] = {
        {R"(SelectAI("8", "X"))",
         {"SelectAI() Error: AI Index to select must be in the range of -1 to 7, found: '8'."}},
        {R"(SelectAI("99999999999999999999", "Far"))",
         {"SelectAI() Error: AI Index to select must be in the range of -1 to 7, found: "
          "'99999999999999999999'."}},
        {R"(SelectAI("", "X"))",
         {"SelectAI() Error: AI Index to select must be a numeric value, found: ''."}},
        {R"(LockAISelection("9"))",
         {"LockAI() Error: Can't lock AI with index: 9\r\nExpected index range: -1 to 7"}},
        {R"(LockAISelection("x"))",
         {"LockAISelection() Error: AI Index to lock must be a numeric value, found: 'x'."}},
        {R"(SelectAI("1"))",
         {"Wrong number of arguments in function:\r\nSelectAI(\"1\")\r\n\r\n"
          "Found arguments: 1\r\nExpected: 2"}},
        // Names are compared exactly; unknown ones are left alone without a word.
        {R"(SelectAi("2", "X"))", {}},
        {R"(LoadAI_FromPath("Nope", "%KVSAIPath%"))",
         {"'Nope' !was not found in directory:\r\n\r\n" + aiFolder}},
        {R"(LoadAI_FromPath("Hunter", ")" + aFile + R"("))",
         {"'Hunter' !was not found in directory:\r\n\r\n" + aFile + "/"}},
        {R"(SelectAI("1", "X") // a comment)", {}},
        // Names are names: never a path, never a control character.
        {R"(LoadAI_FromPath("../../KVS/OriginalKDGs", "%KVSAIPath%"))",
         {"'../../KVS/OriginalKDGs' in '" + aiFolder + "'" + kNotAName}},
        {R"(LoadRules_FromPath(".", "%KVSPath%"))",
         {"'.' in '" + w.l().paths.launcherFolder + "./'" + kNotAName}},
        {R"(SelectAI("2", "..\Settings\KVS"))", {"'..\\Settings\\KVS' in SelectAI()" + kNotAName}},
        {std::string("SelectRules(\"C:x\0y\")", 20), {"'C:x?y' in SelectRules()" + kNotAName}},
    };
    const auto before = w.l().content.ais.records.size();
    for (const auto& c : cases) {
        w.ui.clear();
        w.run({c.line});
        EXPECT_EQ(w.ui.messageTexts(), c.messages) << c.line;
        EXPECT_EQ(w.l().content.ais.records.size(), before) << c.line;
        EXPECT_FALSE(w.l().automation.aiFrozen) << c.line;
    }
    // Only the commented call was well formed.
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(w.l().automation.requestedAi[size_t(p)], p == 1 ? "X" : "") << p;
    EXPECT_FALSE(w.l().automation.aiLocked[8 - 1]);
}

// Any bytes are survived and the lines after them still run; then the good commands leave
// their requests, locks and freezes.
TEST(CommandFile, AfterAnyBytesTheCommandsSetRequestsLocksAndFreezes) {
    AutomationWorld w;
    ASSERT_TRUE(w.start());
    std::string text = std::string("\0\xff\x01(\")\r\n", 8);
    text += std::string(2 << 20, '(') + "\r\n";
    text += "SelectAI(\"1, \"X\")\r\nLockAISelection(\"1\"\r\n" + std::string(3000, ')') + "\n";
    text += "SelectAI(\"1\",,,\"X\")\rLoadAI_FromPath(\"\", \"\")\r\nFreezeAIUpdating()";
    automation::runCommandText(automationEnv(w.l()), text);
    const auto& a = w.l().automation;
    EXPECT_TRUE(a.aiFrozen);
    EXPECT_FALSE(a.aiLocked[1]);

    w.ui.clear();
    w.run({R"(SelectAI("-1", ""))", R"(SelectAI("3", "Hunter"))", R"(SelectAI("2.5", "Raider"))",
           R"(SelectRules(""))", R"(LockAISelection("-1"))", "LockRulesSelection()",
           "FreezeAIUpdating()", "FreezeRulesUpdating()"});
    EXPECT_EQ(w.ui.messageTexts(), Texts{});
    EXPECT_EQ(a.requestedAi,
              (std::array<std::string, 8>{"<>", "<>", "Raider", "Hunter", "<>", "<>", "<>", "<>"}));
    EXPECT_EQ(a.requestedRules, "<>");
    EXPECT_EQ(a.aiLocked, (std::array<bool, 8>{true, true, true, true, true, true, true, true}));
    EXPECT_TRUE(a.rulesLocked && a.aiFrozen && a.rulesFrozen);

    w.run({"ReleaseAIs()", R"(LockAISelection("4"))", "ReleaseRules()", R"(SelectRules("X"))"});
    EXPECT_EQ(a.aiLocked, (std::array<bool, 8>{false, false, false, false, true, false, false}));
    EXPECT_FALSE(a.rulesLocked || a.aiFrozen || a.rulesFrozen);
    EXPECT_EQ(a.requestedRules, "X");

    // DisableAllMods switches every active archive off, never the game's own.
    w.run({"DisableAllMods()"});
    for (const char* name : {"Tanks", "Islands"})
        EXPECT_TRUE(platform::fileExists(w.game(std::string(name) + ".kvw")) &&
                    !platform::fileExists(w.game(std::string(name) + ".kdg")))
            << name;
    EXPECT_TRUE(platform::fileExists(w.game("korvane.kdg")));
    for (const auto& e : w.l().content.mods.entries)
        EXPECT_FALSE(e.checked) << e.name;
}

TEST(KdgDescription, RecordsKeysDefaultsAndRequirements) {
    AutomationWorld w;
    ASSERT_TRUE(w.start());
    w.ui.clear();
    const automation::KdgRecord empty =
        automation::readKdgDescription(automationEnv(w.l()), "Tanks", "");
    EXPECT_EQ(empty.description + empty.authorName + empty.authorEmail + empty.authorHomepage,
              "<No description available>UnknownUnknownUnknown");

    const automation::KdgRecord r = automation::readKdgDescription(
        automationEnv(w.l()), "Tanks",
        "AuthorName = \"Rolf\"\r\nDescription = \"Heavy\\n\"\r\nVersion = \"2\"\r\n"
        "Description = \"tanks // not a comment\"\r\nEnableAlliances(on)\r\n"
        "SetBasesState(\"3\")\r\nSetBasesState(\"4\")\r\nSetBasesState(\"1\", \"2\")\r\n"
        "SetBasesState(\"two\")\r\nBogus(x)\r\n");
    EXPECT_EQ(r.keys, (std::vector<std::pair<std::string, std::string>>{
                          {"AuthorName", "Rolf"},
                          {"Description", "Heavy\r\n"},
                          {"Version", "2"},
                          {"Description", "tanks // not a comment"}}));
    EXPECT_EQ(r.description, "Heavy\r\ntanks // not a comment");
    EXPECT_EQ(r.authorName + "|" + r.authorEmail, "Rolf|Unknown");
    EXPECT_TRUE(r.alliancesRequired && r.baseStateRequired == 3);
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"INI Error: Value for SetBasesState() must be in the range of 1-3, found: 4.",
                     "Wrong number of arguments in function:\r\nSetBasesState(\"1\", "
                     "\"2\")\r\n\r\nFound arguments: 2\r\nExpected: 1"}));
}

TEST(KdgDescription, LoadAiRegistersWithoutReadingItsDescription) {
    AutomationWorld w;
    ASSERT_TRUE(w.start());
    w.run({"DeactiveAllAIs()"});
    w.ui.clear();
    automation::readKdgDescription(automationEnv(w.l()), "Roads",
                                   "LoadAI_FromPath(\"hunter\", \"%KVSAIPath%\")\r\n"
                                   "LoadAI_FromPath(\"Hunter\", \"abc\")\r\n"
                                   "LoadAI_FromPath(\"Ghost\", \"%KVSAIPath%\")\r\n"
                                   "LoadAI_FromPath(\"../Hunter\", \"%KVSAIPath%\")\r\n"
                                   "FreezeAIUpdating()\r\n");
    const auto& records = w.l().content.ais.records;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name, "hunter");
    EXPECT_FALSE(records[0].info.loaded); // Hunter.ini exists but is not read
    EXPECT_TRUE(w.l().automation.aiFrozen);
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"'Hunter' was not found in directory:\r\n\r\nabc",
                     "'Ghost' was not found in directory:\r\n\r\n" + w.l().paths.aiFolder,
                     "'../Hunter' in '" + w.l().paths.aiFolder + "'" + kNotAName}));
}

} // namespace
} // namespace kv::test
