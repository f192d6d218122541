#include "tools/worldgen/content_demo.h"

#include "content/catalogue_scan.h"
#include "content/mod_activation.h"
#include "content/patch_110.h"
#include "platform/files.h"
#include "tests/content/content_world.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kv::content {
namespace {

using test::Texts;

TEST(DemoContent, LoadsCleanlyAndTheOneTenSetUpNumbersEveryPlayer) {
    test::ContentWorld w;
    ASSERT_TRUE(worldgen::makeDemoContent(w.paths.launcherFolder, w.game));
    ASSERT_TRUE(w.state.originals.load(w.paths)); // the demo adds its own archives
    w.scan();
    refreshModList(w.state, w.env());
    EXPECT_TRUE(w.ui.messages().empty());
    auto entries = w.modEntries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (Texts{"Desert-", "Islands+", "Night-", "Tanks+"}));

    // Run again, the demo keeps what the user changed.
    platform::renameEntry(w.inGame("Tanks.kdg"), w.inGame("Tanks.kvw"));
    ASSERT_TRUE(worldgen::makeDemoContent(w.paths.launcherFolder, w.game));
    EXPECT_FALSE(w.gameHas("Tanks.kdg"));

    w.ui.answerMessage(Answer::Yes);
    ASSERT_TRUE(makeCompatible110(w.state, w.env()));
    EXPECT_EQ(w.ui.messageTexts(), (Texts{"Are you sure?", "Done"}));
    EXPECT_FALSE(w.gameHas("Tanks.kdg"));
    EXPECT_TRUE(w.gameHas("korvane.kdg"));
    const std::string vlo = w.script("player3.vlo");
    ASSERT_GE(vlo.size(), 259u);
    EXPECT_EQ(vlo[224], '3');
    EXPECT_EQ(vlo[258], '3');
    EXPECT_EQ(vlo.substr(vlo.size() - 3), "}\r\n");
    std::string slo;
    platform::readFile(w.launcher("Mods/SkirmishAI/1.10 backup/player.slo"), slo);
    EXPECT_EQ(w.script("player3.slo"), slo);
    EXPECT_EQ(w.script("rules.slo"), "// 1.10 rules\r\n");
}

TEST(DemoContent, OneTenSetUpWithoutItsBackupScriptWritesNothing) {
    for (const char* missing : {"player.slo", "player0.vlo"}) {
        SCOPED_TRACE(missing);
        test::ContentWorld w;
        ASSERT_TRUE(worldgen::makeDemoContent(w.paths.launcherFolder, w.game));
        ASSERT_TRUE(platform::deleteFile(w.launcher("Mods/SkirmishAI/1.10 backup/") + missing));
        const std::string slo = w.script("player4.slo");
        const std::string vlo = w.script("player4.vlo");
        w.ui.answerMessage(Answer::Yes);
        makeCompatible110(w.state, w.env());
        const auto texts = w.ui.messageTexts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[1].rfind("Error:\n53: ", 0), 0u) << texts[1];
        EXPECT_EQ(w.script("player4.slo"), slo);
        EXPECT_EQ(w.script("player4.vlo"), vlo);
    }
}

} // namespace
} // namespace kv::content
