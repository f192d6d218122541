// What the stand-in game reports of the world it finds; its run as the game (window,
// memory, arguments, quitting) is what the launch and debug monitor tests drive.
#include "platform/registry.h"
#include "tests/support/temp_folder.h"
#include "tools/standin-game/game_world.h"

#include <gtest/gtest.h>

namespace kv::standin {
namespace {

using test::TempFolder;
using Lines = std::vector<std::string>;
using platform::RegistryRoot;

// A game folder as the launcher leaves it before a start.
void buildGameFolder(const TempFolder& tmp) {
    tmp.write("game/Multiplay/Skirmish/player0.slo", "// AI: Nexus\r\nrest\r\n");
    tmp.write("game/Multiplay/Skirmish/Rules.slo", "// rules: Classic caf\xE9\n");
    tmp.write("game/Multiplay/Skirmish/empty.vlo", "");
    tmp.write("game/zmod.KDG", "");
    tmp.write("game/amod.kdg", "");
    tmp.write("game/off.kvw", "");
    auto registry = platform::makeRegistryBackend(tmp / "registry.reg");
    registry->createKey(RegistryRoot::LocalMachine, kGameKey);
    registry->setDword(RegistryRoot::LocalMachine, kGameKey, "alliance", 1);
    registry->setString(RegistryRoot::LocalMachine, kGameKey, "phrase0", "gg \"all\"");
    registry->setString(RegistryRoot::LocalMachine, kGameKey, "phrase5", "");
    registry->setDword(RegistryRoot::LocalMachine, kGameKey, "scroll", 6400);
}

TEST(StandinGame, ReadsRegistryValuesScriptsAndActiveArchives) {
    TempFolder tmp;
    buildGameFolder(tmp);
    const GameWorld world = readGameWorld(tmp / "game/", tmp / "registry.reg");
    EXPECT_EQ(world.registry, (Lines{"alliance = 1", "phrase0 = \"gg \"all\"\"", "phrase1: not set",
                                     "phrase2: not set", "phrase3: not set", "phrase4: not set",
                                     "phrase5 = \"\"", "scroll = 6400", "base: not set"}));
    EXPECT_EQ(world.scripts, (Lines{"empty.vlo: ", "player0.slo: // AI: Nexus",
                                    "Rules.slo: // rules: Classic caf\xE9"}));
    EXPECT_EQ(world.archives, (Lines{"amod.kdg", "zmod.KDG"}));

    const GameWorld bare = readGameWorld(tmp / "nowhere/", tmp / "none.reg");
    EXPECT_EQ(bare.registry.front(), "alliance: not set");
    EXPECT_TRUE(bare.scripts.empty());
    EXPECT_TRUE(bare.archives.empty());
}

} // namespace
} // namespace kv::standin
