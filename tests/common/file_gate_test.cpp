#include "common/file_gate.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tests/support/trash_home.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kv {
namespace {

namespace fs = std::filesystem;

struct GateWorld {
    test::TempFolder root, game, outside;
    Paths paths = Paths::fromRoot(root.path());
    test::ScriptedUi ui;
    FileGate gate{paths, game.path(), ui};

    std::string at(const std::string& where) const {
        // "L:" the launcher folder, "G:" the game folder.
        return (where[0] == 'L' ? root : game) / where.substr(2);
    }
};

TEST(FileGate, EachKindOnlyInItsHome) {
    struct Case {
        FileKind kind;
        const char* path;
        bool allowed;
    } cases[] = {
        {FileKind::RulesSet, "L:Mods/Rules/Set/", true},
        {FileKind::RulesSet, "L:Mods/Rules/Set/sub", false},
        {FileKind::RulesSet, "L:Mods/Rules/../../resources", false},
        {FileKind::Ai, "L:Mods/SkirmishAI/A/extra.kdg", true},
        {FileKind::ModArchive, "G:multiplay/A.kdg", false},
        {FileKind::InstalledCopy, "G:multiplay/skirmish/player0.slo", true},
        {FileKind::GlobalConfiguration, "L:Settings/A.ini", true},
    };
    GateWorld w;
    for (const Case& c : cases)
        EXPECT_EQ(w.gate.allows(c.kind, w.at(c.path)), c.allowed) << c.path;
    // A link in a home leads out of it: nothing beyond the link is the home's.
    w.outside.write("Victim/keep.slo", "mine");
    fs::create_directories(w.root / "Mods/Rules");
    fs::create_directory_symlink(w.outside / "Victim", w.root / "Mods/Rules/Link");
    EXPECT_FALSE(w.gate.allows(FileKind::Ai, w.root / "Mods/Rules/Link/keep.slo"));
}

TEST(FileGate, RefusesWithTheErrorBoxAndTrashesOrDeletesOnlyWhatItMay) {
    GateWorld w;
    w.root.write("resources/backup/rules.slo", "game's default");
    EXPECT_FALSE(w.gate.trash(FileKind::RulesSet, w.root / "resources/backup"));
    EXPECT_EQ(w.root.read("resources/backup/rules.slo"), "game's default");
    ASSERT_EQ(w.ui.messages().size(), 1u);
    const test::RecordedMessage& box = w.ui.messages()[0];
    EXPECT_EQ(box.text.rfind("Error:\n75: Path/File access error: '", 0), 0u) << box.text;
    EXPECT_TRUE(box.text.ends_with("; it was left as it is.\nError in: FileGate()")) << box.text;
    EXPECT_TRUE(box.icon == Icon::Critical && box.buttons == Buttons::Ok);

    // A rules set holding a link to the user's folder: the trash takes the link, the
    // folder it points to stays whole; a deletion removes the link as a link.
    w.outside.write("Victim/keep.slo", "mine");
    w.root.write("Mods/Rules/Set/a.slo", "set");
    fs::create_directory_symlink(w.outside / "Victim", w.root / "Mods/Rules/Set/Link");
    w.root.write("Mods/Rules/Gone/b.slo", "gone");
    fs::create_directory_symlink(w.outside / "Victim", w.root / "Mods/Rules/Gone/Link");
    EXPECT_TRUE(w.gate.trash(FileKind::RulesSet, w.root / "Mods/Rules/Set/"));
    EXPECT_TRUE(w.gate.remove(FileKind::RulesSet, w.root / "Mods/Rules/Gone"));
    EXPECT_TRUE(fs::is_symlink(test::trashed("Set/Link")));
    EXPECT_EQ(w.outside.read("Victim/keep.slo"), "mine");

    // Without a desktop trash (none can be made below a file) the launcher folder keeps
    // what goes, and says so once.
    const std::string home = std::getenv("XDG_DATA_HOME");
    ::setenv("XDG_DATA_HOME", w.root.write("no-trash", "").c_str(), 1);
    EXPECT_TRUE(w.gate.trash(FileKind::ModArchive, w.game.write("A.kdg", "a")));
    EXPECT_TRUE(w.gate.trash(FileKind::ModArchive, w.game.write("B.kdg", "b")));
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(w.root / "Trash"), {}), 2);
    EXPECT_EQ(w.ui.messages().size(), 2u);
}

// Killed while a launcher copy borrowed the name (the game and close are the install
// tests'): the next start puts the user's file back.
TEST(FileGate, AUsersFileUnderABorrowedNameComesBackAfterACrash) {
    GateWorld w;
    const std::string mine = std::string("user's own\0\r\n", 13);
    const std::string path = w.game.write("Req.kdg", mine);
    const std::string source = w.root.write("Mods/Required KDGs/Req.kdg", "launcher's");
    ASSERT_TRUE(w.gate.keepAside(FileKind::InstalledCopy, path));
    ASSERT_TRUE(w.gate.copyOver(FileKind::InstalledCopy, source, path));
    // A second install before any clean-up keeps the first kept file, the user's.
    ASSERT_TRUE(w.gate.keepAside(FileKind::InstalledCopy, path));
    ASSERT_TRUE(w.gate.copyOver(FileKind::InstalledCopy, source, path));
    FileGate(w.paths, w.game.path(), w.ui).putBackLeftovers(FileKind::InstalledCopy, w.game.path());
    EXPECT_EQ(w.game.read("Req.kdg"), mine);
    EXPECT_FALSE(fs::exists(path + std::string(kKeptSuffix)));
}

} // namespace
} // namespace kv
