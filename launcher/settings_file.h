#pragma once
// The settings file ("starter.ini", or the active global configuration's own file):
// one "key=value" line per option, written in a fixed order.
#include <string>
#include <vector>

namespace kv {

class Launcher;

struct SettingsEntry {
    std::string key;
    std::string value;
};

// The usable lines of a settings file: trimmed, split at the first "=" (text after a
// second "=" is dropped), lines without "=" or with an empty value left out.
std::vector<SettingsEntry> parseSettingsLines(const std::vector<std::string>& lines);

// Applies one entry to the launcher; unknown keys are ignored. Keys match in any case.
void applySetting(Launcher& launcher, const SettingsEntry& entry);

// The lines SaveDefaultValues writes, in their fixed order.
std::vector<std::string> formatSettings(const Launcher& launcher);

void GetDefaultValues(Launcher& launcher);
void SetDefaultValues(Launcher& launcher);
void SaveDefaultValues(Launcher& launcher);
// Deletes the active settings file, so the next start is a first run again: this run
// does not write it back.
void deleteConfigINI(Launcher& launcher);
// Reads the settings, then lays the window out and re-applies the AI and rules choices.
void PrepGetDefaultValues(Launcher& launcher);

} // namespace kv
