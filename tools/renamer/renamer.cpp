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

// A second name for `from`; a copy where the file system keeps no hard links.
bool secondName(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::remove(to, ec);
    fs::create_hard_link(from, to, ec);
    if (ec) {
        ec.clear();
        fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    }
    return !ec;
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
        if (!secondName(r.target, backup)) {
            out.error = "The old launcher could not be kept as \"" + backup + "\".";
            return out;
        }
    }
    fs::permissions(r.newFile, perms | fs::perms::owner_exec, ec);
    // One rename replaces the old launcher by the new: never a moment without either.
    fs::rename(r.newFile, r.target, ec);
    if (ec) {
        out.error = "The new launcher could not be put in place: " + ec.message();
        return out;
    }
    if (!r.start) {
        out.ok = true;
        return out;
    }
    const std::string folder = fs::path(r.target).parent_path().string();
    const platform::StartResult started = platform::startProgram(r.target, "", folder);
    if (started.ok) {
        out.ok = true;
        return out;
    }
    out.error = started.error.empty() ? "the new launcher did not start" : started.error;
    // Keep the new file for a later try under the downloaded name, then put the old one
    // back by the same single rename.
    std::error_code ignored;
    (void)secondName(r.target, r.newFile);
    const std::string restore = r.target + ".restore";
    if (hadOld && secondName(backup, restore)) {
        fs::rename(restore, r.target, ignored);
        fs::permissions(r.target, perms, ignored);
        std::string reason = out.error;
        for (char& c : reason)
            if (c == '"' || c == '\\' || c == '\r' || c == '\n')
                c = ' ';
        out.rolledBack = platform::startProgram(r.target, std::string(kRolledBackSwitch) +
                                                              " \"" + reason + "\"",
                                                folder)
                             .ok;
    }
    return out;
}

} // namespace kv::renamer
