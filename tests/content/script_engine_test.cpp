#include "content/line_syntax.h"

#include "content/install.h"
#include "content/player_selection.h"
#include "content/script_apply.h"
#include "content/script_customizing.h"
#include "content/script_parser.h"
#include "content/script_preferences.h"
#include "content/script_slots.h"
#include "launcher/script_wiring.h"
#include "platform/files.h"
#include "tests/content/content_world.h"
#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace kv::content {
namespace {

using test::Texts;

struct Parsed {
    ScriptCustomizing data;
    test::ScriptedUi ui;
};

void parse(std::string_view text, Parsed& p) {
    NamedTexts named;
    p.data.name = "Test AI";
    parseAnnotatedText(text, p.data, named, FolderVars{}, p.ui);
}

// Parses `script`, selects value `pick` of every field and applies them to the same text.
std::string applied(std::string_view script, int pick,
                    std::vector<std::string>* messages = nullptr) {
    Parsed p;
    parse(script, p);
    for (ScriptField& f : p.data.fields)
        f.selected = pick;
    const AppliedScript r = applyFields(p.data.fields, script, p.ui);
    if (messages)
        *messages = p.ui.messageTexts();
    return r.text;
}

TEST(ScriptEngine, SingleFieldCases) {
    // `from` is replaced by `to` at its first occurrence; an empty `from`: no change.
    struct Case {
        const char* name;
        std::string script, from = {}, to = {}, message = {};
        int pick = 0;
    };
    const std::string invalid = "Invalid format in script value processing, argument: ";
    const std::string asn = "/*%!ID=\"a\",type=\"asn\",val=\"9\"*/";
    const auto prm = [](std::string id) {
        return "/*%!ID=\"a\",type=\"prm\"," + (id.empty() ? id : "prm_id=\"" + id + "\",") +
               "val=\"9\"*/";
    };
    const std::vector<Case> cases = {
        {"blank after comma hides the type", "x = 1; /*%!ID=\"a\", type=\"asn\",val=\"9\"*/"},
        {"comma inside a value drops the field",
         "x = 1; /*%!ID=\"a\",type=\"asn\",MainDesc=\"Power, initial\",val=\"9\"*/", "", "",
         invalid + "' initial\"'.\r\n\r\nWhole field: "
                   "'ID=\"a\",type=\"asn\",MainDesc=\"Power, initial\",val=\"9\"'."},
        {"no ';' after the '='", "x = 1 " + asn, "", "",
         "Couldn't find ';' for assignment, field #0 at position 11"},
        {"no '=' before the mark", "x 1; " + asn, "", "",
         "Couldn't find '=' for assignment, field #0 at position 10"},
        {"no prm_id: the first argument", "f(1, 2); " + prm(""), "f(1, 2)", "f(9 , 2)"},
        {"negative prm_id: all arguments", "f(1, 2); " + prm("-1"), "f(1, 2)", "f(9 )"},
        {"prm_id past the last argument changes nothing", "f(1, 2); " + prm("5")},
        {"last argument ends at the parenthesis", "f(1, 2); " + prm("1"), "f(1, 2)", "f(1, 9 )"},
        {"non-numeric prm_id", "f(1); " + prm("x"), "f(1)", "f(9 )",
         "Expected a numeric value for parameter ID, found: 'x'."},
        {"unknown type changes nothing", "x = 1; /*%!ID=\"a\",type=\"set\",val=\"9\"*/"},
        {"ArgDesc before any val is ignored; case-blind keys",
         "x = 1; /*%!argdesc=\"lost\",ID=\"a\",TYPE=\"ASN\",VAL=\"9\"*/", "x = 1", "x = 9"},
        {"bool template and a value of its own",
         "x = 1; /*%!ID=\"a\",type=\"asn\",tmpl=\"BOOL\",val=\"2\"*/", "x = 1", "x = 2", "", 2},
        {"comments and line breaks inside a mark",
         "x = 1; /*%!ID=\"a\",// the ID\r\n\ttype=\"asn\",\r\n\tval=\"9\"*/", "x = 1", "x = 9"},
        {"the ID quoted earlier has no mark before it", "s = \"a\"; x = 1; " + asn, "", "",
         "Failed to find field start: '/*%!'."},
        {"an ID quoted earlier points at the earlier mark",
         "x = 1; /*%!ID=\"a\",type=\"asn\",MainDesc=\"b\",val=\"9\"*/ y = 2; "
         "/*%!ID=\"b\",type=\"asn\",val=\"7\"*/",
         "x = 1", "x = 7"},
        {"anchors at the very start", "=1;" + asn, "=1", "= 9"},
        {"anchors at the very start of a call", "(1)" + prm(""), "(1)", "(9 )"},
        {"Windows-1252 bytes stay bytes",
         "x = 1; /*%!ID=\"\xe9t\xe9\",type=\"asn\",val=\"\xfc\xdf\",ArgDesc=\"Gr\xf6\xdf\"*/",
         "x = 1", "x = \xfc\xdf"},
        {"unclosed mark", "x = 1; /*%!ID=\"a\",type=\"asn\",val=\"9\""},
        {"end mark before the start", "*/ x = 1; " + asn, "x = 1", "x = 9"},
        {"nested start mark spoils the field", "x = 1; /*%!ID=\"a\" " + asn, "", "",
         invalid + "'ID=\"a\" /*%!ID=\"a\"'.\r\n\r\nWhole field: 'ID=\"a\" " +
             asn.substr(0, asn.size() - 2) + "'."},
        {"a field without values", "x = 1; /*%!ID=\"a\",type=\"asn\"*/"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> messages;
        const std::string out = applied(c.script, c.pick, &messages);
        std::string expected = c.script;
        if (!c.from.empty())
            expected.replace(expected.find(c.from), c.from.size(), c.to);
        EXPECT_EQ(out, expected) << c.name;
        EXPECT_EQ(messages, c.message.empty() ? std::vector<std::string>{}
                                              : std::vector<std::string>{c.message})
            << c.name;
    }
}

TEST(ScriptEngine, SeveralFieldsKeepTheirOffsetsWhetherLongerOrShorter) {
    const std::string script =
        "a = 1; /*%!ID=\"a\",type=\"asn\",val=\"123456789\"*/\r\n"
        "b = 1000000; /*%!ID=\"b\",type=\"asn\",val=\"2\"*/\r\n"
        "call(x, 1, z); /*%!ID=\"c\",type=\"prm\",prm_id=\"1\",val=\"LONGVALUE\"*/\r\n"
        "d = 55555; /*%!ID=\"d\",type=\"asn\",val=\"4\"*/\r\n";
    std::vector<std::string> messages;
    EXPECT_EQ(
        applied(script, 0, &messages),
        "a = 123456789; /*%!ID=\"a\",type=\"asn\",val=\"123456789\"*/\r\n"
        "b = 2; /*%!ID=\"b\",type=\"asn\",val=\"2\"*/\r\n"
        "call(x, LONGVALUE , z); /*%!ID=\"c\",type=\"prm\",prm_id=\"1\",val=\"LONGVALUE\"*/\r\n"
        "d = 4; /*%!ID=\"d\",type=\"asn\",val=\"4\"*/\r\n");
    EXPECT_TRUE(messages.empty());
}

TEST(ScriptEngine, EmptyTextsFailAndMisplacedAnchorsAreReported) {
    Parsed p;
    parse("x = 1; /*%!ID=\"gone\",type=\"asn\",val=\"9\"*/", p);
    EXPECT_FALSE(applyFields(p.data.fields, "   ", p.ui).ok);

    // The install parses the AI file and applies to the installed script: the anchors
    // may be anywhere, or nowhere.
    p.ui.clear();
    p.data.fields[0].id = "a";
    p.data.fields[0].type = "prm";
    p.data.fields[0].parameterIndex = 0;
    EXPECT_EQ(applyFields(p.data.fields, "f(1 /*%! \"a\"", p.ui).text, "f(1 /*%! \"a\"");
    p.data.fields[0].type = "asn";
    EXPECT_EQ(applyFields(p.data.fields, "\"a\"/*%!", p.ui).text, "\"a\"/*%!");
    EXPECT_EQ(applyFields(p.data.fields, "/*%!\"a\"", p.ui).text, "/*%!\"a\"");
    EXPECT_EQ(p.ui.messageTexts(),
              (std::vector<std::string>{
                  "Error looking for the end of the field to replace #0 at position 12",
                  "Failed to find field start: '/*%!'.",
                  "Couldn't find '=' for assignment, field #0 at position 12"}));
}

FolderVars vars() {
    return {"G\\",        "A\\",     "A\\AI\\", "A\\Ru\\", "A\\Req\\",  "A\\KI\\",
            "A\\AI\\I\\", "A\\RI\\", "A\\GI\\", "A\\S\\",  "A\\S\\Sc\\"};
}

TEST(LineSyntax, CleansAndClassifiesLines) {
    // The kind: 'k' a key line, 'c' a function call, '-' neither.
    const std::tuple<const char*, const char*, char> cases[] = {
        {"", "", '-'},
        {"   // only a comment", "", '-'},
        {"\t AuthorName = \"Anna\" \t", "AuthorName = \"Anna\"", 'k'},
        {"Url = \"http://x.org\" // home", "Url = \"http://x.org\" // home", 'k'},
        {"Key = \"a\" // note", "Key = \"a\"", 'k'},
        {"Note // Key = \"a\"", "Note", '-'},
        {"Key = \"\"", "Key = \"\"", 'k'},
        {"Key = \"unterminated", "Key = \"unterminated", '-'},
        {"Key = \"", "Key = \"", '-'},
        {"\"quoted\" = first", "\"quoted\" = first", '-'},
        {"EnableAlliances()", "EnableAlliances()", 'c'},
        {"SetBasesState(\"2\") // bases", "SetBasesState(\"2\")", 'c'},
        {"Load(\"http://x\")", "Load(\"http:", '-'},
        {"(x)", "(x)", '-'},
        {"f)(", "f)(", '-'},
        {"a)b(c)", "a)b(c)", '-'},
        {"Go(\"x\") y)", "Go(\"x\") y)", 'c'},
        {"ab", "ab", '-'},
        {"Load(\"a\", \"b\"", "Load(\"a\", \"b\"", '-'},
    };
    for (const auto& [raw, cleaned, kind] : cases) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(cleanLine(raw), cleaned);
        EXPECT_EQ(isKeyLine(cleaned) ? 'k' : isFunctionCall(cleaned) ? 'c' : '-', kind);
    }
}

// Values: the first quoted text, line breaks and folder variables in any letter case.
TEST(LineSyntax, KeyAndValueTakeTheFirstQuotedTextAndExpandIt) {
    KeyValue kv;
    ASSERT_TRUE(keyAndValue("  Author Name = \"Anna \"Keller\"", vars(), kv));
    EXPECT_EQ(kv.key + "|" + kv.value, "Author Name|Anna ");
    EXPECT_FALSE(keyAndValue("Description = \"\"", vars(), kv));
    EXPECT_FALSE(keyAndValue(" = \"value\"", vars(), kv));
    EXPECT_FALSE(keyAndValue("Plain text", vars(), kv));

    FolderVars v = vars();
    EXPECT_EQ(expandValue("one\\ntwo\\Nthree", v), "one\r\ntwo\r\nthree");
    EXPECT_EQ(expandValue("%kvpath%Data|%KVSPath%|%KVSAIPath%|%kvsrulespath%|"
                          "%KVSRequiredKDGsPath%|%KVSKDGIniPath%|%KVSAIIniPath%|%KVSRulesIniPath%|"
                          "%KVSGlobalINIPath%|%KVSSettingsPath%|%KVSSettingsScripts%",
                          v),
              "G\\Data|A\\|A\\AI\\|A\\Ru\\|A\\Req\\|A\\KI\\|A\\AI\\I\\|A\\RI\\|A\\GI\\|A\\S\\|"
              "A\\S\\Sc\\");
    EXPECT_EQ(expandValue("100% %unknown% \\", v), "100% %unknown% \\");
    // A folder holding "\n" is not expanded again.
    v.game = "C:\\new\\";
    EXPECT_EQ(expandValue("%KVPath%x", v), "C:\\new\\x");
}

TEST(LineSyntax, FunctionCallsAndBadlyQuotedArgumentsAreReportedAndNotCounted) {
    EXPECT_EQ(functionName("  Load  (\"a\")"), "Load");
    const FunctionCall good =
        parseArguments("Load(\"%KVSAIPath%x\" , \"\"\"quoted\"\"\", \"b\\n\")", vars());
    EXPECT_EQ(good.validCount, 3);
    EXPECT_EQ(good.arguments, (std::vector<std::string>{"A\\AI\\x", "quoted", "b\r\n"}));
    EXPECT_TRUE(good.errors.empty());
    EXPECT_EQ(parseArguments("EnableAlliances(   )", vars()).validCount, 0);
    EXPECT_EQ(parseArguments("Load(\"a\"", vars()).validCount, -1);

    const std::string line = "Load(\"a\", 2, \"\")";
    const FunctionCall call = parseArguments(line, vars());
    EXPECT_EQ(call.validCount, 2); // the lone pair of quotes is a valid, empty argument
    EXPECT_EQ(call.arguments, (std::vector<std::string>{"a", "2", ""}));

    test::ScriptedUi ui;
    EXPECT_EQ(reportArgumentErrors(call, ui), 2);
    EXPECT_EQ(ui.messageTexts(), Texts{"Wrong argument format in function: \r\n" + line +
                                       "\r\n\r\nArgument: 2\r\nArgument Index: 1\r\n"});

    // A single quote character is too short to be a quoted argument.
    EXPECT_EQ(parseArguments("f(\")", vars()).validCount, 0);
}

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
};

TEST(ScriptSlots, PicksFollowTheChoiceThroughTheirPreferenceFiles) {
    SlotWorld w;
    w.choose(7, "Marked");
    EXPECT_TRUE(w.slot(7).available && !w.slot(7).enabled);
    ASSERT_EQ(w.slot(7).data.fields.size(), 2u);

    // A pick in player 7's entry changes player 7 and ticks its box, not the rules.
    ASSERT_TRUE(storeScriptValue(w.state, 7, 0, 1, w.ui));
    ASSERT_TRUE(storeScriptValue(w.state, 7, 1, 1, w.ui));
    EXPECT_TRUE(w.slot(7).enabled);
    EXPECT_TRUE(w.state.scripts.rules.data.fields.empty());

    // Another AI: the old picks are saved first, the box is cleared and disabled.
    w.choose(7, "Plain");
    EXPECT_EQ(w.temp.read("kvs/Settings/Scripts/player7/Marked.ini"), kHighAndYes);
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

    // A reordered script finds the picks by their description: "High" is first now.
    w.choose(7, "Plain");
    w.writeAi("Marked", markedScript(true));
    w.scan();
    w.choose(7, "Marked");
    EXPECT_EQ(std::pair(w.slot(7).data.fields[0].selected, w.slot(7).data.fields[1].selected),
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
    enableRulesCustomizing(w.state, w.env(), true);
    EXPECT_FALSE(w.slot(3).enabled || w.state.scripts.rules.enabled);
    EXPECT_EQ(w.ui.messages().size(), 2u);
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
    EXPECT_EQ(w.state.scripts.rules.data.name + "|" + w.state.scripts.rules.data.fields.at(0).id,
              "Zeta|z");
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
