#include "common/paths.h"

#include <gtest/gtest.h>

namespace kv {

// The folders the update installs into are pinned by the update tests.
TEST(Paths, FoldersHangBelowTheLauncherFolderAndJoinsCollapseTheSeam) {
    const Paths p = Paths::fromRoot("/opt/kvs"); // no trailing separator given
    EXPECT_EQ(p.globalIniFolder, "/opt/kvs/Mods/Global INIs/");
    EXPECT_EQ(p.underLauncher("Settings\\KVS\\OriginalKDGs.ini"),
              "/opt/kvs/Settings/KVS/OriginalKDGs.ini");
    EXPECT_EQ(joinPath("/g/", "\\multiplay\\skirmish"), "/g/multiplay/skirmish");
    EXPECT_EQ(joinPath("/g", "multiplay/skirmish/"), "/g/multiplay/skirmish/");
    EXPECT_EQ(withTrailingSeparator("/g///"), "/g/");
}

} // namespace kv
