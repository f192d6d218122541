#pragma once
// The one place that decides whether a file may go. Every deletion, every rename over an
// existing file and every replacement in the game folder or the launcher folder is made
// here, told what kind of thing it removes. Each kind has its home folder(s) and a depth
// below them; a path outside is refused with the common error box and nothing changes.
// Symbolic links are removed as links: what they point to is never followed or touched.
//
// What the user deletes goes to the desktop trash, so a mistaken click can be undone from
// the file manager; what the launcher itself copied in is deleted for good.
#include "common/paths.h"
#include "common/ui_port.h"
#include "platform/status.h"

#include <string>
#include <string_view>

namespace kv {

enum class FileKind {
    InstalledCopy,       // a file the launcher copied into the game folder itself
    ModArchive,          // a .kdg / .kvw in the game folder
    Ai,                  // an AI's files in Mods\SkirmishAI
    RulesSet,            // a folder directly inside Mods\Rules
    DescriptionFile,     // an .ini in Mods\INI
    GlobalConfiguration, // Mods\Global INIs and its settings twin
    PreferenceFile,      // the launcher's own settings
    Temporary,           // step logs, batch files, leftovers of the launcher's own work
    Download,            // what the updater fetched into the launcher folder
    KdgProjectFile,      // a file of the KDG project being edited
};

// The name a user's own file is kept under while a launcher copy borrows its name.
inline constexpr std::string_view kKeptSuffix = ".kvs-kept";

class FileGate {
public:
    // `otherHome` is the KDG project folder for project files, empty elsewhere.
    FileGate(const Paths& paths, std::string gameFolder, Ui& ui, std::string otherHome = {});
    // For a KDG project's files only: the project folder is the one home.
    FileGate(Ui& ui, std::string projectFolder);

    bool allows(FileKind kind, std::string_view path) const;
    // allows(), and the common error box when not: for a replacement made elsewhere.
    bool admit(FileKind kind, std::string_view path) const;

    // Deleted for good (a folder with all it holds). True when nothing is left there.
    bool remove(FileKind kind, std::string_view path);
    // To the desktop trash; where there is none, to the launcher folder's Trash folder
    // under a time-stamped name. True when nothing is left there.
    bool trash(FileKind kind, std::string_view path);
    // `to` replaced by a copy of `from`. A refusal is returned, not shown: the caller
    // reports it with its own failures.
    platform::Status copyOver(FileKind kind, std::string_view from, std::string_view to);
    // `from` takes the name `to`; an existing `to` is deleted first.
    bool renameOver(FileKind kind, std::string_view from, std::string_view to);

    // A user's file at `path` moved aside under its kept name before a launcher copy
    // takes the name. True when the name is free now.
    bool keepAside(FileKind kind, std::string_view path);
    // The launcher's copy at `path` deleted and the user's kept file put back.
    void putBack(FileKind kind, std::string_view path);
    // Kept files a crash left in `folder` put back (launcher copies over them deleted).
    void putBackLeftovers(FileKind kind, std::string_view folder);

private:
    static std::string refusal(FileKind kind, std::string_view path);
    bool refuse(FileKind kind, std::string_view path) const;
    bool removeEntry(const std::string& path) const;
    bool moveToLauncherTrash(const std::string& path);

    Paths paths_;
    std::string gameFolder_;
    Ui& ui_;
    std::string otherHome_;
};

} // namespace kv
