#include "tools/renamer/renamer.h"

#include "platform/files.h"
#include "platform/shell.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#endif

namespace kv::renamer {

namespace fs = std::filesystem;

namespace {

bool processRunning(long pid) {
#ifdef _WIN32
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!h)
        return false;
    const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return running;
#else
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
    // An ended process nobody has reaped yet still answers kill(); its state says "Z".
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const size_t close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] != 'Z';
#endif
}

bool waitUntilEnded(long pid, int waitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (processRunning(pid)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace

std::string backupName(const std::string& target) {
    const fs::path p(target);
    const std::string ext = p.extension().string();
    const bool windowsName = ext.size() == 4 && (ext == ".exe" || ext == ".EXE" || ext == ".Exe");
    const std::string name =
        windowsName ? p.stem().string() + "_old" + ext : p.filename().string() + "_old";
    return (p.parent_path() / name).string();
}

Outcome replaceAndRestart(const Request& r) {
    Outcome out;
    std::error_code ec;
    if (!fs::is_regular_file(r.newFile, ec)) {
        out.error = "The new launcher \"" + r.newFile + "\" is missing.";
        return out;
    }
    if (r.waitForPid > 0 && !waitUntilEnded(r.waitForPid, r.waitMs)) {
        out.error = "Korvane Starter did not end; nothing was replaced.";
        return out;
    }
    const std::string backup = backupName(r.target);
    const bool hadOld = fs::exists(r.target, ec);
    auto perms = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                 fs::perms::others_read | fs::perms::others_exec;
    if (hadOld) {
        perms = fs::status(r.target, ec).permissions();
        (void)platform::clearAttributes(backup);
        fs::remove(backup, ec);
        fs::rename(r.target, backup, ec);
        if (ec) {
            out.error = "The old launcher could not be kept as \"" + backup + "\": " + ec.message();
            return out;
        }
    }
    auto putBack = [&](const std::string& why) {
        std::error_code ignored;
        if (hadOld) {
            fs::remove(r.target, ignored);
            fs::rename(backup, r.target, ignored);
        }
        out.error = why;
        return out;
    };
    fs::rename(r.newFile, r.target, ec);
    if (ec)
        return putBack("The new launcher could not be put in place: " + ec.message());
    fs::permissions(r.target, perms | fs::perms::owner_exec, ec);
    const std::string folder = fs::path(r.target).parent_path().string();
    const platform::StartResult started = platform::startProgram(r.target, "", folder);
    if (!started.ok) {
        // Keep the new file for a later try, under the downloaded name.
        std::error_code ignored;
        fs::rename(r.target, r.newFile, ignored);
        return putBack(started.error);
    }
    out.ok = true;
    return out;
}

} // namespace kv::renamer
