#pragma once
// The options toolbar: choosing a drop-down entry or clicking a button sets the
// button's caption and tag and applies the choice to the option set.
#include "core/options.h"

namespace kv {

class Launcher;

// `entry` is 1-based, as the button's tag.
void chooseOptionEntry(Launcher& launcher, OptionButton button, int entry);
// A click on the button itself takes the entry after the tag's, from the last back to
// the first.
void clickOptionButton(Launcher& launcher, OptionButton button);

void setAlliances(Launcher& launcher, bool on);
// Ignores a speed below 0 or above 16; 0 means the default 2.
void SetScrollSpeed(Launcher& launcher, int speed);
// Puts phrase `index` (0..4) into its menu entry as "F1: text".
void showPhraseEntry(OptionSet& options, int index);

} // namespace kv
