#include "launcher/options_toolbar.h"

#include "common/ui_port.h"
#include "core/text_util.h"
#include "launcher/launcher.h"

namespace kv {

void showPhraseEntry(OptionSet& options, int index) {
    auto& entries = options.button(OptionButton::Phrase).entries;
    if (index < 0 || size_t(index) >= entries.size())
        return;
    // Appended piece by piece: "F" + to_string(...) trips a false -Wrestrict in GCC 12.
    std::string text = "F";
    text += std::to_string(index + 1);
    text += ": ";
    text += options.phrases[size_t(index)];
    entries[size_t(index)] = std::move(text);
}

void chooseOptionEntry(Launcher& launcher, OptionButton button, int entry) {
    OptionSet& options = launcher.options;
    ToolbarOption& b = options.button(button);
    if (entry < 1 || size_t(entry) > b.entries.size())
        return;
    const std::string text = b.entries[size_t(entry - 1)];
    switch (button) {
    case OptionButton::Alliances:
    case OptionButton::Bases:
    case OptionButton::Intro:
    case OptionButton::Debug:
        b.caption = text;
        b.tag = entry;
        break;
    case OptionButton::ScrollSpeed:
        b.caption = "Scroll speed " + text;
        b.tag = entry;
        options.scrollSpeed = toInt16(text).value_or(entry);
        break;
    case OptionButton::Phrase: {
        // While the settings are read the phrases are only shown, never asked for.
        if (launcher.startupFinished) {
            const std::string n = std::to_string(entry);
            b.caption = "Set phrase F" + n;
            b.tag = entry;
            auto answer = launcher.ui().input("Enter your phrase for F" + n + " button here");
            if (answer && !answer->empty())
                options.phrases[size_t(entry - 1)] = *answer;
        }
        showPhraseEntry(options, entry - 1);
        break;
    }
    }
    launcher.view().fixToolbarSize();
}

void clickOptionButton(Launcher& launcher, OptionButton button) {
    const ToolbarOption& b = launcher.options.button(button);
    int next = b.tag + 1;
    if (next < 1 || size_t(next) > b.entries.size())
        next = 1;
    chooseOptionEntry(launcher, button, next);
}

void setAlliances(Launcher& launcher, bool on) {
    chooseOptionEntry(launcher, OptionButton::Alliances, on ? 1 : 2);
}

void SetScrollSpeed(Launcher& launcher, int speed) {
    const int entries = int(launcher.options.button(OptionButton::ScrollSpeed).entries.size());
    if (speed < 0 || speed > entries)
        return;
    if (speed == 0)
        speed = 2;
    launcher.options.scrollSpeed = speed;
    launcher.options.button(OptionButton::ScrollSpeed).tag = speed;
    chooseOptionEntry(launcher, OptionButton::ScrollSpeed, speed);
}

} // namespace kv
