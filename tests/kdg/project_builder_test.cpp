// The KDG project folder: layout per aspect, the tool's command line and batch file,
// adding and removing files, and the creation dialogs.
#include "kdg/project_builder.h"
#include "kdg/project_creation.h"
#include "kdg/project_files.h"
#include "platform/files.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tool_run.h"
#include "tools/demo/demo_project_resources.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kv::kdg {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class ProjectBuilder : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"resources", "Mods/KRFs", "Settings/KVS"})
            fs::create_directories(fs::path(launcher) / folder);
        std::string error;
        ASSERT_TRUE(demo::writeProjectResources(launcher, true, error)) << error;
    }

    KdgProject projectAt(const std::string& relative, bool create = false) {
        KdgProject p;
        p.setFolder(dir / relative);
        EXPECT_TRUE(!create || createEmptyDir(p, true, launcher, ui)) << relative;
        return p;
    }
    bool has(const KdgProject& p, const std::string& relative) {
        return fs::exists(fs::path(p.folder) / relative);
    }
    // Every file and folder under the project, relative and sorted.
    Texts tree(const KdgProject& p) {
        Texts out;
        for (const auto& e : fs::recursive_directory_iterator(p.folder))
            out.push_back(fs::relative(e.path(), p.folder).string() +
                          (e.is_directory() ? "/" : ""));
        std::sort(out.begin(), out.end());
        return out;
    }

    test::TempFolder dir;
    std::string launcher = dir / "launcher/";
    test::ScriptedUi ui;
};

TEST(ProjectCommandLine, NameWordsAndLevelFiles) {
    const std::string fixed =
        " -s 11 nov -s 10 oct -s 9 sep30 -s 8 aug27 -s 7 july30 -s 6 June25 -s 5 may28  -s 4 "
        "may21 -s 3 NewTech -s 2 NewMaps -s 1 cam2Tech -s 0 korvane ";
    const std::string tail = " -w krf\\multi\\*.krf -w krf\\*.krf -w *.krf >result.txt";
    const struct {
        std::string folder, addon, gamedesc, expected;
    } cases[] = {
        {"/p/MyMod", "", "", "\"MyMod.kdg\" -x 20 MyMod" + fixed + tail},
        {"/p/My Big Mod/", "", "", "\"My Big Mod.kdg\" -x 20 My" + fixed + tail},
        {"/p/M", "", "GameDesc.lev", "\"M.kdg\" -x 20 M" + fixed + " -a GameDesc.lev" + tail},
        {"C:\\x\\M", "addon.lev", "gamedesc.lev",
         "\"M.kdg\" -x 20 M" + fixed + " -a gamedesc.lev -a addon.lev" + tail},
        {"/p/say \"hi\" \xe9", "", "", "\"say \"hi\" \xe9.kdg\" -x 20 say" + fixed + tail},
    };
    for (const auto& c : cases) {
        KdgProject p;
        p.setFolder(c.folder);
        p.addonLev = c.addon;
        p.gamedescLev = c.gamedesc;
        EXPECT_EQ(MakeKDGCommandLine(p), "makekdg -v -o " + c.expected) << c.folder;
    }
}

TEST_F(ProjectBuilder, EmptyProjectHasHiddenToolAndBatchFileWithTheCommandLine) {
    KdgProject p = projectAt("new/" + std::string(200, 'n'), true);
    EXPECT_EQ(tree(p), (Texts{kBatchFileName, kShellScriptName, kToolName, "krf/", "krf/multi/"}));
    EXPECT_EQ(dir.read("new/" + std::string(200, 'n') + "/" + kBatchFileName),
              MakeKDGCommandLine(p) + "\r\n");
    EXPECT_TRUE(*platform::getAttributes(p.folder + "/" + kToolName) & platform::AttrHidden);
    EXPECT_NE(fs::status(p.folder + "/" + kShellScriptName).permissions() & fs::perms::owner_exec,
              fs::perms::none);
    EXPECT_NE(dir.read("new/" + std::string(200, 'n') + "/" + kShellScriptName)
                  .find("wine cmd /c \"Create KDG file now!.bat\""),
              std::string::npos);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ProjectBuilder, EachAspectMakesItsFoldersAndCopiesItsListsOrSaysWhatIsMissing) {
    const struct {
        const char *key, *folder, *lists;
    } cases[] = {
        {"pie", "components/weapons/", "PieStats.krf"},
        {"stats", "stats/research/cam1/", "Stats.krf"},
        {"messages", "messages/strings/", "Stats.krf multiRes.krf"},
        {"audio", "audio/VtolTalk/", "audio.krf"},
        {"gfx", "texpages/bdrops/", "VidMem.krf frontend.krf vidmem3.krf"},
        {"multi script", "multiplay/script/",
         "multi/skirmish2.krf multi/skirmish4.krf multi/skirmish8.krf multi/t2-skirmish2.krf "
         "multi/t2-skirmish4.krf multi/t2-skirmish8.krf multi/t3-skirmish2.krf "
         "multi/t3-skirmish4.krf multi/t3-skirmish8.krf"},
        {"other script", "script/fastplay/", ""},
    };
    for (const auto& c : cases) {
        KdgProject p = projectAt(std::string("aspect ") + c.key);
        fs::create_directories(p.folder);
        ASSERT_TRUE(AddResourceFiles(p, c.key, launcher, ui)) << c.key;
        EXPECT_TRUE(has(p, c.folder) && has(p, "krf/multi/")) << c.key;
        std::string lists;
        for (const std::string& f : tree(p)) {
            if (!f.ends_with(".krf"))
                continue;
            lists += (lists.empty() ? "" : " ") + f.substr(4);
            // Each demo list starts with its own name, so a copy shows where it came from.
            EXPECT_TRUE(dir.read(std::string("aspect ") + c.key + "/" + f)
                            .starts_with("// " + fs::path(f).filename().string() + ":"));
        }
        EXPECT_EQ(lists, c.lists) << c.key;
    }
    EXPECT_FALSE(AddResourceFiles(projectAt("aspect pie"), "sound", launcher, ui));
    EXPECT_EQ(ui.messageTexts(), Texts{"error: sound"});

    // Status files cover the messages, so multiRes is copied only for messages alone.
    const auto index = [](const char* key) {
        return int(findAspect(key) - projectAspects().data());
    };
    KdgProject both = projectAt("both"), alone = projectAt("alone");
    ASSERT_TRUE(createFilledDir(both, {index("messages"), index("stats")}, launcher, ui));
    ASSERT_TRUE(createFilledDir(alone, {index("messages")}, launcher, ui));
    EXPECT_EQ(std::tuple(has(both, "krf/Stats.krf"), has(both, "krf/multiRes.krf"),
                         has(alone, "krf/multiRes.krf"), has(alone, "stats")),
              std::tuple(true, false, true, false));

    // Missing resources and a folder that is a file are reported, not crashed.
    ui.clear();
    fs::remove(fs::path(launcher) / "resources/audio.krf");
    KdgProject p = projectAt("p");
    fs::create_directories(p.folder);
    EXPECT_FALSE(AddResourceFiles(p, "audio", launcher, ui));
    dir.write("taken", "user data");
    EXPECT_FALSE(createEmptyDir(projectAt("taken"), true, launcher, ui));
    EXPECT_EQ(dir.read("taken"), "user data");
    EXPECT_TRUE(fs::is_directory(fs::path(p.folder) / "audio/Nexus"));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].icon, Icon::Critical);
    EXPECT_TRUE(ui.messages()[0].text.ends_with("Error in: AddResourceFiles()"));
    EXPECT_TRUE(ui.messages()[1].text.ends_with("Error in: createEmptyDir()"));
}

TEST_F(ProjectBuilder, AddedFilesLandInTheFolderTheirAnswerNames) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"fx.pie", 0, "effects/"},
        {"tree.PIE", 1, "features/"},
        {"base.pie", 2, "structs/"},
        {"body.pie", 3, "components/bodies/"},
        {"track.pie", 4, "components/prop/"},
        {"gun.pie", 5, "components/weapons/"},
        {"ai.slo", 0, "multiplay/script/"},
        {"ai.vlo", 0, "multiplay/script/"},
        {"cam.slo", 1, "script/text/"},
        {"cam.VLO", 1, "script/data/"},
        {"bang.wav", 0, "audio/"},
        {"menu.pcx", 0, "images/"},
        {"tex.pcx", 1, "texpages/"},
        {"back.pcx", 2, "texpages/bdrops/"},
        {"other.lev", 0, ""},
    };
    KdgProject p = projectAt("proj", true);
    for (const auto& [name, choice, folder] : cases) {
        const std::string source = dir.write(std::string("src/") + name, name);
        ASSERT_TRUE(addProjectFile(p, source, choice, launcher, ui)) << name;
        EXPECT_EQ(dir.read(std::string("proj/") + folder + name), name);
    }
    // Each file brought its aspect's resource lists along.
    for (const char* list : {"PieStats.krf", "multi/skirmish8.krf", "audio.krf", "frontend.krf"})
        EXPECT_TRUE(has(p, std::string("krf/") + list)) << list;
    EXPECT_EQ(p.files.size(), std::size(cases));
    EXPECT_EQ(p.files[6].subFolder, "multiplay\\script");
    EXPECT_TRUE(ui.messages().empty());
    // Adding the same file again replaces it and keeps one entry.
    dir.write("src/fx.pie", "newer");
    ASSERT_TRUE(addProjectFile(p, dir / "src/fx.pie", 0, launcher, ui));
    EXPECT_EQ(dir.read("proj/effects/fx.pie"), "newer");
    EXPECT_EQ(p.files.size(), std::size(cases));
}

TEST_F(ProjectBuilder, RefusedFilesLeaveTheProjectAsItWas) {
    KdgProject p = projectAt("proj", true);
    const auto before = tree(p);
    EXPECT_FALSE(addProjectFile(p, dir.write("readme.txt", "t"), 0, launcher, ui));
    EXPECT_FALSE(addProjectFile(p, dir.write("x.pie", "p"), 6, launcher, ui));
    EXPECT_FALSE(addProjectFile(p, dir.write("x.slo", "p"), -1, launcher, ui));
    fs::create_directories(dir / "folder.wav");
    EXPECT_FALSE(addProjectFile(p, dir / "folder.wav", 0, launcher, ui));
    EXPECT_EQ(tree(p), before);
    EXPECT_TRUE(p.files.empty());
    auto texts = ui.messageTexts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_TRUE(texts[3].ends_with("Error in: AddFileToKDG()"));
    texts.pop_back();
    EXPECT_EQ(texts, (Texts{"Unknown file format!", "error: Main2.List2.ListIndex - 6",
                            "error: Main2.List2.ListIndex - -1"}));

    // A folder where the file would go: reported, listed, nothing copied.
    ui.clear();
    fs::create_directories(fs::path(p.folder) / "audio/boom.wav");
    EXPECT_TRUE(addProjectFile(p, dir.write("boom.wav", "b"), 0, launcher, ui));
    EXPECT_EQ(ui.messageTexts(),
              Texts{"File already exists!\r\n Settings for this file were overwritten!"});
    EXPECT_TRUE(fs::is_directory(fs::path(p.folder) / "audio/boom.wav") && p.files.size() == 1);
}

TEST_F(ProjectBuilder, LevelFilesRewriteTheBatchFileOnAddAndRemove) {
    KdgProject p = projectAt("My Levels", true);
    const std::string bat = "My Levels/" + std::string(kBatchFileName);
    ASSERT_TRUE(addProjectFile(p, dir.write("src/addon.lev", "a"), 0, launcher, ui));
    ASSERT_TRUE(addProjectFile(p, dir.write("src/GameDesc.lev", "g"), 0, launcher, ui));
    EXPECT_NE(dir.read(bat).find("korvane  -a GameDesc.lev -a addon.lev -w"), std::string::npos);
    EXPECT_EQ(ui.messageTexts(), (Texts{"'addon.lev' added to the commandline",
                                        "'GameDesc.lev' added to the commandline"}));
    EXPECT_EQ(ui.messages()[0].icon, Icon::Information);
    // The tool rebuilds the slots from the folder.
    EXPECT_EQ(MakeKDGCommandLine(openExistingProject(p.folder)), MakeKDGCommandLine(p));

    ui.clear();
    ASSERT_TRUE(removeProjectFile(p, 0, ui));
    EXPECT_FALSE(has(p, "addon.lev"));
    EXPECT_EQ(dir.read(bat), MakeKDGCommandLine(p) + "\r\n");
    EXPECT_NE(dir.read(bat).find("korvane  -a GameDesc.lev -w"), std::string::npos);
    EXPECT_EQ(ui.messageTexts(), Texts{"Commandline was updated"});
    ASSERT_EQ(p.files.size(), 1u);
    EXPECT_EQ(p.files[0].name, "GameDesc.lev");
    EXPECT_FALSE(removeProjectFile(p, 5, ui));
}

TEST_F(ProjectBuilder, CreationDialogsAskAgainForAnExistingFolderAndKeepAnExistingOne) {
    KdgProject p;
    p.addonLev = "addon.lev";
    fs::create_directories(dir / "exists");
    ui.answerChoice(0);
    ui.answerFile(dir / "exists");
    ui.answerFile(dir / "fresh");
    ASSERT_TRUE(CreateKdgProject(p, launcher, ui, {}));
    EXPECT_EQ(p.name + p.addonLev + " " + ui.messageTexts().at(0),
              "fresh Directory already exists!");
    EXPECT_TRUE(fs::exists(dir / "fresh/MakeKDG.exe"));

    ui.answerChoice(2); // an existing folder is taken as it is
    ui.answerFile(dir / "exists/KDGDirectory");
    ASSERT_TRUE(CreateKdgProject(p, launcher, ui, {}));
    EXPECT_TRUE(p.name == "exists" && fs::exists(dir / "exists/Create KDG file now!.bat") &&
                !fs::exists(dir / "exists/KDGDirectory"));

    // Without the game's archive tool nothing is made, and the user learns where it goes.
    ui.clear();
    ui.answerChoice(0);
    ui.answerFile(dir / "toolless");
    bool complete = true;
    EXPECT_FALSE(CreateKdgProject(p, dir / "bare", ui, {}, &complete));
    EXPECT_FALSE(complete || fs::exists(dir / "toolless"));
    EXPECT_EQ(ui.messageTexts().at(0).rfind("MakeKDG.exe is the game's archive tool", 0), 0u);
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST_F(ProjectBuilder, KvstoolCreatesFillsAndPrintsTheCommandLine) {
    const auto run = [&](const std::string& arguments) {
        return test::runShell("cd '" + dir.path() + "' && '" KVSTOOL_PATH "' kdg project " +
                              arguments);
    };
    ASSERT_EQ(run("create 'T P' --aspects 'pie,multi script' --resources launcher").exitCode, 0);
    EXPECT_TRUE(fs::exists(dir / "T P/krf/multi/t3-skirmish4.krf"));
    dir.write("w.pie", "p");
    dir.write("x.wav", "w");
    // Refusals change nothing. Without --resources the lists come from the project, which
    // has none for sounds. A creation that fails once it made folders takes them away
    // again, so a retry is not told the folder exists (that name is too long for a file).
    const std::tuple<std::string, int, std::string> refusals[] = {
        {"", 2, ""},
        {"make x", 2, ""},
        {"create U --aspects pie,bogus --resources launcher", 2, ""},
        {"add 'T P' w.pie --as", 2, ""},
        {"add 'T P' w.pie", 2, ""},
        {"add 'T P' w.pie --as 7", 1, ""},
        {"add 'T P' x.wav", 1, "The project has no audio.krf in krf\\"},
        {"create 'T P' --resources launcher", 1,
         "kvstool kdg project: Directory already exists!\n"},
        {"create fresh/" + std::string(300, 'n') + " --resources launcher", 1, ""},
    };
    const auto before = tree(projectAt("T P"));
    for (const auto& [arguments, exitCode, err] : refusals) {
        const test::ToolRun r = run(arguments);
        EXPECT_EQ(r.exitCode, exitCode) << arguments;
        EXPECT_NE(r.err.find(err), std::string::npos) << arguments << ": " << r.err;
    }
    EXPECT_EQ(tree(projectAt("T P")), before);
    EXPECT_FALSE(fs::exists(dir / "U") || fs::exists(dir / "fresh"));

    dir.write("addon.lev", "l");
    EXPECT_EQ(run("add 'T P' addon.lev").out, "'addon.lev' added to the commandline\n");
    EXPECT_EQ(run("add 'T P' w.pie --as Weapon").exitCode, 0);
    EXPECT_EQ(dir.read("T P/components/weapons/w.pie"), "p");
    EXPECT_EQ(run("add 'T P' x.wav --resources launcher").exitCode, 0);
    EXPECT_TRUE(dir.read("T P/krf/audio.krf").starts_with("// audio.krf:"));

    KdgProject expected;
    expected.setFolder("T P");
    expected.addonLev = "addon.lev";
    EXPECT_EQ(run("cmdline 'T P'").out, MakeKDGCommandLine(expected) + "\n");
    EXPECT_EQ(dir.read("T P/Create KDG file now!.bat"), MakeKDGCommandLine(expected) + "\r\n");
}

} // namespace
} // namespace kv::kdg
