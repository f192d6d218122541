#include "content/mod_archive.h"

#include "kdg/archive_reader.h"
#include "kdg/file_list.h"
#include "platform/files.h"

namespace kv::content {

namespace {

ModEntry* selectedEntry(ContentState& state) {
    ModList& mods = state.mods;
    if (mods.selected < 0 || size_t(mods.selected) >= mods.entries.size())
        return nullptr;
    return &mods.entries[size_t(mods.selected)];
}

// The folder the user chose, trimmed; nothing when cancelled or blank.
std::optional<std::string> askFolder(const ContentEnv& env, const std::string& title,
                                     const std::string& startFolder) {
    std::optional<std::string> folder = env.ui.pickFolder(title, startFolder);
    if (!folder)
        return std::nullopt;
    const auto first = folder->find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    return folder->substr(first, folder->find_last_not_of(" \t") - first + 1);
}

} // namespace

bool loadSelectedModArchive(ContentState& state, const ContentEnv& env) {
    ModEntry* entry = selectedEntry(state);
    if (!entry)
        return false;
    if (!kdg::LoadArchiveInfo(entry->path(), entry->archive, state.nameTables)) {
        env.ui.message(kArchiveLoadError, Icon::Exclamation);
        return false;
    }
    return true;
}

std::optional<mapview::MapPreview> selectedModMapPreview(const ContentState& state,
                                                         const ContentEnv& env, bool previewOn) {
    const ModEntry* entry = state.mods.selectedEntry();
    if (!entry || !previewOn)
        return std::nullopt;
    std::string bytes;
    (void)platform::readFile(entry->path(), bytes); // an unreadable file has no maps
    mapview::MapPreview preview = mapview::buildMapPreview(bytes);
    if (preview.result == mapview::MapPreview::Result::WrongDimensions)
        env.ui.message(preview.message(), Icon::Exclamation);
    return preview;
}

ModExtraction extractSelectedMod(ContentState& state, const ContentEnv& env, Progress& progress,
                                 const std::string& startFolder) {
    ModExtraction done;
    ModEntry* entry = selectedEntry(state);
    if (!entry)
        return done;
    const std::optional<std::string> folder = askFolder(env, "Extract to...", startFolder);
    if (!folder || !kdg::LoadArchiveInfo(entry->path(), entry->archive, state.nameTables))
        return done;
    state.archiveFiles = kdg::archiveFileListItems(entry->archive);
    done.folder = *folder;
    done.result = kdg::ExtractArchive(entry->path(), *folder, entry->archive, env.ui, progress);
    return done;
}

bool saveSelectedModFileList(ContentState& state, const ContentEnv& env) {
    ModEntry* entry = selectedEntry(state);
    if (!entry)
        return false;
    const std::optional<std::string> folder =
        askFolder(env, "Save List of Files...", env.gameFolder);
    if (!folder)
        return false;
    kdg::LoadArchiveInfo(entry->path(), entry->archive, state.nameTables);
    return kdg::SaveFileList(entry->path(), *folder, entry->archive, env.ui);
}

void ShowLowerPanel(ContentState& state, std::string_view which) {
    if (const auto panel = kdg::lowerPanelNamed(which))
        state.lowerPanel = *panel;
}

} // namespace kv::content
