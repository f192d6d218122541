#pragma once
// The POSIX error number of a failed call as the Status the rest of the system shows:
// the run-time error number and its description, with the system's reason and the path.
#include "platform/status.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kv::platform {

Status statusFromErrno(int e, std::string_view path);
// Why a folder, FIFO or device is not read as a file: a FIFO or device could block or
// never end, so readers take regular files only.
Status notRegularFileStatus(bool isFolder, std::string_view path);
// Opens a regular file for reading and tells its size; anything else is refused and no
// descriptor is left open. Non-blocking, so that a FIFO is refused instead of waiting for
// a writer; a regular file reads the same either way.
Status openRegularFile(const std::string& full, int& fd, std::uint64_t& size);

} // namespace kv::platform
