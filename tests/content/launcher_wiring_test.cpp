#include "launcher/content_wiring.h"

#include "launcher/game_start.h"
#include "tests/content/demo_launcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace kv::content {
namespace {

struct WiredDemo : DemoLauncher {
    WiredDemo() { makeLauncher(); }
};

TEST(LauncherWiring, ClosingAfterInstallsWithRulesUnchangedLeavesEveryDefaultScript) {
    WiredDemo d;
    d.setSettings("AI0", "Raider");
    std::vector<std::string> defaults;
    for (const auto& e : platform::listDirectory(d.game("multiplay/skirmish"), "*"))
        defaults.push_back(e.name);
    ASSERT_GE(defaults.size(), 18u); // eight players' pairs and the rules
    ASSERT_TRUE(runStartup(*d.launcher, ""));
    EXPECT_EQ(d.read(d.game("multiplay/skirmish/player0.vlo")).substr(0, 20),
              "script \"player0.slo\"");
    EXPECT_TRUE(platform::fileExists(d.game("Roads.kdg"))); // Raider's required archive
    // Apply once more with player 0 left as it is, then close.
    d.launcher->content.choices.selectAI(0, "<don't change>");
    ASSERT_TRUE(kv::makeSloVlo(*d.launcher));
    // An archive the list shows unticked but that is active on disk is switched off.
    auto& mods = d.launcher->content.mods.entries;
    auto tanks =
        std::find_if(mods.begin(), mods.end(), [](const ModEntry& e) { return e.name == "Tanks"; });
    ASSERT_NE(tanks, mods.end());
    ASSERT_TRUE(platform::fileExists(d.game("Tanks.kdg")));
    tanks->checked = false;
    closeMainWindow(*d.launcher);
    EXPECT_TRUE(platform::fileExists(d.game("Tanks.kvw")));
    EXPECT_FALSE(platform::fileExists(d.game("Tanks.kdg")));
    EXPECT_FALSE(platform::fileExists(d.game("Roads.kdg")));
    for (const auto& name : defaults)
        EXPECT_TRUE(platform::fileExists(d.game("multiplay/skirmish/" + name))) << name;
    EXPECT_TRUE(d.ui.messages().empty());
}

TEST(LauncherWiring, AVanishedGameFolderGivesOneErrorBoxAndTheSettingsAreStillSaved) {
    WiredDemo d;
    d.setSettings("AI1", "Raider");
    ASSERT_TRUE(runStartup(*d.launcher, ""));
    std::filesystem::remove_all(d.world.gameFolder);
    const std::string settings = d.world.launcherFolder + "Settings/starter.ini";
    ASSERT_TRUE(platform::deleteFile(settings));
    closeMainWindow(*d.launcher);
    ASSERT_EQ(d.ui.messages().size(), 1u);
    EXPECT_NE(d.ui.messages()[0].text.find("Error in: CopyDefaultFiles()"), std::string::npos);
    EXPECT_TRUE(platform::fileExists(settings));
}

TEST(LauncherWiring, MissingOriginalListEndsTheStart) {
    WiredDemo d;
    platform::deleteFile(d.world.launcherFolder + "Settings/KVS/OriginalKDGs.ini");
    EXPECT_FALSE(runStartup(*d.launcher, ""));
    ASSERT_EQ(d.ui.messages().size(), 1u);
    EXPECT_EQ(d.ui.messages()[0].text,
              "Couldn't find '" + d.world.launcherFolder +
                  "Settings/KVS/OriginalKDGs.ini', make sure it exists or reinstall KVS.");
}

} // namespace
} // namespace kv::content
