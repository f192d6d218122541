#include "tests/content/content_world.h"

#include "content/catalogue_scan.h"
#include "platform/files.h"

namespace kv::test {

ContentWorld::ContentWorld(std::vector<std::string> originals)
    : paths(Paths::fromRoot(temp / "kvs")), game(temp / "game/") {
    worldgen::makeLauncherSkeleton(paths.launcherFolder, originals);
    worldgen::makeGameSkirmishFolder(game);
    state.originals.load(paths);
}

void ContentWorld::writeLauncher(std::string_view rel, std::string_view contents) {
    worldgen::writeContentFile(launcher(rel), contents);
}

void ContentWorld::writeGame(std::string_view rel, std::string_view contents) {
    worldgen::writeContentFile(inGame(rel), contents);
}

std::string ContentWorld::readGame(std::string_view rel) const {
    std::string out;
    platform::readFile(inGame(rel), out);
    return out;
}

bool ContentWorld::gameHas(std::string_view rel) const {
    return platform::fileExists(inGame(rel));
}

void ContentWorld::addAi(std::string_view name, size_t bytes, const std::string& description) {
    writeLauncher("Mods/SkirmishAI/" + std::string(name) + ".kvai",
                  worldgen::sampleAiFile(name, bytes));
    if (!description.empty())
        writeLauncher("Mods/INI/AI/" + std::string(name) + ".ini", description);
}

void ContentWorld::scan() {
    content::CustomAIList_fill(state, env());
    content::CustomRulesList_fill(state, env());
}

std::vector<std::string> ContentWorld::modEntries() const {
    std::vector<std::string> out;
    for (const auto& e : state.mods.entries)
        out.push_back(e.name + (e.checked ? "+" : "-"));
    return out;
}

} // namespace kv::test
