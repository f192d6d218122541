#include "content/line_syntax.h"
#include "content/script_apply.h"
#include "content/script_parser.h"
#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace kv::content {
namespace {

struct Parsed {
    ScriptCustomizing data;
    test::ScriptedUi ui;
};

void parse(std::string_view text, Parsed& p, NamedTexts& named) {
    p.data.name = "Test AI";
    parseAnnotatedText(text, p.data, named, FolderVars{}, p.ui);
}

// Parses `script`, selects value `pick` of every field and applies them to the same text.
std::string applied(std::string_view script, int pick,
                    std::vector<std::string>* messages = nullptr) {
    Parsed p;
    NamedTexts named;
    parse(script, p, named);
    for (ScriptField& f : p.data.fields)
        f.selected = pick;
    const AppliedScript r = applyFields(p.data.fields, script, p.ui);
    if (messages)
        *messages = p.ui.messageTexts();
    return r.text;
}

TEST(ScriptEngine, WorkedExamplesAreByteExact) {
    const std::string asn = "power = 100; /*%!ID=\"pow\",type=\"asn\",MainDesc=\"Starting "
                            "power\",val=\"100\",ArgDesc=\"Normal\",val=\"500\",ArgDesc=\"High\"*/";
    Parsed p;
    NamedTexts named;
    parse(asn, p, named);
    ASSERT_EQ(p.data.fields.size(), 1u);
    const ScriptField& f = p.data.fields[0];
    ASSERT_EQ(f.values.size(), 2u);
    EXPECT_EQ(f.id + "|" + f.type + "|" + f.mainDescription + "|" + f.values[1].text + "|" +
                  f.values[1].description,
              "pow|asn|Starting power|500|High");
    // 1-based, from just after the start mark to just after the end mark.
    EXPECT_EQ(std::pair(f.annotationStart, f.annotationEnd), std::pair(18l, long(asn.size()) + 1));
    EXPECT_EQ(applied(asn, 1), "power = 500;" + asn.substr(12));

    const std::string prm =
        "setPower(0, 100); /*%!ID=\"p2\",type=\"prm\",prm_id=\"1\",tmpl=\"bool\"*/";
    EXPECT_EQ(applied(prm, 1), "setPower(0, TRUE );" + prm.substr(17));
}

TEST(ScriptEngine, SingleFieldCases) {
    // `from` is replaced by `to` at its first occurrence; an empty `from`: no change.
    struct Case {
        Case(const char* n, std::string s, std::string f = {}, std::string t = {},
             std::string m = {}, int p = 0)
            : name(n), script(s), from(f), to(t), message(m), pick(p) {}
        const char* name;
        std::string script, from, to, message;
        int pick;
    };
    const std::string invalid = "Invalid format in script value processing, argument: ";
    const std::vector<Case> cases = {
        {"blank after comma hides the type", "x = 1; /*%!ID=\"a\", type=\"asn\",val=\"9\"*/"},
        {"comma inside a value drops the field",
         "x = 1; /*%!ID=\"a\",type=\"asn\",MainDesc=\"Power, initial\",val=\"9\"*/", "", "",
         invalid + "' initial\"'.\r\n\r\nWhole field: "
                   "'ID=\"a\",type=\"asn\",MainDesc=\"Power, initial\",val=\"9\"'."},
        {"no semicolon after the equals sign", "x = 1 /*%!ID=\"a\",type=\"asn\",val=\"9\"*/", "",
         "", "Couldn't find ';' for assignment, field #0 at position 11"},
        {"no equals sign before the mark", "x 1; /*%!ID=\"a\",type=\"asn\",val=\"9\"*/", "", "",
         "Couldn't find '=' for assignment, field #0 at position 10"},
        {"parameter without prm_id is the first argument",
         "f(1, 2); /*%!ID=\"a\",type=\"prm\",val=\"9\"*/", "f(1, 2)", "f(9 , 2)"},
        {"negative prm_id replaces the whole argument list",
         "f(1, 2); /*%!ID=\"a\",type=\"prm\",prm_id=\"-1\",val=\"9\"*/", "f(1, 2)", "f(9 )"},
        {"prm_id past the last argument changes nothing",
         "f(1, 2); /*%!ID=\"a\",type=\"prm\",prm_id=\"5\",val=\"9\"*/"},
        {"last argument ends at the parenthesis",
         "f(1, 2); /*%!ID=\"a\",type=\"prm\",prm_id=\"1\",val=\"9\"*/", "f(1, 2)", "f(1, 9 )"},
        {"non-numeric prm_id", "f(1); /*%!ID=\"a\",type=\"prm\",prm_id=\"x\",val=\"9\"*/", "f(1)",
         "f(9 )", "Expected a numeric value for parameter ID, found: 'x'."},
        {"unknown type changes nothing", "x = 1; /*%!ID=\"a\",type=\"set\",val=\"9\"*/"},
        {"ArgDesc before any val is ignored; case-blind keys",
         "x = 1; /*%!argdesc=\"lost\",ID=\"a\",TYPE=\"ASN\",VAL=\"9\"*/", "x = 1", "x = 9"},
        {"bool template and a value of its own",
         "x = 1; /*%!ID=\"a\",type=\"asn\",tmpl=\"BOOL\",val=\"2\"*/", "x = 1", "x = 2", "", 2},
        {"comments and line breaks inside a mark",
         "x = 1; /*%!ID=\"a\",// the ID\r\n\ttype=\"asn\",\r\n\tval=\"9\"*/", "x = 1", "x = 9"},
        {"the ID quoted earlier has no mark before it",
         "s = \"a\"; x = 1; /*%!ID=\"a\",type=\"asn\",val=\"9\"*/", "", "",
         "Failed to find field start: '/*%!'."},
        {"an ID quoted earlier points at the earlier mark",
         "x = 1; /*%!ID=\"a\",type=\"asn\",MainDesc=\"b\",val=\"9\"*/ y = 2; "
         "/*%!ID=\"b\",type=\"asn\",val=\"7\"*/",
         "x = 1", "x = 7"},
        {"anchors at the very start", "=1;/*%!ID=\"a\",type=\"asn\",val=\"9\"*/", "=1", "= 9"},
        {"anchors at the very start of a call", "(1)/*%!ID=\"a\",type=\"prm\",val=\"9\"*/", "(1)",
         "(9 )"},
        {"Windows-1252 bytes stay bytes",
         "x = 1; /*%!ID=\"\xe9t\xe9\",type=\"asn\",val=\"\xfc\xdf\",ArgDesc=\"Gr\xf6\xdf\"*/",
         "x = 1", "x = \xfc\xdf"},
        {"unclosed mark", "x = 1; /*%!ID=\"a\",type=\"asn\",val=\"9\""},
        {"end mark before the start", "*/ x = 1; /*%!ID=\"a\",type=\"asn\",val=\"9\"*/", "x = 1",
         "x = 9"},
        {"nested start mark spoils the field",
         "x = 1; /*%!ID=\"a\" /*%!ID=\"b\",type=\"asn\",val=\"9\"*/", "", "",
         invalid + "'ID=\"a\" /*%!ID=\"b\"'.\r\n\r\n"
                   "Whole field: 'ID=\"a\" /*%!ID=\"b\",type=\"asn\",val=\"9\"'."},
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

TEST(ScriptEngine, IdsMissingFromTheTextAndEmptyTextsAreReported) {
    Parsed p;
    NamedTexts named;
    parse("x = 1; /*%!ID=\"gone\",type=\"asn\",val=\"9\"*/", p, named);
    const AppliedScript r = applyFields(p.data.fields, "y = 2;", p.ui);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.text, "y = 2;");
    EXPECT_EQ(p.ui.messageTexts(),
              std::vector<std::string>{"Failed to find field with ID: 'gone'."});
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

TEST(ScriptEngine, MoreInfoReferencesResolveToTheLastNamedText) {
    NamedTexts named;
    Parsed first;
    parse("/*%?Help = \"old\"*/ /*%?Help = \"one\\ntwo\"*/", first, named);
    Parsed second;
    parse("x = 1; /*%!ID=\"a\",type=\"asn\",MoreInfo=\"<<Help>>\",val=\"1\"*/"
          "y = 1; /*%!ID=\"b\",type=\"asn\",MoreInfo=\"<help>\",val=\"1\"*/"
          "z = 1; /*%!ID=\"c\",type=\"asn\",MoreInfo=\"plain text\",val=\"1\"*/",
          second, named);
    ASSERT_EQ(second.data.fields.size(), 3u);
    // From an earlier script; names are case-sensitive.
    EXPECT_EQ(second.data.fields[0].moreInfo + "|" + second.data.fields[1].moreInfo + "|" +
                  second.data.fields[2].moreInfo,
              "one\r\ntwo|<help>|plain text");
    EXPECT_EQ(second.ui.messageTexts(),
              std::vector<std::string>{"Couldn't find text for script customizing 'MoreInfo' "
                                       "variable: '<help>', script: 'Test AI'."});
}

} // namespace
} // namespace kv::content
