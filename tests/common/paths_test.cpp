#include "common/paths.h"

#include <gtest/gtest.h>

namespace kv {

TEST(Paths, PathVariablesHangBelowTheLauncherFolder) {
    const Paths p = Paths::fromRoot("/opt/kvs"); // no trailing separator given
    EXPECT_EQ(p.launcherFolder, "/opt/kvs/");
    EXPECT_EQ(p.aiFolder, "/opt/kvs/Mods/SkirmishAI/");
    EXPECT_EQ(p.rulesFolder, "/opt/kvs/Mods/Rules/");
    EXPECT_EQ(p.requiredKdgFolder, "/opt/kvs/Mods/Required KDGs/");
    EXPECT_EQ(p.kdgIniFolder, "/opt/kvs/Mods/INI/KDG Files/");
    EXPECT_EQ(p.aiIniFolder, "/opt/kvs/Mods/INI/AI/");
    EXPECT_EQ(p.rulesIniFolder, "/opt/kvs/Mods/INI/Rules/");
    EXPECT_EQ(p.globalIniFolder, "/opt/kvs/Mods/Global INIs/");
    EXPECT_EQ(p.settingsFolder, "/opt/kvs/Settings/");
    EXPECT_EQ(p.scriptsFolder, "/opt/kvs/Settings/Scripts/");
    EXPECT_EQ(p.underLauncher("Settings\\KVS\\OriginalKDGs.ini"),
              "/opt/kvs/Settings/KVS/OriginalKDGs.ini");
}

TEST(Paths, JoinAcceptsEitherSeparatorAndCollapsesTheSeam) {
    EXPECT_EQ(joinPath("/g/", "\\multiplay\\skirmish"), "/g/multiplay/skirmish");
    EXPECT_EQ(joinPath("/g", "multiplay/skirmish/"), "/g/multiplay/skirmish/");
    EXPECT_EQ(withTrailingSeparator("/g///"), "/g/");
}

} // namespace kv
