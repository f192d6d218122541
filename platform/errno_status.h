#pragma once
// The POSIX error number of a failed call as the Status the rest of the system shows:
// the run-time error number and its description, with the system's reason and the path.
#include "platform/status.h"

#include <string_view>

namespace kv::platform {

Status statusFromErrno(int e, std::string_view path);
// Why a folder, FIFO or device is not read as a file: a FIFO or device could block or
// never end, so readers take regular files only.
Status notRegularFileStatus(bool isFolder, std::string_view path);

} // namespace kv::platform
