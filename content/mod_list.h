#pragma once
// The MOD list: one entry per non-original KDG archive of the game folder, checked when
// active (".kdg") and unchecked when switched off (".kvw"). The list is a view of the
// folder and is rebuilt after every change.
#include "kdg/archive_info.h"

#include <string>
#include <vector>

namespace kv::content {

// One archive's entry: its name and state, its description and, once read, the archive's
// own record.
struct ModEntry {
    std::string name; // file name without extension: the entry's text
    bool checked = false;
    std::string folder;   // the game folder
    std::string fileName; // name + ".kdg" or ".kvw", kept up to date by renaming
    // From the KDG description file, when there is one.
    bool descriptionLoaded = false;
    std::string description;
    std::string authorName;
    std::string authorEmail;
    std::string authorHomepage;
    std::vector<std::string> keyLines; // every key line, cleaned, in file order
    kdg::KdgArchiveInfo archive; // archive.Loaded once read

    std::string path() const { return folder + fileName; }
};

class ModList {
public:
    std::vector<ModEntry> entries;
    int selected = -1;
    // Set while the list is being rebuilt; check events are ignored meanwhile.
    bool loading = false;
    // The list is disabled while one entry is renamed.
    bool enabled = true;

    const ModEntry* selectedEntry() const;
    int indexOf(std::string_view name, bool checked) const;

    // "No KDG's selected" before the first refresh, then "Delete '<name>'" or "Delete".
    std::string deleteCaption = "No KDG's selected";
    bool deleteEnabled = false;
    void updateDeleteButton();
};

} // namespace kv::content
