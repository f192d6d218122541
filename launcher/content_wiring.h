#pragma once
// The content area's steps as the launcher's sequences run them: each takes the launcher's
// content state and the environment of its current installation, and keeps the option
// set, which mirrors the lists' texts for the settings file, in step.
#include "content/content_env.h"

#include <string>

namespace kv {
class Launcher;
}

namespace kv {

// The environment of the launcher's current installation.
content::ContentEnv contentEnv(Launcher& launcher);

// The option set keeps the lists' texts for the settings file: copies them over.
void syncChoiceOptions(Launcher& launcher);

// Selects the option set's AI and rules names in the lists again; with `report`, a name
// missing from its catalogue is reported.
void reapplySelections(Launcher& launcher, bool report);
// The same, and the script slots follow the choices.
void reapplyChoices(Launcher& launcher, bool report);

// Start-up. A missing list of the game's own KDGs makes the launcher unusable: it says
// so and asks start-up to end.
void loadOriginalKdgs(Launcher& launcher);
void loadFileTypeTables(Launcher& launcher);
// Forgets the remembered AIs and the lists of installed files.
void resetPlayerAiBookkeeping(Launcher& launcher);
// The AI and rules catalogues and lists, with the option set's choices selected again.
void fillCatalogues(Launcher& launcher);
void copyAllAdditionalFiles(Launcher& launcher);
void refillKdgList(Launcher& launcher);

// The settings file. Selecting by name answers whether the name was found.
bool selectAi(Launcher& launcher, int player, const std::string& name);
bool selectRules(Launcher& launcher, const std::string& name);
// The customizing flags, read after the slot's choice; refused when it has no fields.
void enableAiCustomizing(Launcher& launcher, int player, bool on);
void enableRulesCustomizing(Launcher& launcher, bool on);
// The customizing preferences of every player.
void saveScriptPreferences(Launcher& launcher);

// Closing.
void deleteInstalledFiles(Launcher& launcher);
// The settings file is written next: the option set takes the lists' texts.
void copyDefaultFiles(Launcher& launcher);
// Unticked MODs whose ".kdg" is back become ".kvw".
void renameKdgs(Launcher& launcher);

} // namespace kv
