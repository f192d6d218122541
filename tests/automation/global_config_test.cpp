// Global configurations on the demo world: applied from the command line at start-up,
// each with its own settings file while "starter.ini" stays as it was, listed with their
// descriptions and deleted together with their settings.
#include "launcher/global_config.h"
#include "launcher/startup.h"
#include "platform/files.h"
#include "tests/automation/automation_world.h"
#include "tests/support/trash_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kv::test {
namespace {

using Texts = std::vector<std::string>;

bool hasLine(const std::string& text, const std::string& line) {
    return text.find("\r\n" + line + "\r\n") != std::string::npos;
}

// The demo's "Duel" loads Hunter and Raider by path into frozen lists and locks them.
TEST(GlobalConfig, CommandLineStartRunsTheDemoConfigurationAndInstallsOnce) {
    AutomationWorld w;
    const std::string starter = w.read(w.app("Settings/starter.ini"));
    ASSERT_TRUE(w.start("-globalini Duel.ini"));
    Launcher& l = w.l();
    EXPECT_EQ(w.ui.messageTexts(), Texts{});
    EXPECT_EQ(w.installs, 1);
    EXPECT_EQ(l.activeSettingsName, "Duel.ini");
    EXPECT_TRUE(l.automation.labelVisible && l.automation.label == "Duel.ini");
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(w.playerItems(p), (Texts{"<don't change>", "Hunter", "Raider"})) << p;
        EXPECT_EQ(l.automation.aiLocked[size_t(p)], p < 2) << p;
    }
    EXPECT_EQ(l.content.choices.choice(0) + "|" + l.content.choices.choice(1), "Hunter|Raider");
    // Installed with its choices: Raider brings the road pack.
    EXPECT_TRUE(platform::fileExists(w.game("Roads.kdg")));

    closeMainWindow(l);
    const std::string duel = w.read(w.app("Settings/Duel.ini"));
    EXPECT_TRUE(hasLine(duel, "AI0=Hunter")) << duel;
    EXPECT_TRUE(hasLine(duel, "AI1=Raider")) << duel;
    EXPECT_EQ(w.read(w.app("Settings/starter.ini")), starter);

    // A next start naming a configuration that is not there says so and installs the
    // default setup.
    w.restart();
    w.ui.clear();
    w.installs = 0;
    ASSERT_TRUE(w.start("-globalini Nope.ini"));
    EXPECT_EQ(w.ui.messageTexts(),
              Texts{"Failed to load:\n\n'" + w.l().paths.globalIniFolder + "Nope.ini'"});
    EXPECT_EQ(w.installs, 1);
    EXPECT_EQ(w.l().activeSettingsName, "");
    EXPECT_FALSE(w.l().automation.labelVisible);
    EXPECT_EQ(w.l().content.choices.choice(0), "<don't change>");
    EXPECT_EQ(w.playerItems(0).back(), "<Random>");
}

TEST(GlobalConfig, EachConfigurationKeepsItsOwnSettingsFile) {
    AutomationWorld w;
    w.writeConfig("A.ini", {R"(SelectRules("Classic"))"});
    w.writeConfig("B.ini", {"DeactiveAllAIs()"});
    ASSERT_TRUE(w.start());
    Launcher& l = w.l();
    l.options.resolution = 3;

    ASSERT_TRUE(kv::applyGlobalConfiguration(l, "A.ini"));
    // Started from the settings that were active before, saved under its own name.
    EXPECT_TRUE(hasLine(w.read(w.app("Settings/A.ini")), "KVResolution=3"));
    EXPECT_TRUE(hasLine(w.read(w.app("Settings/starter.ini")), "KVResolution=3"));
    EXPECT_EQ(l.content.choices.rulesChoice(), "Classic");
    EXPECT_EQ(w.installs, 2);

    l.options.resolution = 1;
    ASSERT_TRUE(kv::applyGlobalConfiguration(l, "B.ini"));
    EXPECT_TRUE(hasLine(w.read(w.app("Settings/A.ini")), "KVResolution=1"));
    EXPECT_TRUE(hasLine(w.read(w.app("Settings/B.ini")), "KVResolution=1"));
    EXPECT_TRUE(hasLine(w.read(w.app("Settings/starter.ini")), "KVResolution=3"));
    EXPECT_EQ(l.automation.label, "B.ini");
    // The rules request was A's alone: the reset between the two cleared it.
    EXPECT_EQ(l.automation.requestedRules, "");

    // Back to A: its own file is read, not B's.
    l.options.resolution = 5;
    ASSERT_TRUE(kv::applyGlobalConfiguration(l, "A.ini"));
    EXPECT_EQ(l.options.resolution, 1);

    // One that cannot be read (larger than any configuration may be) changes nothing.
    w.write(w.app("Mods/Global INIs/Huge.ini"), "x");
    std::filesystem::resize_file(w.app("Mods/Global INIs/Huge.ini"),
                                 platform::kDefaultReadLimit + 1);
    l.options.resolution = 4; // not saved: the settings file of A stays as it is
    const std::string settings = w.read(w.app("Settings/A.ini"));
    const std::size_t ais = l.content.ais.records.size();
    EXPECT_FALSE(kv::applyGlobalConfiguration(l, "Huge.ini"));
    EXPECT_EQ(l.activeSettingsName, "A.ini");
    EXPECT_EQ(l.content.ais.records.size(), ais);
    EXPECT_EQ(w.read(w.app("Settings/A.ini")), settings);

    // One named like the starter's own file hides the label and uses that file.
    w.writeConfig("Starter.INI", {R"(SelectRules("Classic"))"});
    ASSERT_TRUE(kv::applyGlobalConfiguration(l, "Starter.INI"));
    EXPECT_FALSE(l.automation.labelVisible);
    EXPECT_EQ(l.automation.label, "");
    EXPECT_EQ(platform::resolvePath(l.settingsFilePath()),
              platform::resolvePath(w.app("Settings/starter.ini")));
}

TEST(GlobalConfig, ListingAndDeletingTouchExactlyTheirFiles) {
    AutomationWorld w;
    for (const char* demo : {"Duel.ini", "Vanilla.ini"})
        ASSERT_TRUE(platform::deleteFile(w.app("Mods/Global INIs/") + demo));
    w.writeConfig("A.ini", {"// no description", "description = \"\""});
    w.writeConfig("B.ini", {"DESCRIPTION = \"Second\\nline\"", "Description = \"later\""});
    w.writeConfig("notes.txt", {"Description = \"not a configuration\""});
    w.write(w.app("Settings/A.ini"), "KVResolution=1\r\n");
    w.write(w.app("Settings/B.ini"), "KVResolution=2\r\n");
    Texts listed;
    for (const auto& e : kv::GlobalConfigurations_Load(w.l()))
        listed.push_back(e.name + "|" + e.description);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (Texts{"A|", "B|Second\r\nline"}));

    EXPECT_TRUE(kv::deleteGlobalConfiguration(w.l(), "A"));
    EXPECT_TRUE(platform::fileExists(trashed("A.ini")));
    Texts left;
    for (const char* folder : {"Mods/Global INIs/", "Settings/"})
        for (const auto& e : platform::listDirectory(w.app(folder), "*"))
            if (!e.isFolder)
                left.push_back(folder + e.name);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (Texts{"Mods/Global INIs/B.ini", "Mods/Global INIs/notes.txt", "Settings/B.ini",
                           "Settings/starter.ini"}));
    // Deleted while still listed elsewhere: nothing left to delete is no failure.
    EXPECT_TRUE(kv::deleteGlobalConfiguration(w.l(), "A"));
    EXPECT_FALSE(kv::applyGlobalConfiguration(w.l(), "A.ini"));
}

} // namespace
} // namespace kv::test
