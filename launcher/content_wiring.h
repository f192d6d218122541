#pragma once
// Hooks the content area into the launcher's start-up and closing, and the few places
// where the launcher's option set mirrors the content state.
#include "content/content_env.h"

namespace kv {
class Launcher;
}

namespace kv::content {

// Fills the launcher's hooks with the content operations.
void wireContent(Launcher& launcher);

// The environment of the launcher's current installation.
ContentEnv contentEnv(Launcher& launcher);

// The option set keeps the lists' texts for the settings file: copies them over.
void syncChoiceOptions(Launcher& launcher);

// Selects the option set's AI and rules names in the lists again; with `report`, a name
// missing from its catalogue is reported.
void reapplySelections(Launcher& launcher, bool report);

} // namespace kv::content
