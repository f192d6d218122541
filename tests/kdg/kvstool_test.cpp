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

namespace fs = std::filesystem;

class KvsTool : public ::testing::Test {
protected:
    void SetUp() override {
        sample = worldgen::sampleModArchive("toolmod", 42, 5);
        archive = q(dir.write("game/Tool Mod.kdg", worldgen::buildKdgArchive(sample.plan)));
        fs::create_directories(dir / "tables");
        ASSERT_TRUE(
            worldgen::writeNameTables(dir / "tables/", sample.files, worldgen::sampleTypeRows()));
    }
    static test::ToolRun run(const std::string& arguments, const std::string& tool = KVSTOOL_PATH) {
        return test::runShell("'" + tool + "' " + arguments);
    }
    static std::string q(const std::string& path) { return "'" + path + "'"; }
    static QJsonObject json(const test::ToolRun& r) {
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
    }

    test::TempFolder dir;
    worldgen::KdgSample sample;
    std::string archive;
};

TEST_F(KvsTool, BadUsageAndRefusalsNameWhatTheyRefuseAndHelpMakesNoFolder) {
    for (const std::string& bad :
         {std::string(), std::string("kdg"), std::string("kdg unpack x"), std::string("kdg list"),
          std::string("kdg info a b"), "kdg list " + archive + " --tables",
          "kdg extract " + archive + " --json"})
        EXPECT_EQ(run(bad).exitCode, 2) << bad;

    dir.write("maps/broken.lnd", "not a map");
    dir.write("game/broken.kdg", "KDG5 and far too short");
    const std::string broken = q(dir / "maps/broken.lnd");
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
        {"map info " + q(dir / "maps/missing.lnd"), 1,
         "kvstool map: " + dir / "maps/missing.lnd: "},
        {"map info " + broken, 1, "kvstool map: " + dir / "maps/broken.lnd: Wrong file format!\n"},
        {"config list " + q(dir / "maps"), 1,
         "kvstool config: " + dir / "maps is not a launcher folder"},
        {"kdg info " + q(dir / "game/none.kdg"), 1,
         "kvstool kdg: " + dir / "game/none.kdg: The archive does not exist: "},
        {"kdg list " + q(dir / "game/broken.kdg"), 1,
         "kvstool kdg: " + dir / "game/broken.kdg: The archive is shorter than its header.\n"},
    };
    for (const auto& c : refusals) {
        const test::ToolRun r = run(c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(r.err.rfind(c.errStart, 0), 0u) << c.arguments << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.arguments;
    }

    // The demo maker's help neither makes a folder named after its option.
    const std::string command = "cd " + q(dir.path()) + " && '" KVDEMO_PATH "' ";
    for (const char* arguments : {"--help", "demo --help"}) {
        const test::ToolRun r = test::runShell(command + arguments);
        EXPECT_EQ(r.exitCode, 0) << arguments;
        EXPECT_EQ(r.out.rfind("usage: kvdemo <folder> [--fresh]\n", 0), 0u);
    }
    EXPECT_EQ(test::runShell(command + "--fresh").exitCode, 2);
    EXPECT_FALSE(fs::exists(dir / "--help") || fs::exists(dir / "--fresh") ||
                 fs::exists(dir / "demo"));
}

// A copy of the tool beside its own tables lists exactly what the saved file list holds.
TEST_F(KvsTool, ListInfoAndExtractTakeTheTablesBesideTheProgramByDefault) {
    const std::string tool = dir / "tables/kvstool";
    fs::copy_file(KVSTOOL_PATH, tool);
    test::ToolRun r = run("kdg list " + archive, tool);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    KdgArchiveInfo info;
    ASSERT_TRUE(LoadArchiveInfo(dir / "game/Tool Mod.kdg", info, LoadNameTables(dir / "tables/")));
    EXPECT_EQ(r.out, platform::joinLinesCrLf(fileListLines(info)));
    EXPECT_NE(r.out.find("Horn.wav\t\t(Sounds.krf)\r\n"), std::string::npos);
    r = run("kdg info " + archive, tool);
    EXPECT_NE(r.out.find("KRF sections: 3\n  Texts.krf\n"), std::string::npos) << r.out;

    const std::string tables = " --tables " + q(dir / "tables");
    // With --json, one entry per record, empty slots and groups included.
    const QJsonArray entries =
        json(run("kdg list " + archive + " --json" + tables))["entries"].toArray();
    EXPECT_TRUE(entries.size() == 14 && entries[3].toObject()["empty"].toBool() &&
                entries[0].toObject()["group"].toString() == "messages");
    const QJsonObject with = json(run("kdg info --json " + archive + tables));
    EXPECT_EQ(with["internalId"].toString() + with["internalName"].toString() +
                  with["requiredArchives"].toArray().at(1).toString(),
              "42toolmod(2) NewMaps");
    EXPECT_EQ(std::pair(with["version"].toInt(), with["totalFiles"].toInt()), std::pair(5, 14));
    const QJsonArray sections = with["sections"].toArray();
    ASSERT_EQ(sections.size(), 3);
    EXPECT_EQ(sections[0].toString() + sections[2].toString(), "Texts.krfSounds.krf");

    // A refused file fails the run (see the hostile input tests); here what the run writes.
    r = run("kdg extract " + archive + " " + q(dir / "new/dest") + tables);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(dir.read("new/dest/Map1/Game.map"), worldgen::sampleBinaryMap(48, 32, 5));
    EXPECT_EQ(dir.read("new/dest/messages/Names.txt"), "Korvane Tactics mod toolmod\r\n");
}

} // namespace
} // namespace kv::kdg
