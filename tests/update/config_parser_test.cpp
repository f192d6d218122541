// The grammar of "Config.ini": sections, sub-sections, the "}" rule, the header rule, the
// value rules and every message, fed as lines.
#include "tests/update/update_world.h"
#include "update/config_parser.h"

#include <gtest/gtest.h>

namespace kv::update {
namespace {

using Lines = std::vector<std::string>;

ParseResult parse(const Lines& lines) {
    content::FolderVars v;
    v.launcher = "/kvs/";
    v.ai = "/kvs/Mods/SkirmishAI/";
    return parseUpdateConfig(lines, v);
}

// Lines given joined by "|".
ParseResult parse(const std::string& joined) {
    Lines lines;
    for (size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 1)
        lines.push_back(joined.substr(at, (bar = joined.find('|', at)) - at));
    return parse(lines);
}

// A full file laid out as people write it: indented, with a comment line.
Lines sample() {
    Lines out = {"// Korvane Starter update configuration"};
    const std::string text = test::configText(
        "[MAIN]{AutoUpdateActive=1;HostServer=http://mirror.example/;[MESSAGES]{[Welcome]{"
        "Author=Team;Text=Hello\\nthere;URL=http://news.example/1}}}"
        "[KVS]{Version=2,145;Description=New ;Description=launcher;Size=123456;"
        "URL=http://h/KVStarter.exe;SHA256=abcd;"
        "[RENAMER]{Version=1.5;Size=2048;URL=http://h/wrong;SloURL=http://h/Renamer.exe}}"
        "[AI]{[SCRIPT]{Title=Hunter;Author=Ann;Version=1.2;Size=900;URL=http://h/Hunter.kvai;"
        "[INI]{Version=1;URL=http://h/Hunter.ini;Size=77}[KDG]{Version=3.5;Size=4096;"
        "URL=http://h/kdg/HunterGfx.kdg;[INI]{URL=http://h/HunterGfx.ini;Size=55}}}}"
        "[RULES]{[SCRIPT]{Title=Tough;SloSize=100;VloSize=200;SloURL=http://h/rules.slo;"
        "VloURL=http://h/rules.vlo;[INI]{URL=http://h/Tough.ini;Size=99}}}"
        "[MISC]{[Map pack]{URL=http://h/maps/pack.zip;LocalPath=%KVSPath%Maps;Size=5000;"
        "AutoDownload=True;AutoExecute=-1}}");
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        out.push_back("  " + text.substr(at, end - at));
    return out;
}

TEST(UpdateConfigParser, FillsEveryRecordOfAFullFile) {
    const ParseResult r = parse(sample());
    EXPECT_TRUE(r.messages.empty());
    const UpdateState& s = r.state;
    ASSERT_EQ(std::tuple(s.messages.size(), s.ais.size(), s.rules.size(), s.misc.size()),
              std::tuple(1u, 1u, 1u, 1u));
    const MessageRecord& m = s.messages[0];
    EXPECT_EQ(std::pair(s.active, s.hostServer), std::pair(true, std::string("http://mirror.example/")));
    EXPECT_EQ(m.name + "|" + m.author + "|" + m.text + "|" + m.url,
              "Welcome|Team|Hello\r\nthere|http://news.example/1");

    EXPECT_FLOAT_EQ(s.launcher.version, 2.145f);
    EXPECT_EQ(s.launcher.size, 123456.f);
    // The renamer's address is "SloURL"; its "URL" key means nothing.
    EXPECT_EQ(s.launcher.description + "|" + s.launcher.url + "|" + s.launcher.sha256 + "|" + s.renamer.url,
              "New launcher|http://h/KVStarter.exe|abcd|http://h/Renamer.exe");
    EXPECT_FLOAT_EQ(s.renamer.version, 1.5f);

    const AiRecord& ai = s.ais[0];
    EXPECT_EQ(std::tuple(ai.title + "|" + ai.author, ai.size, ai.hasIni, ai.ini.size, ai.hasKdg),
              std::tuple(std::string("Hunter|Ann"), 900.0, true, 77.0, true));
    ASSERT_EQ(ai.kdgs.size(), 1u);
    const KdgRecord& kdg = ai.kdgs[0];
    EXPECT_EQ(kdg.name + "|" + kdg.version + "|" + kdg.ini.url,
              "HunterGfx.kdg|3.5|http://h/HunterGfx.ini");
    EXPECT_EQ(std::pair(kdg.size, kdg.ini.size), std::pair(4096.0, 55.0)); // INI keeps its size

    const RulesRecord& rules = s.rules[0];
    // A rules INI ignores "Size".
    EXPECT_EQ(std::tuple(rules.sloSize, rules.vloUrl, rules.hasIni, rules.ini.size),
              std::tuple(100.0, std::string("http://h/rules.vlo"), true, 0.0));
    const MiscRecord& misc = s.misc[0];
    EXPECT_EQ(std::tuple(misc.name, misc.localPath, misc.autoDownload, misc.autoExecute, misc.selected),
              std::tuple(std::string("Map pack"), std::string("/kvs/Maps"), true, true, false));
}

TEST(UpdateConfigParser, StructureRules) {
    // Only "}": the defaults.
    ParseResult r = parse("}|[AI]:|[SCRIPT]:|Title = \"x\"");
    EXPECT_TRUE(r.state.active);
    EXPECT_TRUE(r.state.ais.empty());

    // Headers match in any case; a header with more on its line does not.
    r = parse("[ai]:|{|[Script]:|{|Title = \"a\"|}|}|[AI]: {|[MISC]:x");
    ASSERT_EQ(r.state.ais.size(), 1u);
    EXPECT_EQ(r.state.ais[0].title, "a");
    EXPECT_EQ(r.messages, (Lines{"Unknown section: AI", "Unknown section: MISC"}));
    EXPECT_TRUE(r.state.misc.empty());

    // "]" as the last character, or no ":" after it, is no header at all.
    EXPECT_EQ(parse("[FOO]|[FOO] x|[FOO]:").messages, (Lines{"Unknown section: FOO"}));

    // An unknown header inside MAIN: its own "}" closes MAIN, the key after it is read at
    // top level and ignored, and MAIN's own "}" then ends the whole file.
    r = parse("[MAIN]:|{|[Other]:|{|AutoUpdateActive = \"1\"|}|AutoUpdateActive = \"0\"|}|[AI]:|{|"
              "[SCRIPT]:|{|Title = \"t\"|}|}");
    EXPECT_EQ(r.messages, (Lines{"Unknown Main section: Other"}));
    EXPECT_TRUE(r.state.active);
    EXPECT_TRUE(r.state.ais.empty());

    const ParseResult every =
        parse("[X1]:|[MAIN]:|[X2]:|}|[KVS]:|[X3]:|}|[AI]:|[X4]:|[SCRIPT]:|[X5]:|[KDG]:|[X6]:|}|}|}|"
              "[RULES]:|[X7]:|[SCRIPT]:|[X8]:|[KDG]:|[X9]:|}|}|}");
    EXPECT_EQ(every.messages,
              (Lines{"Unknown section: X1", "Unknown Main section: X2", "Unknown Main section: X3",
                     "Unknown AI section: X4", "Unknown AI Script section: X5",
                     "Unknown AI KDG Script section: X6", "Unknown Rules section: X7",
                     "Unknown Rules Script section: X8", "Unknown Rules KDG section: X9"}));

    // Record counts stop at their limit.
    std::string lines = "[MISC]:";
    for (size_t i = 0; i < kMaxRecords + 5; ++i)
        lines += "|[m" + std::to_string(i) + "]:|}";
    r = parse(lines);
    EXPECT_EQ(r.state.misc.size(), kMaxRecords);
    EXPECT_EQ(r.state.misc.back().name, "m" + std::to_string(kMaxRecords - 1));
}

TEST(UpdateConfigParser, ValueRules) {
    // Descriptions add up; a value that is no number keeps the last number; a key line
    // needs its quotes, whose "//" is kept; keys are exact; empty values and an empty
    // INI URL are ignored.
    const ParseResult r = parse(
        "[AI]:|[SCRIPT]:|Description = \"a\"|Description = \"b\"|Description = \"c\"|"
        "Version = \"1.5\"|Version = \"one\"|Size = \"12\"|Size = \"12kb\"|"
        "URL = http://h/unquoted.kvai|URL = \"http://h/q.kvai\" // comment|"
        "title = \"lower-case key\"|Title = \"\"|[INI]:|URL = \"\"|}|}|}|"
        "[MAIN]:|AutoUpdateActive = \"0\"|}|[MISC]:|[m]:|AutoDownload = \"false\"|"
        "AutoExecute = \"2\"|}|}");
    ASSERT_EQ(r.state.ais.size(), 1u);
    const AiRecord& ai = r.state.ais[0];
    EXPECT_EQ(ai.description + "|" + ai.url + "|" + ai.title, "abc|http://h/q.kvai|");
    EXPECT_EQ(std::tuple(ai.version, ai.size, ai.hasIni), std::tuple(1.5f, 12.0, false));
    EXPECT_FALSE(r.state.active);
    ASSERT_EQ(r.state.misc.size(), 1u);
    EXPECT_EQ(std::pair(r.state.misc[0].autoDownload, r.state.misc[0].autoExecute),
              std::pair(false, true));

    for (const auto& [value, shown] : std::vector<std::pair<std::string, std::string>>{
             {"2.145", "2.145"}, {"2,145", "2.145"}, {"2.144", "2.144"}, {"10", "10"}, {"0.1", "0.1"}})
        EXPECT_EQ(formatVersion(parse("[KVS]:|Version = \"" + value + "\"").state.launcher.version),
                  shown) << value;
    for (const auto& [url, name] : std::vector<std::pair<std::string, std::string>>{
             {"http://h/a/b/File.kdg", "File.kdg"}, {"http://h/a/File.kdg?x=1#y", "File.kdg"},
             {"http://h/a/", ""}, {"http://host", ""}, {"File.kdg", "File.kdg"}})
        EXPECT_EQ(urlFileName(url), name) << url;
}

} // namespace
} // namespace kv::update
