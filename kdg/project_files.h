#pragma once
// Adding the user's files to a KDG project and removing them again. The file's
// extension decides the project sub-folder, after a question where several fit.
#include "common/ui_port.h"
#include "kdg/project_builder.h"

#include <optional>
#include <string>
#include <vector>

namespace kv::kdg {

// The filter of the "Add file to KDG" dialog.
std::string addFileFilter();

// The question asked for a file of this name; no prompt when the file needs none.
// Nothing when the extension is not accepted.
struct FileQuestion {
    std::string prompt;
    std::vector<std::string> choices;
};
std::optional<FileQuestion> addFileQuestion(const std::string& fileName);

struct AddTarget {
    std::string subFolder; // '\' separated; empty for the project folder itself
    std::string aspectKey; // empty when no aspect is prepared
};
// Where a file of this name goes for the chosen answer, or nothing for an answer out of
// range.
std::optional<AddTarget> addTargetFor(const std::string& fileName, int choice);

// Adds `source` with the given answer (ignored for files that need no question):
// prepares the aspect, copies the file (replacing one of that name), lists it and fills
// a level-file slot. False when the file was refused or could not be copied. An empty
// `launcherFolder` takes the aspect's resource lists from the project itself.
bool addProjectFile(KdgProject& project, const std::string& source, int choice,
                    const std::string& launcherFolder, Ui& ui);

// The whole add-file flow: the file dialog, the question and addProjectFile.
bool AddFileDialog(KdgProject& project, const std::string& launcherFolder, Ui& ui);

// Deletes the listed file from the project and the list; a level file empties its slot
// and rewrites the batch file.
bool removeProjectFile(KdgProject& project, std::size_t index, Ui& ui);

} // namespace kv::kdg
