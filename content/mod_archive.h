#pragma once
// What the MODs page does with the selected MOD's archive: read it for the information
// panel, draw its map preview, extract it and write the list of its files.
#include "common/progress.h"
#include "content/content_env.h"
#include "content/content_state.h"
#include "kdg/extraction.h"
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

// An extraction: its folder and what was written there. Completed only when every file
// was (not after no selection, a cancel, an unreadable archive, an abort or a stop).
struct ModExtraction {
    std::string folder; // where the files went; empty when no folder was chosen
    kdg::ExtractResult result;
    bool completed() const {
        return !folder.empty() && result.outcome == kdg::ExtractOutcome::Completed;
    }
};
// "Extract to...": asks for a folder and extracts the selected MOD's archive into it;
// once the archive is read, its files are the new archive file list. The folder dialog
// opens in `startFolder`: never the game folder by default, where loose files would
// change the game and nothing would ever remove them.
ModExtraction extractSelectedMod(ContentState& state, const ContentEnv& env, Progress& progress,
                                 const std::string& startFolder);

// "Save List of Files...": asks for a folder and writes the archive's file list there.
bool saveSelectedModFileList(ContentState& state, const ContentEnv& env);

// Switches the lower panel; an unknown name leaves it as it is.
void ShowLowerPanel(ContentState& state, std::string_view which);

} // namespace kv::content
