#include "content/create_ai.h"

#include "content/ai_file.h"
#include "content/install.h"
#include "platform/files.h"
#include "tests/content/content_world.h"

#include <gtest/gtest.h>

namespace kv::content {
namespace {

using test::ContentWorld;
using test::Texts;

TEST(CreateAi, ScriptPairBecomesAnAiFileThatInstallsBackTheSamePair) {
    ContentWorld w;
    w.writeGame("multiplay/skirmish/player3.slo", "a();\r\nb();\r\n");
    w.writeGame("multiplay/skirmish/player3.vlo", worldgen::sampleVloText(3, 2));
    w.writeLauncher("pack/Extra.kdg", "extra archive");
    w.writeLauncher("Mods/SkirmishAI/Raider/stale.kdg", "from before");

    for (const char* f : {"player3.slo", "player3.vlo"})
        w.ui.answerFile(w.inGame(std::string("multiplay/skirmish/") + f));
    w.ui.answerInput("Raider");
    w.ui.answerMessage(Answer::Yes); // additional files
    w.ui.answerFile(w.launcher("pack/Extra.kdg"));
    w.ui.answerMessage(Answer::No); // more files?
    ASSERT_TRUE(createAiFile(w.state, w.env()));
    EXPECT_TRUE(w.ui.allAnswersUsed());
    EXPECT_EQ(w.ui.messageTexts(),
              (Texts{"Does this AI require any additional files?\r\nPress 'No' if you are unsure",
                     "More files?", "Done!"}));
    EXPECT_EQ(w.temp.read("kvs/Mods/SkirmishAI/Raider.kvai"), "1\r\nRaider\r\n2\r\na();\r\nb();\r\n\r\n\r\n \r\n"
                     "    var0            INT                 0\r\n"
                     "    var1            INT                 7\r\n}\r\n");
    EXPECT_TRUE(platform::fileExists(w.paths.aiFolder + "Raider/Extra.kdg"));
    EXPECT_FALSE(platform::fileExists(w.paths.aiFolder + "Raider/stale.kdg"));
    ASSERT_NE(w.state.ais.find("Raider"), nullptr); // the catalogue was rescanned

    // Installing it for player 6 writes the pair back with the new player number.
    w.state.choices.selectAI(6, "Raider");
    ASSERT_TRUE(makeSloVlo(w.state, w.env()));
    EXPECT_EQ(w.script("player6.slo"), "a();\r\nb();\r\n\r\n");
    EXPECT_EQ(w.script("player6.vlo"),
              "script \"player6.slo\"\r\nrun\r\n{\r\n    player          INT                 6\r\n"
              "\r\n \r\n    var0            INT                 0\r\n"
              "    var1            INT                 7\r\n}\r\n");
}

TEST(CreateAi, RefusalsAndBrokenVariableFiles) {
    ContentWorld w;
    w.writeGame("a.slo", "x\r\n");
    w.writeGame("noplayer.vlo", "run\r\n{\r\n}\r\n");
    w.writeGame("norun.vlo", "player INT 0\r\n}\r\n");
    w.writeGame("good.vlo", worldgen::sampleVloText(0));

    struct Case {
        const char* vlo;
        std::optional<std::string> name;
        const char* message;
    };
    const Case cases[] = {
        {"noplayer.vlo", {}, "Error reading vlo file:\r\n'player INT x'"},
        {"norun.vlo", {}, "Error reading .vlo file.\r\nCouldn't find text: 'run'"},
        {"good.vlo", std::string("  "), "AI file was not created!"},
        {"good.vlo", std::nullopt, "AI file was not created!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vlo);
        w.ui.clear();
        w.ui.answerFile(w.inGame("a.slo"));
        w.ui.answerFile(w.inGame(c.vlo));
        if (std::string(c.message) == "AI file was not created!")
            w.ui.answerInput(c.name);
        EXPECT_FALSE(createAiFile(w.state, w.env()));
        EXPECT_EQ(w.ui.messageTexts(), Texts{c.message});
        EXPECT_TRUE(w.ui.allAnswersUsed());
    }
    EXPECT_TRUE(platform::listDirectory(w.paths.aiFolder, "*.kvai").empty());
}

} // namespace
} // namespace kv::content
