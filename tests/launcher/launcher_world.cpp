#include "tests/launcher/launcher_world.h"

#include "platform/text.h"

namespace kv::test {

LauncherWorld::LauncherWorld() : root(tmp / "kvs/") {
    tmp.write("kvs/Mods/.keep", "");
    tmp.write("kvs/Settings/KVS/OriginalKDGs.ini", "");
    registry = platform::makeRegistryBackend(tmp / "registry.reg");
    restart();
}

void LauncherWorld::restart() {
    launcher.reset();
    launcher = std::make_unique<Launcher>(root, ui, *registry, [this](const std::string& t) {
        opened.push_back(t);
        return true;
    });
}

std::string LauncherWorld::makeGame(const std::string& name) const {
    tmp.write(name + "/korvane.exe", "MZ");
    return tmp / (name + "/");
}

void LauncherWorld::writeSettings(const std::vector<std::string>& lines) const {
    tmp.write("kvs/Settings/starter.ini", platform::joinLinesCrLf(lines));
}

std::vector<std::string> LauncherWorld::settingsLines() const {
    return platform::splitLines(tmp.read("kvs/Settings/starter.ini"));
}

} // namespace kv::test
