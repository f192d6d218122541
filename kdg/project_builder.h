#pragma once
// The folder of a new KDG archive project: the game's data tree for the aspects a mod
// changes, the archive tool and its resource lists, and the batch file that runs the
// tool. The launcher only prepares the folder; the user runs the batch file.
#include "common/ui_port.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kv::kdg {

inline constexpr const char* kBatchFileName = "Create KDG file now!.bat";
// Runs the batch file through Wine, so the project can be built on Linux as well.
inline constexpr const char* kShellScriptName = "Create KDG file now!.sh";
inline constexpr const char* kToolName = "MakeKDG.exe";
inline constexpr std::size_t kMaxProjectFiles = 201;

struct ProjectFile {
    std::string name;      // the file name
    std::string subFolder; // where in the project it was copied ('\' separated, may be empty)
    std::string type;      // the aspect key, or "lev"
};

struct KdgProject {
    std::string folder; // full path without a trailing separator
    std::string name;   // the folder's last part
    std::string addonLev;
    std::string gamedescLev;
    std::vector<ProjectFile> files;

    bool isSet() const { return !folder.empty(); }
    // Sets the folder and takes the name from its last part.
    void setFolder(std::string_view path);
    // A project path of a file in the project ("sub\name" joined onto the folder).
    std::string pathOf(const ProjectFile& file) const;
};

struct ProjectAspect {
    const char* choiceText;
    const char* key;
    std::vector<const char*> folders;
    std::vector<const char*> resourceLists;
    const char* resourceTarget; // under the project folder
};

// The aspects in the order they are offered and prepared.
const std::vector<ProjectAspect>& projectAspects();
const ProjectAspect* findAspect(std::string_view key);

// The first blank-separated word of the project name.
std::string projectWord(std::string_view name);

std::string MakeKDGCommandLine(const KdgProject& project);

// Writes the batch file (the command line as its one CR LF line) and, on POSIX, the
// shell script beside it. False (after the error box) when a file cannot be written.
bool CreateBat(const KdgProject& project, bool deleteOld, Ui& ui);

// Creates the aspect's folders and copies its resource lists from the launcher's
// "resources" folder. An unknown key shows "error: " and the key. With an empty
// `launcherFolder` the lists must already be in the project, else nothing is made.
bool AddResourceFiles(const KdgProject& project, std::string_view key,
                      const std::string& launcherFolder, Ui& ui);

// Creates the project folder when `createFolder`, copies the tool in as a hidden file
// and writes the batch file.
bool createEmptyDir(const KdgProject& project, bool createFolder, const std::string& launcherFolder,
                    Ui& ui);

// As createEmptyDir, then prepares each chosen aspect (indices into projectAspects()) in
// table order; "messages" is left out when "stats" is chosen, which covers it.
bool createFilledDir(const KdgProject& project, const std::vector<int>& aspects,
                     const std::string& launcherFolder, Ui& ui);

// Reads the level-file slots of an existing project folder from the files on disk.
KdgProject openExistingProject(std::string_view folder);

} // namespace kv::kdg
