#include "platform/files.h"
#include "platform/shell.h"
#include "platform/wine_prefix.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kv::platform {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string absolute(const std::string& path) {
    if (path.empty() || path.front() == '/')
        return path;
    return currentDirectory() + path;
}

// Windows executables begin with the DOS header's "MZ".
bool isWindowsExecutable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char magic[2] = {};
    const bool mz = ::read(fd, magic, 2) == 2 && magic[0] == 'M' && magic[1] == 'Z';
    ::close(fd);
    return mz;
}

bool isAddress(std::string_view target) {
    return target.find("://") != std::string_view::npos || target.substr(0, 7) == "mailto:";
}

// The launcher's environment with `additions` ("NAME=value") replacing or joining it. The
// strings are kept in `storage`; the pointers, ended by a null, go to posix_spawn.
std::vector<char*> environmentWith(const std::vector<std::string>& additions,
                                   std::vector<std::string>& storage) {
    storage.clear();
    for (char** e = environ; *e; ++e) {
        const std::string_view entry(*e);
        const std::string_view name = entry.substr(0, entry.find('=') + 1);
        bool replaced = name.empty();
        for (const std::string& a : additions)
            replaced = replaced || a.compare(0, name.size(), name) == 0;
        if (!replaced)
            storage.emplace_back(entry);
    }
    storage.insert(storage.end(), additions.begin(), additions.end());
    std::vector<char*> pointers;
    for (std::string& s : storage)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

std::string wineMissing(const std::string& wine) {
    return wine.find('/') == std::string::npos ? "(no \"" + wine + "\" on the search path)"
                                               : "(\"" + wine + "\" was not found)";
}

struct Spawned {
    long pid = 0;
    int error = 0;
};

// Starts argv in its own session, so the program outlives the launcher and a terminal's
// Ctrl-C does not reach it. A detached thread reaps it: nothing waits for the program,
// yet no zombie is left behind, and no process-wide SIGCHLD handling is taken over.
Spawned spawnDetached(const Invocation& invocation, const std::string& folder, bool hidden) {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    if (hidden) {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> args;
    for (const auto& a : invocation.argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<std::string> storage;
    std::vector<char*> env = environmentWith(invocation.environment, storage);
    pid_t pid = 0;
    const int rc = ::posix_spawnp(&pid, args[0], &actions, &attr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0)
        return {0, rc};
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return {long(pid), 0};
}

} // namespace

bool programOnPath(std::string_view name) {
    if (name.empty())
        return false;
    if (name.find('/') != std::string_view::npos)
        return isExecutableFile(std::string(name));
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        std::string candidate(dir.empty() ? std::string_view(".") : dir);
        candidate += '/';
        candidate += name;
        if (isExecutableFile(candidate))
            return true;
        if (colon == std::string_view::npos)
            return false;
        dirs.remove_prefix(colon + 1);
    }
}

Invocation programInvocation(std::string_view program, std::string_view parameters,
                             std::string_view wineCommand) {
    const std::string file = absolute(resolvePath(program));
    Invocation run;
    run.throughWine = isWindowsExecutable(file);
    if (run.throughWine) {
        run.argv.emplace_back(wineCommand.empty() ? kDefaultWineCommand : wineCommand);
        // Without WINEPREFIX Wine would make and use ~/.wine, not the game's own prefix.
        const char* chosen = std::getenv("WINEPREFIX");
        const std::string prefix = winePrefixOf(file);
        if ((!chosen || !*chosen) && !prefix.empty())
            run.environment.push_back("WINEPREFIX=" + prefix);
    }
    run.argv.push_back(file);
    for (auto& arg : splitCommandLine(parameters))
        run.argv.push_back(std::move(arg));
    return run;
}

StartResult startProgram(std::string_view program, std::string_view parameters,
                         std::string_view workingFolder, WindowMode mode,
                         std::string_view wineCommand) {
    StartResult result;
    const std::string file = absolute(resolvePath(program));
    if (!fileExists(file)) {
        result.error = "The program \"" + std::string(program) + "\" was not found.";
        return result;
    }
    std::string folder;
    if (!workingFolder.empty()) {
        folder = resolvePath(workingFolder);
        if (!folderExists(folder)) {
            result.error = "The folder \"" + std::string(workingFolder) + "\" was not found.";
            return result;
        }
    }
    const Invocation invocation = programInvocation(file, parameters, wineCommand);
    if (invocation.throughWine && !programOnPath(invocation.argv.front())) {
        result.error = '"';
        result.error += program;
        result.error += "\" is a Windows program, and Wine is not installed to run it " +
                        wineMissing(invocation.argv.front()) + ".";
        return result;
    }
    const Spawned spawned = spawnDetached(invocation, folder, mode == WindowMode::Hidden);
    if (spawned.error != 0) {
        result.error = "The program \"" + std::string(program) +
                       "\" could not be started: " + std::strerror(spawned.error) + ".";
        return result;
    }
    result.ok = true;
    result.processId = spawned.pid;
    return result;
}

bool importRegistryIntoWine(std::string_view regFile, const Invocation& forProgram,
                            std::string& error, int timeoutMs) {
    error.clear();
    const std::string wine = forProgram.throughWine ? forProgram.argv.front() : kDefaultWineCommand;
    if (!programOnPath(wine)) {
        error = "Wine is not installed " + wineMissing(wine) + ".";
        return false;
    }
    // Wine's drive Z: is the root folder; a bare "/..." would read as a switch.
    std::string file = "Z:" + absolute(resolvePath(regFile));
    for (char& c : file)
        if (c == '/')
            c = '\\';
    const char* argv[] = {wine.c_str(), "regedit", "/S", file.c_str(), nullptr};
    std::vector<std::string> storage;
    std::vector<char*> env = environmentWith(forProgram.environment, storage);
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int rc = ::posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv),
                                  env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        error = std::string("Wine could not be started: ") + std::strerror(rc) + ".";
        return false;
    }
    int status = 0;
    for (int waited = 0;; waited += 20) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR) {
            error = "The Wine registry import was lost.";
            return false;
        }
        if (waited >= timeoutMs) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            error = "The Wine registry import did not finish in time.";
            return false;
        }
        ::usleep(20000);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "The Wine registry import failed.";
        return false;
    }
    return true;
}

bool shellOpen(std::string_view target) {
    if (target.empty() || !programOnPath("xdg-open"))
        return false;
    const std::string what = isAddress(target) ? std::string(target) : resolvePath(target);
    return spawnDetached({{}, {"xdg-open", what}}, {}, true).error == 0;
}

} // namespace kv::platform
