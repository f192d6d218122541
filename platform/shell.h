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

// What startProgram runs, as the preview shows it and the launch does it.
struct Invocation {
    std::vector<std::string> environment; // "NAME=value", added to the launcher's own
    std::vector<std::string> argv;        // the program first
    bool throughWine = false;
};

// The Wine program used when none is configured.
inline constexpr const char* kDefaultWineCommand = "wine";

// The invocation startProgram would run. On POSIX a Windows executable (the file begins
// with "MZ") goes through `wineCommand` (empty: "wine"), with WINEPREFIX naming the Wine
// prefix the program lies in, unless the user set WINEPREFIX already.
Invocation programInvocation(std::string_view program, std::string_view parameters,
                             std::string_view wineCommand = {});

// Starts `program` with the parameter text in `workingFolder` (empty: the current
// directory) and returns at once; the child is never waited for.
StartResult startProgram(std::string_view program, std::string_view parameters,
                         std::string_view workingFolder = {}, WindowMode mode = WindowMode::Normal,
                         std::string_view wineCommand = {});

// Imports a REGEDIT4 file into Wine's registry ("wine regedit /S") with the Wine and the
// prefix `forProgram` runs with, so a Windows game started through Wine sees the values
// the launcher wrote to the registry store. Waits for the import, at most `timeoutMs`.
// True at once on Windows, where there is no Wine.
bool importRegistryIntoWine(std::string_view regFile, const Invocation& forProgram,
                            std::string& error, int timeoutMs = 30000);

// True when an executable of that name is on the search path.
bool programOnPath(std::string_view name);

} // namespace kv::platform
