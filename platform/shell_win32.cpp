#include "platform/files.h"
#include "platform/shell.h"

#include <windows.h>

#include <shellapi.h>

namespace kv::platform {

namespace {

std::string lastErrorText(DWORD code) {
    char* buffer = nullptr;
    const DWORD n = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? std::string(buffer, n) : "error " + std::to_string(code);
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '.'))
        text.pop_back();
    return text;
}

} // namespace

bool programOnPath(std::string_view name) {
    const std::string file(name);
    char found[MAX_PATH];
    return !file.empty() &&
           ::SearchPathA(nullptr, file.c_str(), ".exe", MAX_PATH, found, nullptr) > 0;
}

Invocation programInvocation(std::string_view program, std::string_view parameters,
                             std::string_view) {
    Invocation run;
    run.argv.push_back(resolvePath(program));
    for (auto& arg : splitCommandLine(parameters))
        run.argv.push_back(std::move(arg));
    return run;
}

StartResult startProgram(std::string_view program, std::string_view parameters,
                         std::string_view workingFolder, WindowMode mode, std::string_view) {
    StartResult result;
    const std::string file = resolvePath(program);
    if (!fileExists(file)) {
        result.error = "The program \"" + std::string(program) + "\" was not found.";
        return result;
    }
    // The parameter text is passed on exactly as given; the program splits it itself.
    std::string commandLine = "\"" + file + "\"";
    if (!parameters.empty())
        commandLine += " " + std::string(parameters);
    const std::string folder = workingFolder.empty() ? std::string() : resolvePath(workingFolder);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = mode == WindowMode::Hidden ? SW_HIDE : SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        result.error = "The program \"" + std::string(program) +
                       "\" could not be started: " + lastErrorText(::GetLastError()) + ".";
        return result;
    }
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    result.ok = true;
    result.processId = long(info.dwProcessId);
    return result;
}

bool importRegistryIntoWine(std::string_view, const Invocation&, std::string& error, int) {
    error.clear(); // the system registry is the game's registry already
    return true;
}

bool shellOpen(std::string_view target) {
    const std::string what(target);
    const auto rc = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", what.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return rc > 32; // values up to 32 are error codes
}

} // namespace kv::platform
