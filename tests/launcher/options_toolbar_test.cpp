#include "launcher/options_toolbar.h"

#include "tests/launcher/launcher_world.h"

#include <gtest/gtest.h>

namespace kv::test {

TEST(OptionsToolbar, ScrollSpeedKeepsToItsMenu) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    const ToolbarOption& b = l.options.button(OptionButton::ScrollSpeed);
    SetScrollSpeed(l, 16);
    EXPECT_EQ(b.caption, "Scroll speed 16");
    EXPECT_EQ(b.tag, 16);
    SetScrollSpeed(l, 17);
    SetScrollSpeed(l, -1);
    EXPECT_EQ(l.options.scrollSpeed, 16);
    SetScrollSpeed(l, 0);
    EXPECT_EQ(l.options.scrollSpeed, 2);
    EXPECT_EQ(b.caption, "Scroll speed 2");
    chooseOptionEntry(l, OptionButton::ScrollSpeed, 7);
    EXPECT_EQ(l.options.scrollSpeed, 7);
}

TEST(OptionsToolbar, ClickTakesTheNextEntryAndWrapsAfterTheLast) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    const ToolbarOption& bases = l.options.button(OptionButton::Bases);
    EXPECT_EQ(bases.caption, "Bases");
    clickOptionButton(l, OptionButton::Bases);
    EXPECT_EQ(bases.caption, "Adv. bases");
    EXPECT_EQ(bases.tag, 3);
    clickOptionButton(l, OptionButton::Bases);
    EXPECT_EQ(bases.caption, "No bases");
    EXPECT_EQ(bases.tag, 1);
    setAlliances(l, false);
    EXPECT_EQ(l.options.button(OptionButton::Alliances).caption, "Alliances off");
}

TEST(OptionsToolbar, PhrasesAreAskedForOnlyOnceStartedAndCancelKeepsThem) {
    LauncherWorld w;
    Launcher& l = *w.launcher;
    const ToolbarOption& phrase = l.options.button(OptionButton::Phrase);
    chooseOptionEntry(l, OptionButton::Phrase, 3); // while the settings are read
    EXPECT_TRUE(w.ui.prompts().empty());
    EXPECT_EQ(phrase.caption, "Set phrase F1");
    EXPECT_EQ(phrase.entries[2], "F3: ");

    l.startupFinished = true;
    w.ui.answerInput("attack now");
    chooseOptionEntry(l, OptionButton::Phrase, 3);
    EXPECT_EQ(w.ui.prompts().back(), "Enter your phrase for F3 button here");
    EXPECT_EQ(phrase.caption, "Set phrase F3");
    EXPECT_EQ(phrase.tag, 3);
    EXPECT_EQ(phrase.entries[2], "F3: attack now");

    w.ui.answerInput(std::nullopt);
    w.ui.answerInput("");
    chooseOptionEntry(l, OptionButton::Phrase, 3);
    chooseOptionEntry(l, OptionButton::Phrase, 3);
    EXPECT_EQ(l.options.phrases[2], "attack now");
    EXPECT_EQ(phrase.entries[2], "F3: attack now");
}

} // namespace kv::test
