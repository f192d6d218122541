// The Windows stand-in game: a plain Win32 program that behaves like Korvane Tactics as
// far as the launcher and its debug monitor can see, run under Wine on Linux.
//
// Stand-in-only settings, as for the native stand-in (the launcher never sets them):
//   KV_STANDIN_REPORT         a file that receives the arguments, one per line
//   KV_STANDIN_QUIT_AFTER_MS  quit by itself after that many milliseconds
// and one of its own, as its window cannot be read from Linux:
//   KV_STANDIN_WORLD_REPORT   a file that receives the registry lines it shows
#include "platform/files.h"
#include "tools/standin-game/win32/win32_game_window.h"

#include <cstdlib>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Under Wine a Linux path ("/tmp/x") is reached through the drive that maps the root.
std::string windowsPath(std::string path) {
    if (!path.empty() && path.front() == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string programFolder() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

} // namespace

int main(int argc, char** argv) {
    using namespace kv;
    standin::Win32GameSetup setup;
    setup.arguments.assign(argv + 1, argv + argc);

    if (const std::string report = environment("KV_STANDIN_REPORT"); !report.empty()) {
        std::string lines;
        for (const auto& a : setup.arguments)
            lines += a + "\n";
        platform::writeFileAtomic(windowsPath(report), lines);
    }

    standin::Win32MemoryTable memory;
    if (memory.map(setup.memoryError))
        memory.tick(0);
    // The system registry is the game's registry: no store file.
    setup.world = standin::readGameWorld(programFolder(), {});
    if (const std::string report = environment("KV_STANDIN_WORLD_REPORT"); !report.empty()) {
        std::string lines;
        for (const auto& line : setup.world.registry)
            lines += line + "\n";
        platform::writeFileAtomic(windowsPath(report), lines);
    }
    setup.quitAfterMs = unsigned(std::atol(environment("KV_STANDIN_QUIT_AFTER_MS").c_str()));
    return standin::runGameWindow(setup, memory);
}
