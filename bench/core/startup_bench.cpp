// CPU time (user + system) from process start to the first painted main window:
// kvstarter on the demo world against a bare Qt window (800x600, one label), the two run
// in turn on the same display. Run it under `xvfb-run -a`; figures that mean something
// come from a Release build. Prints the medians and their ratio; exits 1 over budget.
#include "tools/demo/demo_world.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr double kBudget = 1.8;

double cpuMilliseconds(const rusage& usage) {
    return (double(usage.ru_utime.tv_sec) + double(usage.ru_stime.tv_sec)) * 1e3 +
           (double(usage.ru_utime.tv_usec) + double(usage.ru_stime.tv_usec)) / 1e3;
}

// Runs `program` until it exits after its first paint; its CPU time in ms, or a negative
// figure when it did not end well.
double runToFirstPaint(const std::string& program, const std::string& configHome) {
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        ::setenv("KV_EXIT_AFTER_FIRST_PAINT", "1", 1);
        // The launcher's registry store and window places stay inside the benchmark.
        ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return cpuMilliseconds(usage);
}

double median(std::vector<double> figures) {
    std::sort(figures.begin(), figures.end());
    const size_t n = figures.size();
    return n % 2 ? figures[n / 2] : (figures[n / 2 - 1] + figures[n / 2]) / 2;
}

// The demo world with kvstarter beside its launcher files (its folder is its
// executable's) and the stand-in game in the game folder; the executable to start.
std::string prepareLauncher(const fs::path& root, std::string& error) {
    kv::demo::DemoWorld world;
    if (!kv::demo::writeDemoWorld(root.string(), true, world, error))
        return {};
    std::error_code failed;
    const fs::path starter = fs::path(world.launcherFolder) / "kvstarter";
    fs::copy_file(KV_STARTER_EXE, starter, fs::copy_options::overwrite_existing, failed);
    if (!failed)
        fs::copy_file(KV_STANDIN_GAME_EXE, fs::path(world.gameFolder) / "korvane.exe",
                      fs::copy_options::overwrite_existing, failed);
    if (failed) {
        error = failed.message();
        return {};
    }
    return starter.string();
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    if (!std::getenv("DISPLAY")) {
        std::fputs("startup_bench needs a display of its own: run it under xvfb-run -a\n", stderr);
        return 2;
    }
    std::string pattern = (fs::temp_directory_path() / "kvstartup-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    const fs::path root = pattern;
    std::string error;
    const std::string launcher = prepareLauncher(root / "demo", error);
    if (launcher.empty()) {
        std::fprintf(stderr, "startup_bench: %s\n", error.c_str());
        fs::remove_all(root);
        return 1;
    }
    const std::string configHome = (root / "config").string();

    // One unmeasured run each first: the first start fills caches the others share.
    std::vector<double> bare, starter;
    for (int i = -1; i < runs; ++i) {
        const double b = runToFirstPaint(KV_BARE_WINDOW_EXE, configHome);
        const double s = runToFirstPaint(launcher, configHome);
        if (b < 0 || s < 0) {
            std::fprintf(stderr, "startup_bench: the %s did not exit after its first paint\n",
                         b < 0 ? "bare window" : "launcher");
            fs::remove_all(root);
            return 1;
        }
        if (i >= 0) {
            bare.push_back(b);
            starter.push_back(s);
        }
    }
    fs::remove_all(root);
    const double ratio = median(starter) / median(bare);
    std::printf("CPU time to the first paint, median of %d runs each\n", runs);
    std::printf("  bare Qt window       %8.1f ms\n", median(bare));
    std::printf("  kvstarter, demo world %7.1f ms\n", median(starter));
    std::printf("  ratio %.2f (budget %.1f)\n", ratio, kBudget);
    return ratio <= kBudget ? 0 : 1;
}
