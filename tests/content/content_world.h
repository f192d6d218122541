#pragma once
// A launcher folder and a game folder in a temporary folder, with the content state and a
// scripted user: what every content test starts from.
#include "common/paths.h"
#include "content/catalogue_scan.h"
#include "content/content_env.h"
#include "content/content_state.h"
#include "platform/files.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/content_files.h"

#include <string>
#include <vector>

namespace kv::test {

using Texts = std::vector<std::string>;

struct ContentWorld {
    TempFolder temp;
    Paths paths;
    std::string game;
    ScriptedUi ui;
    content::ContentState state;
    bool debug = false;

    explicit ContentWorld(std::vector<std::string> originals = {"Game.kdg", "Sounds.kdg"})
        : paths(Paths::fromRoot(temp / "kvs")), game(temp / "game/") {
        worldgen::makeLauncherSkeleton(paths.launcherFolder, originals);
        worldgen::makeGameSkirmishFolder(game);
        state.originals.load(paths);
    }

    content::ContentEnv env() { return {paths, game, ui, debug}; }
    // Files relative to the launcher and the game folder.
    std::string launcher(std::string_view rel) const { return temp / ("kvs/" + std::string(rel)); }
    std::string inGame(std::string_view rel) const { return temp / ("game/" + std::string(rel)); }
    void writeLauncher(std::string_view rel, std::string_view contents) {
        worldgen::writeContentFile(launcher(rel), contents);
    }
    void writeGame(std::string_view rel, std::string_view contents) {
        worldgen::writeContentFile(inGame(rel), contents);
    }
    std::string readGame(std::string_view rel) const {
        std::string out;
        platform::readFile(inGame(rel), out);
        return out;
    }
    // A script of the game's "multiplay/skirmish" folder.
    std::string script(std::string_view name) const {
        return readGame("multiplay/skirmish/" + std::string(name));
    }
    bool gameHas(std::string_view rel) const { return platform::fileExists(inGame(rel)); }

    // An AI in the catalogue folder, optionally with a description file in "INI/AI".
    void addAi(std::string_view name, size_t bytes = 600, const std::string& description = {}) {
        writeLauncher("Mods/SkirmishAI/" + std::string(name) + ".kvai",
                      worldgen::sampleAiFile(name, bytes));
        if (!description.empty())
            writeLauncher("Mods/INI/AI/" + std::string(name) + ".ini", description);
    }
    // Runs both catalogue scans.
    void scan() {
        content::CustomAIList_fill(state, env());
        content::CustomRulesList_fill(state, env());
    }
    // The list entries as "name+" (checked) or "name-".
    std::vector<std::string> modEntries() const {
        std::vector<std::string> out;
        for (const auto& e : state.mods.entries)
            out.push_back(e.name + (e.checked ? "+" : "-"));
        return out;
    }
};

} // namespace kv::test
