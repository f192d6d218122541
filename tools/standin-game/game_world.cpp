#include "tools/standin-game/game_world.h"

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"

#include <algorithm>
#include <cctype>

namespace kv::standin {

namespace {

std::string lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Files of a folder matching the pattern, in name order without regard to case.
std::vector<std::string> fileNames(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    for (const auto& entry : platform::listDirectory(folder, pattern))
        if (!entry.isFolder)
            names.push_back(entry.name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
    return names;
}

std::vector<std::string> registryLines(const std::string& store) {
    std::vector<std::string> names{"alliance"};
    for (int i = 0; i <= 5; ++i)
        names.push_back("phrase" + std::to_string(i));
    names.insert(names.end(), {"scroll", "base"});

    auto registry = platform::makeRegistryBackend(store);
    std::vector<std::string> lines;
    for (const auto& name : names) {
        const auto value = registry->query(platform::RegistryRoot::LocalMachine, kGameKey, name);
        if (!value)
            lines.push_back(name + ": not set");
        else if (const auto* number = std::get_if<std::uint32_t>(&*value))
            lines.push_back(name + " = " + std::to_string(*number));
        else
            lines.push_back(name + " = \"" + std::get<std::string>(*value) + "\"");
    }
    return lines;
}

} // namespace

GameWorld readGameWorld(const std::string& gameFolder, const std::string& registryStore) {
    GameWorld world;
    world.registry = registryLines(registryStore);
    const std::string skirmish = gameFolder + "multiplay/skirmish";
    for (const auto& name : fileNames(skirmish, "*")) {
        std::vector<std::string> lines;
        platform::readTextLines(skirmish + "/" + name, lines);
        world.scripts.push_back(name + ": " + (lines.empty() ? std::string() : lines.front()));
    }
    world.archives = fileNames(gameFolder, "*.kdg");
    return world;
}

} // namespace kv::standin
