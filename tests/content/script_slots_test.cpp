#include "content/install.h"
#include "content/line_syntax.h"
#include "content/player_selection.h"
#include "content/script_customizing.h"
#include "content/script_preferences.h"
#include "content/script_slots.h"
#include "launcher/script_wiring.h"
#include "platform/files.h"
#include "tests/content/content_world.h"

#include <gtest/gtest.h>

namespace kv::content {
namespace {

using test::Texts;

// An AI script with two fields: "pow" (assignment) and "arg" (second argument).
Texts markedScript(bool reordered = false) {
    const std::string values = reordered
                                   ? "val=\"500\",ArgDesc=\"High\",val=\"100\",ArgDesc=\"Normal\""
                                   : "val=\"100\",ArgDesc=\"Normal\",val=\"500\",ArgDesc=\"High\"";
    return {"// marked AI",
            "power = 100; /*%!ID=\"pow\",type=\"asn\",MainDesc=\"Power\"," + values + "*/",
            "setMode(1, 2); /*%!ID=\"arg\",type=\"prm\",prm_id=\"1\",tmpl=\"yesno\"*/"};
}

// The preference file of the marked AI with the second value of both fields picked.
const char* const kHighAndYes =
    "1.0\r\n\r\nFieldID=\"pow\"\r\nSelectedText=\"High\"\r\nSelectedIndex=\"1\"\r\n\r\n"
    "FieldID=\"arg\"\r\nSelectedText=\"Yes\"\r\nSelectedIndex=\"1\"\r\n\r\n\r\n";

struct SlotWorld : test::ContentWorld {
    SlotWorld() {
        wireScriptHooks(state);
        writeAi("Marked", markedScript());
        addAi("Plain");
        writeLauncher("Mods/Rules/Tuned/rules.slo",
                      "setPower(1); /*%!ID=\"rp\",type=\"prm\",val=\"7\",ArgDesc=\"Seven\"*/\r\n");
        writeLauncher("Mods/Rules/Tuned/rules.vlo", "script \"rules.slo\"\r\n");
        writeLauncher("Mods/Rules/Zeta/rules.slo",
                      "f(1); /*%!ID=\"z\",type=\"prm\",val=\"2\"*/\r\n");
        writeLauncher("Mods/Rules/Zeta/rules.vlo", "script \"rules.slo\"\r\n");
        scan();
    }
    void writeAi(const std::string& name, const Texts& script) {
        writeLauncher("Mods/SkirmishAI/" + name + ".kvai",
                      worldgen::aiFileText(name, script, {"", " ", "}"}));
    }
    void choose(int player, const std::string& ai) {
        const auto& items = state.choices.players[size_t(player)].items;
        const auto at = std::find(items.begin(), items.end(), ai);
        ASSERT_NE(at, items.end()) << ai;
        ASSERT_TRUE(choosePlayerAI(state, env(), player, int(at - items.begin())));
        syncScriptSlots(state, env());
    }
    ScriptSlot& slot(int player) { return state.scripts.players[size_t(player)]; }
    std::string prefs(const std::string& rel) const { return temp.read("kvs/Settings/Scripts/" + rel); }
};

TEST(ScriptSlots, PicksFollowTheChoiceThroughTheirPreferenceFiles) {
    SlotWorld w;
    EXPECT_TRUE(w.state.ais.find("Marked")->hasScriptCustomizing);
    EXPECT_FALSE(w.state.ais.find("Plain")->hasScriptCustomizing);
    EXPECT_TRUE(w.state.rules.find("Tuned")->hasScriptCustomizing);

    w.choose(7, "Marked");
    EXPECT_TRUE(w.slot(7).available && !w.slot(7).enabled);
    ASSERT_EQ(w.slot(7).data.fields.size(), 2u);
    EXPECT_EQ(scriptEntries(w.state),
              (std::vector<std::pair<std::string, int>>{{"Player7 - Marked", 7}}));

    // A pick in player 7's entry changes player 7 and ticks its box, not the rules.
    ASSERT_TRUE(storeScriptValue(w.state, 7, 0, 1, w.ui));
    ASSERT_TRUE(storeScriptValue(w.state, 7, 1, 1, w.ui));
    EXPECT_TRUE(w.slot(7).enabled);
    EXPECT_TRUE(w.state.scripts.rules.data.fields.empty());
    EXPECT_FALSE(storeScriptValue(w.state, -1, 0, 0, w.ui));
    EXPECT_EQ(w.ui.messageTexts(), Texts{"Error when storing changed value."});
    w.ui.clear();

    // Another AI: the old picks are saved first, the box is cleared and disabled.
    w.choose(7, "Plain");
    EXPECT_EQ(w.prefs("player7/Marked.ini"), kHighAndYes);
    EXPECT_FALSE(w.slot(7).available || w.slot(7).enabled);
    EXPECT_TRUE(w.slot(7).data.fields.empty());

    // Back again: the picks come back from the file.
    w.choose(7, "Marked");
    EXPECT_EQ(std::pair(w.slot(7).data.fields[0].selected, w.slot(7).data.fields[1].selected),
              std::pair(1, 1));
    // Another player's slot has its own file.
    w.choose(2, "Marked");
    EXPECT_EQ(w.slot(2).data.fields[0].selected, 0);
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(ScriptSlots, AReorderedScriptRestoresPicksByDescription) {
    SlotWorld w;
    w.writeLauncher("Settings/Scripts/player0/Marked.ini", kHighAndYes);
    w.writeAi("Marked", markedScript(true));
    w.scan();
    w.choose(0, "Marked");
    // "High" is first now.
    EXPECT_EQ(std::pair(w.slot(0).data.fields[0].selected, w.slot(0).data.fields[1].selected),
              std::pair(0, 1));
    EXPECT_EQ(w.ui.messageTexts(), Texts{"Field 'High' was found under a different index, did you "
                                         "modify the script? (Please restart KVS)\r\n\r\n'Marked', "
                                         "FieldID: pow."});
}

TEST(ScriptSlots, BrokenPreferenceFilesAssignWhatTheyCan) {
    SlotWorld w;
    ScriptCustomizing data = w.state.ais.find("Marked")->customizing;
    data.fields[0].selected = 1;
    const std::string text =
        "garbage \x01\x02\xff line\r\nFieldID=\"\"\r\nSelectedIndex=\"0\"\r\n"
        "fieldid = \"ARG\"\r\nSelectedText=\"yes\"\r\nSelectedIndex=\"x\"\r\n"
        "FieldID=\"arg\"\r\nSelectedText=\"Maybe\"\r\nSelectedIndex=\"1\"\r\n"
        "FieldID=\"pow\"\r\nSelectedIndex=\"0\"\r\n" // no SelectedText: the last one read counts
        "FieldID=\"gone\"\r\nSelectedText=\"Normal\"\r\nSelectedIndex=\"0\"\r\n"
        "SelectedIndex=\"1"; // unterminated: no key line
    applyPreferencesText(text, data, FolderVars{}, w.ui);
    EXPECT_EQ(std::pair(data.fields[0].selected, data.fields[1].selected), std::pair(1, 0));
    EXPECT_EQ(
        w.ui.messageTexts(),
        (Texts{
            "Error loading script customizing preferences.\r\n\r\nMarked - field ID is empty.",
            "Error loading script customizing preferences.\r\n\r\nMarked - selected value "
            "index - integer excpected.",
            "Couldn't assign field 'arg' for AI or Rules ('Marked').\r\nField text: 'Maybe'.",
            "Couldn't assign field 'pow' for AI or Rules ('Marked').\r\nField text: 'Maybe'.",
            "Couldn't assign field 'gone' for AI or Rules ('Marked').\r\nField text: 'Normal'."}));

    EXPECT_FALSE(loadPreferences("", data, FolderVars{}, w.ui));
    EXPECT_TRUE(loadPreferences(w.launcher("Settings/Scripts/none.ini"), data, FolderVars{}, w.ui));
    // A description with Windows-1252 bytes survives the round trip.
    data.fields[0].values[1].description = "H\xf6h";
    ASSERT_TRUE(savePreferences(w.launcher("Settings/Scripts/deep/er/x.ini"), data, w.ui));
    data.fields[0].selected = 0;
    w.ui.clear();
    ASSERT_TRUE(
        loadPreferences(w.launcher("Settings/Scripts/deep/er/x.ini"), data, FolderVars{}, w.ui));
    EXPECT_EQ(data.fields[0].selected, 1);
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(ScriptSlots, EnablingIsRefusedForChoicesWithoutFields) {
    SlotWorld w;
    w.choose(3, "Plain");
    enableAICustomizing(w.state, w.env(), 3, true);
    EXPECT_FALSE(w.slot(3).enabled);
    enableRulesCustomizing(w.state, w.env(), true);
    EXPECT_FALSE(w.state.scripts.rules.enabled);
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"Error while loading setting file.\r\nCan't enable script "
                     "customizing for player3 (Plain).",
                     "Error while loading setting file.\r\nCan't enable script "
                     "customizing for rules (<don't change>)."}));
    w.ui.clear();
    w.choose(3, "Marked");
    chooseRules(w.state, 1);
    syncScriptSlots(w.state, w.env());
    enableAICustomizing(w.state, w.env(), 3, true);
    enableRulesCustomizing(w.state, w.env(), true);
    EXPECT_TRUE(w.slot(3).enabled && w.state.scripts.rules.enabled);
    EXPECT_TRUE(w.ui.messages().empty());
    // Another rules set with fields takes the slot over, though the slot stays available.
    chooseRules(w.state, 2);
    syncScriptSlots(w.state, w.env());
    EXPECT_EQ(w.state.scripts.rules.data.name, "Zeta");
    EXPECT_EQ(w.state.scripts.rules.data.fields.at(0).id, "z");
}

TEST(ScriptSlots, TheInstallWritesThePicksOfEnabledSlotsOnly) {
    SlotWorld w;
    w.choose(1, "Marked");
    w.choose(4, "Marked");
    chooseRules(w.state, 1);
    syncScriptSlots(w.state, w.env());
    storeScriptValue(w.state, 1, 0, 1, w.ui);
    storeScriptValue(w.state, kRulesSlot, 0, 0, w.ui);
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_TRUE(w.ui.messages().empty());
    const std::string slo1 = w.script("player1.slo");
    EXPECT_NE(slo1.find("\r\npower = 500; /*%!ID=\"pow\""), std::string::npos);
    EXPECT_NE(slo1.find("\r\nsetMode(1, FALSE ); /*%!ID=\"arg\""), std::string::npos);
    EXPECT_EQ(slo1.substr(slo1.size() - 4), "\r\n\r\n"); // the install's line end, then ours
    EXPECT_NE(w.script("player4.slo").find("power = 100;"), std::string::npos);
    EXPECT_EQ(w.script("rules.slo"),
              "setPower(7 ); /*%!ID=\"rp\",type=\"prm\",val=\"7\",ArgDesc=\"Seven\"*/\r\n\r\n");

    // A script whose fields cannot be placed (the AI file changed since the scan) is left
    // as the install wrote it, with the reasons reported.
    w.writeAi("Marked", {"// the fields moved elsewhere", "/*%!ID=\"pow\",type=\"asn\"*/"});
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"Couldn't find '=' for assignment, field #0 at position 46",
                     "Failed to find field with ID: 'arg'."}));
    EXPECT_EQ(w.script("player1.slo"),
              "// the fields moved elsewhere\r\n/*%!ID=\"pow\",type=\"asn\"*/\r\n\r\n\r\n");
}

} // namespace
} // namespace kv::content
