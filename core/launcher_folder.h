#pragma once
// Where the launcher keeps its files. A copy unpacked anywhere keeps them beside its
// executable, as it always has. A copy installed for everybody (the executable in
// PREFIX/bin, its shipped files in PREFIX/share/korvane-starter/launcher) cannot write
// there: each user gets a launcher folder of their own, filled from the shipped files.
#include <string>
#include <string_view>

namespace kv {

struct LauncherFolderChoice {
    std::string folder;     // with a trailing separator
    bool installed = false; // true: the per-user folder of an installed copy
    std::string error;      // set when the per-user folder could not be filled
};

// The shipped files of an installed copy whose executable is in `programFolder`, or an
// empty text when the copy is not an installed one.
std::string shippedLauncherFiles(std::string_view programFolder);

// Chooses the launcher folder for the executable in `programFolder`. For an installed
// copy, files missing from the user's folder are copied from the shipped ones; a file
// the user already has is never replaced.
LauncherFolderChoice chooseLauncherFolder(std::string_view programFolder);

} // namespace kv
