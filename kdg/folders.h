#pragma once
// Folder helpers of the extraction.
#include "common/ui_port.h"

#include <string>

namespace kv::kdg {

// True when the trimmed path is not blank and names an existing folder.
bool FolderExists(const std::string& path);

// Creates every missing folder along `path` (split at '\' or '/'), letting pending
// window messages run after each creation; whether `path` then exists as a folder.
bool MakeDirTree(const std::string& path, Ui& ui);

} // namespace kv::kdg
