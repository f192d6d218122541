// Renamer NEWFILE [--pid PID] [--target EXECUTABLE] [--no-start]
// Started by the launcher after it downloaded a new version of itself as NEWFILE (a name
// in the launcher's folder). Exit 0 when the new launcher runs, 1 on failure, 2 on bad use.
#include "tools/renamer/renamer.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

int usage() {
    std::fputs("usage: Renamer NEWFILE [--pid PID] [--target EXECUTABLE] [--no-start]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    namespace fs = std::filesystem;
    kv::renamer::Request r;
    std::string newName;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help") {
            std::puts("usage: Renamer NEWFILE [--pid PID] [--target EXECUTABLE] [--no-start]");
            return 0;
        }
        if (a == "--no-start") {
            r.start = false;
        } else if (a == "--pid" && i + 1 < argc) {
            r.waitForPid = std::strtol(argv[++i], nullptr, 10);
        } else if (a == "--target" && i + 1 < argc) {
            r.target = argv[++i];
        } else if (newName.empty() && !a.starts_with("--")) {
            newName = a;
        } else {
            return usage();
        }
    }
    if (newName.empty())
        return usage();
    std::error_code ec;
    const fs::path self = fs::absolute(argv[0], ec).parent_path();
#ifdef _WIN32
    const char* launcherName = "KVStarter.exe";
#else
    const char* launcherName = "kvstarter";
#endif
    if (r.target.empty())
        r.target = (self / launcherName).string();
    const fs::path folder = fs::path(r.target).parent_path();
    r.newFile = fs::path(newName).is_absolute() ? newName : (folder / newName).string();
    const kv::renamer::Outcome o = kv::renamer::replaceAndRestart(r);
    if (!o.ok) {
        std::fprintf(stderr, "Renamer: %s\n", o.error.c_str());
        return 1;
    }
    return 0;
}
