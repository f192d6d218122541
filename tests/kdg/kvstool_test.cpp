// kvstool is run as a child process, the way scripts use it.
#include "kdg/archive_reader.h"
#include "kdg/file_list.h"
#include "platform/text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tool_run.h"
#include "tools/worldgen/kdg_name_tables.h"
#include "tools/worldgen/kdg_sample.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <filesystem>

namespace kv::kdg {
namespace {

class KvsTool : public ::testing::Test {
protected:
    void SetUp() override {
        sample = worldgen::sampleModArchive("toolmod", 42, 5);
        archive = dir.write("game/Tool Mod.kdg", worldgen::buildKdgArchive(sample.plan));
        std::filesystem::create_directories(dir / "tables");
        ASSERT_TRUE(
            worldgen::writeNameTables(dir / "tables/", sample.files, worldgen::sampleTypeRows()));
    }

    test::ToolRun run(const std::string& arguments, const std::string& tool = KVSTOOL_PATH) {
        return test::runShell("'" + tool + "' " + arguments);
    }

    std::string quoted(const std::string& path) { return "'" + path + "'"; }

    test::TempFolder dir;
    worldgen::KdgSample sample;
    std::string archive;
};

TEST_F(KvsTool, ExitCodesForBadUsageMissingAndCorruptArchives) {
    for (const std::string& bad :
         std::vector<std::string>{"", "kdg", "kdg unpack x", "kdg list", "kdg info a b",
                                  "kdg list " + quoted(archive) + " --tables",
                                  "kdg extract " + quoted(archive) + " --json"})
        EXPECT_EQ(run(bad).exitCode, 2) << bad;

    test::ToolRun r = run("kdg info " + quoted(dir / "game/none.kdg"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("does not exist"), std::string::npos) << r.err;

    // Each refusal names what it refuses: the option and its value, the area, the file.
    dir.write("maps/broken.lnd", "not a map");
    const std::string broken = quoted(dir / "maps/broken.lnd");
    const struct {
        std::string arguments;
        int exitCode;
        std::string errStart;
    } refusals[] = {
        {"map render " + broken + " o.png --zoom 5", 2,
         "kvstool map: bad value for --zoom: 5\nusage: kvstool map info"},
        {"map render " + broken + " o.png --layers lava", 2,
         "kvstool map: bad value for --layers: lava\nusage: kvstool map info"},
        {"mpa info x", 2, "kvstool: unknown area 'mpa'\nusage: kvstool kdg"},
        {"map info " + quoted(dir / "maps/missing.lnd"), 1,
         "kvstool map: " + dir / "maps/missing.lnd: "},
        {"map info " + broken, 1, "kvstool map: " + dir / "maps/broken.lnd: Wrong file format!\n"},
        {"config list " + quoted(dir / "maps"), 1,
         "kvstool config: " + dir / "maps is not a launcher folder"},
    };
    for (const auto& c : refusals) {
        r = run(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(r.err.rfind(c.errStart, 0), 0u) << c.arguments << ": " << r.err;
    }

    dir.write("game/broken.kdg", "KDG5 and far too short");
    r = run("kdg list " + quoted(dir / "game/broken.kdg"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("shorter than its header"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
}

// A copy of the tool beside its own tables lists exactly what the saved file list holds;
// with --json, one entry per record.
TEST_F(KvsTool, ListTakesTheTablesBesideTheProgramByDefault) {
    const std::string tool = dir / "tables/kvstool";
    std::filesystem::copy_file(KVSTOOL_PATH, tool);
    test::ToolRun r = run("kdg list " + quoted(archive), tool);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    KdgArchiveInfo info;
    ASSERT_TRUE(LoadArchiveInfo(archive, info, LoadNameTables(dir / "tables/")));
    EXPECT_EQ(r.out, platform::joinLinesCrLf(fileListLines(info)));
    EXPECT_NE(r.out.find("Horn.wav\t\t(Sounds.krf)\r\n"), std::string::npos);
    r = run("kdg info " + quoted(archive), tool); // "info" too
    EXPECT_NE(r.out.find("KRF sections: 3\n  Texts.krf\n"), std::string::npos) << r.out;

    r = run("kdg list " + quoted(archive) + " --json --tables " + quoted(dir / "tables"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QJsonArray entries =
        QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object()["entries"].toArray();
    ASSERT_EQ(entries.size(), 14);
    EXPECT_EQ(entries[0].toObject()["name"].toString(), "Names.txt");
    EXPECT_EQ(entries[0].toObject()["group"].toString(), "messages");
    EXPECT_TRUE(entries[3].toObject()["empty"].toBool());
}

TEST_F(KvsTool, InfoCarriesTheHeaderAndNamesSectionsThroughTheTables) {
    const auto info = [&](const std::string& tables) {
        const test::ToolRun r = run("kdg info --json " + quoted(archive) + " --tables " + tables);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    };
    const QJsonObject with = info(quoted(dir / "tables"));
    EXPECT_EQ(with["internalId"].toString(), "42");
    EXPECT_EQ(with["internalName"].toString(), "toolmod");
    EXPECT_EQ(with["version"].toInt(), 5);
    EXPECT_EQ(with["requiredArchives"].toArray().at(1).toString(), "(2) NewMaps");
    EXPECT_EQ(with["totalFiles"].toInt(), 14);
    const QJsonArray sections = with["sections"].toArray();
    ASSERT_EQ(sections.size(), 3);
    EXPECT_EQ(sections[0].toString() + sections[2].toString(), "Texts.krfSounds.krf");
    EXPECT_EQ(info(quoted(dir / "nowhere"))["sections"].toArray()[0].toString().front(), '$');
}

TEST_F(KvsTool, HelpIsPrintedOnStandardOutputWithSuccess) {
    const std::pair<const char*, const char*> cases[] = {
        {"--help", "usage: kvstool kdg"},
        {"-h", "usage: kvstool kdg"},
        {"kdg --help", "usage: kvstool kdg info"},
        {"kdg info --help", "usage: kvstool kdg info"},
        {"map --help", "usage: kvstool map info"},
        {"map render -h", "usage: kvstool map info"},
        {"help", "usage: kvstool kdg"},
        {"help map", "usage: kvstool map info"},
        {"help kdg project", "usage: kvstool kdg project create"},
        {"--version", "kvstool 2."},
    };
    for (const auto& [arguments, usage] : cases) {
        const test::ToolRun r = run(arguments);
        EXPECT_EQ(r.exitCode, 0) << arguments;
        EXPECT_EQ(r.out.rfind(usage, 0), 0u) << arguments << ": " << r.out;
        EXPECT_EQ(r.err, "") << arguments;
    }
    // Without --help, bad usage still goes to standard error.
    const test::ToolRun bad = run("map");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_EQ(bad.err.rfind("usage: kvstool map", 0), 0u);
}

TEST_F(KvsTool, DemoHelpMakesNoFolder) {
    const std::string command = "cd " + quoted(dir.path()) + " && '" KVDEMO_PATH "' ";
    for (const char* arguments : {"--help", "-h", "demo --help"}) {
        const test::ToolRun r = test::runShell(command + arguments);
        EXPECT_EQ(r.exitCode, 0) << arguments;
        EXPECT_EQ(r.out.rfind("usage: kvdemo <folder> [--fresh]\n", 0), 0u);
        EXPECT_EQ(r.err, "") << arguments;
    }
    EXPECT_EQ(test::runShell(command + "--fresh").exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "--help"));
    EXPECT_FALSE(std::filesystem::exists(dir / "--fresh"));
    EXPECT_FALSE(std::filesystem::exists(dir / "demo"));
}

TEST_F(KvsTool, ExtractWritesTheFilesAndReportsSkippedOnes) {
    test::ToolRun r = run("kdg extract " + quoted(archive) + " " + quoted(dir / "new/dest") +
                          " --tables " + quoted(dir / "tables"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(dir.read("new/dest/Map1/Game.map"), worldgen::sampleBinaryMap(48, 32, 5));
    EXPECT_EQ(dir.read("new/dest/messages/Names.txt"), "Korvane Tactics mod toolmod\r\n");

    // A write-protected file is skipped, reported, and fails the run.
    std::filesystem::permissions(dir / "new/dest/Readme.txt", std::filesystem::perms::owner_read);
    r = run("kdg extract " + quoted(archive) + " " + quoted(dir / "new/dest") + " --tables " +
            quoted(dir / "tables"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Couldn't access the file. "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 files were not extracted"), std::string::npos) << r.err;
}

} // namespace
} // namespace kv::kdg
