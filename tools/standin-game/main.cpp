// The stand-in game: a native program that behaves like Korvane Tactics as far as the
// launcher and its debug monitor can see.
//
// Stand-in-only settings (the launcher never sets them):
//   KV_STANDIN_REGISTRY       the registry store file (default: the per-user store)
//   KV_STANDIN_REPORT         a file that receives the arguments, one per line
//   KV_STANDIN_QUIT_AFTER_MS  quit by itself after that many milliseconds
#include "platform/files.h"
#include "platform/registry.h"
#include "tools/standin-game/game_window.h"

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <sys/prctl.h>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

int main(int argc, char** argv) {
    using namespace kv;
    // Taken before Qt sees them: Qt removes arguments it knows, such as "-name".
    const std::vector<std::string> arguments(argv + 1, argv + argc);

    // The debug monitor reads our memory; let it, even when it is not our parent.
    ::prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);

    if (const std::string report = environment("KV_STANDIN_REPORT"); !report.empty()) {
        std::string lines;
        for (const auto& a : arguments)
            lines += a + "\n";
        platform::writeFileAtomic(report, lines);
    }

    standin::MemoryTable memory;
    std::string memoryError;
    if (memory.map(memoryError))
        memory.tick(0);

    QApplication app(argc, argv);
    std::string store = environment("KV_STANDIN_REGISTRY");
    if (store.empty())
        store = platform::defaultRegistryStorePath();
    const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";
    const standin::GameWorld world = standin::readGameWorld(folder, store);

    standin::GameWindow window(arguments, world, memory, memoryError);
    window.show();
    if (const long ms = std::atol(environment("KV_STANDIN_QUIT_AFTER_MS").c_str()); ms > 0) {
        // A coarse timer may fire up to 5 % early; callers rely on the game living that long.
        QTimer::singleShot(int(ms), Qt::PreciseTimer, &app, &QCoreApplication::quit);
    }
    return app.exec();
}
