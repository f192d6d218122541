#include "common/paths.h"

#include <gtest/gtest.h>

namespace kv {

TEST(Paths, PathVariablesHangBelowTheLauncherFolder) {
    // The folders the update installs into are pinned by the update tests.
    const Paths p = Paths::fromRoot("/opt/kvs"); // no trailing separator given
    EXPECT_EQ(p.launcherFolder, "/opt/kvs/");
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
