#include "content/line_syntax.h"

#include "tests/support/scripted_ui.h"

#include <gtest/gtest.h>

namespace kv::content {
namespace {

FolderVars vars() {
    return {"G\\", "A\\", "A\\AI\\", "A\\Ru\\", "A\\Req\\", "A\\KI\\", "A\\AI\\I\\", "A\\RI\\",
            "A\\GI\\", "A\\S\\", "A\\S\\Sc\\"};
}

enum class Kind { Other, Key, Call };

struct LineCase {
    const char* raw;
    const char* cleaned;
    Kind kind;
};

TEST(LineSyntax, CleansAndClassifiesLines) {
    const LineCase cases[] = {
        {"", "", Kind::Other},
        {"   // only a comment", "", Kind::Other},
        {"\t AuthorName = \"Anna\" \t", "AuthorName = \"Anna\"", Kind::Key},
        {"Url = \"http://x.org\" // home", "Url = \"http://x.org\" // home", Kind::Key},
        {"Key = \"a\" // note", "Key = \"a\"", Kind::Key},
        {"Note // Key = \"a\"", "Note", Kind::Other},
        {"Key = \"\"", "Key = \"\"", Kind::Key},
        {"Key = \"unterminated", "Key = \"unterminated", Kind::Other},
        {"Key = \"", "Key = \"", Kind::Other},
        {"\"quoted\" = first", "\"quoted\" = first", Kind::Other},
        {"EnableAlliances()", "EnableAlliances()", Kind::Call},
        {"SetBasesState(\"2\") // bases", "SetBasesState(\"2\")", Kind::Call},
        {"Load(\"http://x\")", "Load(\"http:", Kind::Other},
        {"(x)", "(x)", Kind::Other},
        {"f)(", "f)(", Kind::Other},
        {"a)b(c)", "a)b(c)", Kind::Other},
        {"Go(\"x\") y)", "Go(\"x\") y)", Kind::Call},
        {"ab", "ab", Kind::Other},
        {"Load(\"a\", \"b\"", "Load(\"a\", \"b\"", Kind::Other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        const std::string cleaned = cleanLine(c.raw);
        EXPECT_EQ(cleaned, c.cleaned);
        const Kind kind = isKeyLine(cleaned)        ? Kind::Key
                          : isFunctionCall(cleaned) ? Kind::Call
                                                    : Kind::Other;
        EXPECT_EQ(kind, c.kind);
    }
}

TEST(LineSyntax, KeyAndValueTakeTheFirstQuotedTextAndSkipEmptyParts) {
    KeyValue kv;
    ASSERT_TRUE(keyAndValue("  Author Name = \"Anna \"Keller\"", vars(), kv));
    EXPECT_EQ(kv.key + "|" + kv.value, "Author Name|Anna ");
    EXPECT_FALSE(keyAndValue("Description = \"\"", vars(), kv));
    EXPECT_FALSE(keyAndValue(" = \"value\"", vars(), kv));
    EXPECT_FALSE(keyAndValue("Plain text", vars(), kv));
}

TEST(LineSyntax, ExpandsLineBreaksAndFolderVariablesInAnyLetterCase) {
    FolderVars v = vars();
    EXPECT_EQ(expandValue("one\\ntwo\\Nthree", v), "one\r\ntwo\r\nthree");
    EXPECT_EQ(expandValue("%kvpath%Data|%KVSPath%|%KVSAIPath%|%kvsrulespath%|"
                          "%KVSRequiredKDGsPath%|%KVSKDGIniPath%|%KVSAIIniPath%|%KVSRulesIniPath%|"
                          "%KVSGlobalINIPath%|%KVSSettingsPath%|%KVSSettingsScripts%",
                          v),
              "G\\Data|A\\|A\\AI\\|A\\Ru\\|A\\Req\\|A\\KI\\|A\\AI\\I\\|A\\RI\\|A\\GI\\|A\\S\\|A\\S\\Sc\\");
    EXPECT_EQ(expandValue("100% %unknown% \\", v), "100% %unknown% \\");
    // A folder holding "\n" is not expanded again.
    v.game = "C:\\new\\";
    EXPECT_EQ(expandValue("%KVPath%x", v), "C:\\new\\x");
}

TEST(LineSyntax, FunctionNameAndArguments) {
    EXPECT_EQ(functionName("SetBasesState(\"2\")"), "SetBasesState");
    EXPECT_EQ(functionName("  Load  (\"a\")"), "Load");

    const FunctionCall call =
        parseArguments("Load(\"%KVSAIPath%x\" , \"\"\"quoted\"\"\", \"b\\n\")", vars());
    EXPECT_EQ(call.validCount, 3);
    EXPECT_EQ(call.arguments, (std::vector<std::string>{"A\\AI\\x", "quoted", "b\r\n"}));
    EXPECT_TRUE(call.errors.empty());
    const FunctionCall empty = parseArguments("EnableAlliances(   )", vars());
    EXPECT_EQ(empty.validCount, 0);
    EXPECT_TRUE(empty.arguments.empty() && empty.errors.empty());
    EXPECT_EQ(parseArguments("Load(\"a\"", vars()).validCount, -1);
}

TEST(LineSyntax, BadlyQuotedArgumentsAreReportedAndNotCounted) {
    const std::string line = "Load(\"a\", 2, \"\")";
    const FunctionCall call = parseArguments(line, vars());
    EXPECT_EQ(call.validCount, 2); // the lone pair of quotes is a valid, empty argument
    EXPECT_EQ(call.arguments, (std::vector<std::string>{"a", "2", ""}));

    test::ScriptedUi ui;
    EXPECT_EQ(reportArgumentErrors(call, ui), 2);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "Wrong argument format in function: \r\n" + line +
                                         "\r\n\r\nArgument: 2\r\nArgument Index: 1\r\n");

    // The index counts the valid arguments met before the bad one, not its position.
    const struct {
        const char* line;
        std::vector<std::string> indices;
    } cases[] = {
        {"f(2, x, \"a\", 3)", {"0", "0", "1"}},
        {"f(\"a\", \"b\", c, \"d\", e)", {"2", "3"}},
        {"f(, \"a\")", {"0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> indices;
        for (const auto& text : parseArguments(c.line, vars()).errors) {
            const size_t at = text.find("Argument Index: ");
            ASSERT_NE(at, std::string::npos);
            indices.push_back(text.substr(at + 16, text.size() - at - 18));
        }
        EXPECT_EQ(indices, c.indices);
    }

    // A single quote character is too short to be a quoted argument.
    EXPECT_EQ(parseArguments("f(\")", vars()).validCount, 0);
}

} // namespace
} // namespace kv::content
