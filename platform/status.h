#pragma once
#include <string>

namespace kv::platform {

// Outcome of a file-system call. Codes are the run-time error numbers the launcher's
// messages have always shown (53 "File not found", 70 "Permission denied", ...), so an
// operation can hand them straight to the common error box.
struct Status {
    int code = 0;
    std::string description;

    explicit operator bool() const { return code == 0; }
    static Status ok() { return {}; }
};

// Error numbers used across the platform layer.
namespace err {
inline constexpr int FileNotFound = 53;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
} // namespace err

} // namespace kv::platform
