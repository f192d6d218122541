#pragma once
// Shell and process services.
#include <string>
#include <string_view>
#include <vector>

namespace kv::platform {

struct StartResult {
    bool ok = false;
    long processId = 0;
    std::string error; // a sentence the user can read when !ok
};

enum class WindowMode { Normal, Hidden };

// "open" a folder, file, web address or mailto address with the desktop's handler.
bool shellOpen(std::string_view target);

// Splits a Windows-style parameter text into arguments (blanks separate, double quotes
// group, backslashes before a quote escape it).
std::vector<std::string> splitCommandLine(std::string_view parameters);

// The argument vector that startProgram would run: a Windows executable (the file
// begins with "MZ") goes through `wine` on POSIX.
std::vector<std::string> programInvocation(std::string_view program, std::string_view parameters);

// Starts `program` with the parameter text in `workingFolder` (empty: the current
// directory) and returns at once; the child is never waited for.
StartResult startProgram(std::string_view program, std::string_view parameters,
                         std::string_view workingFolder = {}, WindowMode mode = WindowMode::Normal);

// Imports a REGEDIT4 file into Wine's registry ("wine regedit /S"), so a Windows game
// started through Wine sees the values the launcher wrote to the registry store. Waits
// for the import, at most `timeoutMs`. True at once on Windows, where there is no Wine.
bool importRegistryIntoWine(std::string_view regFile, std::string& error, int timeoutMs = 30000);

// True when an executable of that name is on the search path.
bool programOnPath(std::string_view name);

} // namespace kv::platform
