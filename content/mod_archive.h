#pragma once
// What the MODs page does with the selected MOD's archive: read it for the information
// panel, draw its map preview, extract it and write the list of its files.
#include "common/progress.h"
#include "content/content_env.h"
#include "content/content_state.h"
#include "mapview/map_preview.h"

#include <optional>
#include <string>

namespace kv::content {

inline constexpr const char* kArchiveLoadError = "List1_Click() - Error loading kdg.";

// Reads the selected MOD's archive into its entry with the loaded name tables. False
// without a selection; a read failure also tells the user.
bool loadSelectedModArchive(ContentState& state, const ContentEnv& env);

// The selected MOD's map preview, drawn from its archive's bytes; nothing without a
// selection or while previews are off. Wrong dimensions are also put to the user.
std::optional<mapview::MapPreview> selectedModMapPreview(const ContentState& state,
                                                         const ContentEnv& env, bool previewOn);

// "Extract to...": asks for a folder and extracts the selected MOD's archive into it;
// once the archive is read, its files are the new archive file list.
// False when nothing was extracted to the end (no selection, cancelled, unreadable,
// aborted or stopped).
bool extractSelectedMod(ContentState& state, const ContentEnv& env, Progress& progress);

// "Save List of Files...": asks for a folder and writes the archive's file list there.
bool saveSelectedModFileList(ContentState& state, const ContentEnv& env);

// Switches the lower panel; an unknown name leaves it as it is.
void ShowLowerPanel(ContentState& state, std::string_view which);

} // namespace kv::content
