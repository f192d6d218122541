#include "content/install.h"

#include "common/error_box.h"
#include "content/ai_file.h"
#include "content/required_archives.h"
#include "content/text_util.h"
#include "platform/files.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

namespace kv::content {

namespace {

constexpr const char* kOperation = "makeSloVlo";

bool hasFileMatching(const std::string& folder, std::string_view pattern) {
    for (const auto& e : platform::listDirectory(folder, pattern))
        if (!e.isFolder)
            return true;
    return false;
}

bool holds(const std::string& path, std::string_view contents) {
    if (platform::fileLength(path) != contents.size())
        return false;
    std::string existing;
    return platform::readFile(path, existing) && existing == contents;
}

// Replaces files in the game folder whole, made durable together; a read-only target is
// cleared first. A file that already holds its bytes is left as it is.
platform::Status replaceFiles(std::vector<platform::FileContents> files) {
    std::erase_if(files, [](const auto& f) { return holds(f.path, f.contents); });
    for (const auto& f : files)
        if (platform::pathExists(f.path))
            platform::clearAttributes(f.path);
    return platform::writeFilesAtomic(files);
}

bool installPlayer(ContentState& state, const ContentEnv& env, int player,
                   const std::string& name) {
    const std::string dir = state.ais.directoryOf(name);
    const std::string aiPath = (dir.empty() ? env.paths.aiFolder : dir) + name + ".kvai";
    std::string bytes;
    if (platform::Status s = platform::readFile(aiPath, bytes); !s) {
        showErrorBox(env.ui, s.code, s.description, kOperation);
        return false;
    }
    AiFileParts parts;
    AiFileError error;
    if (!parseAiFile(bytes, parts, error)) {
        showErrorBox(env.ui, error.number, error.description + " in '" + aiPath + "'", kOperation);
        return false;
    }
    const std::string folder = skirmishFolder(env);
    const std::string n = std::to_string(player);
    const std::string slo = folder + "player" + n + ".slo";
    const std::string vlo = folder + "player" + n + ".vlo";
    // The scripts are not listed for the work-off: a slot later left as "<don't change>"
    // keeps them, and the next install of that slot overwrites them.
    if (platform::Status s =
            replaceFiles({{slo, playerSloText(parts)}, {vlo, playerVloText(parts, player)}});
        !s) {
        showErrorBox(env.ui, s.code, s.description, kOperation);
        return false;
    }
    CopyAdditionalFiles(state, env, player, env.paths.aiFolder + name, name);
    return true;
}

bool installRules(ContentState& state, const ContentEnv& env, const std::string& name) {
    std::string dir = state.rules.directoryOf(name);
    if (dir.empty())
        dir = withTrailingSeparator(env.paths.rulesFolder + name);
    if (!hasFileMatching(dir, "*.slo")) {
        env.ui.message("Error loading '" + name +
                           "' rules file. No SLO file found in directory: " + "\r\n" + dir,
                       Icon::Critical);
        return true;
    }
    if (!hasFileMatching(dir, "*.vlo")) {
        env.ui.message("Error loading '" + name +
                           "' rules file. No VLO file found in directory: " + "\r\n" + dir,
                       Icon::Critical);
        return true;
    }
    const std::string folder = skirmishFolder(env);
    std::vector<platform::FileContents> files;
    for (const auto& e : platform::listDirectory(dir, "*.?lo")) {
        if (e.isFolder)
            continue;
        platform::FileContents& f = files.emplace_back();
        f.path = folder + e.name;
        if (platform::Status s = platform::readFile(dir + e.name, f.contents); !s) {
            showErrorBox(env.ui, s.code, s.description, kOperation);
            return false;
        }
    }
    if (platform::Status s = replaceFiles(std::move(files)); !s) {
        showErrorBox(env.ui, s.code, s.description, kOperation);
        return false;
    }
    CopyAdditionalFiles(state, env, InstalledFiles::kRules, dir, name);
    return true;
}

} // namespace

std::string resolveRandom(const PlayerChoices& choices, double r) {
    const auto& items = choices.players[0].items;
    const long long count = (long long)items.size();
    if (count < 3)
        return {};
    long long index = 1 + roundHalfEven(r * double(count - 3));
    index = std::clamp(index, 1LL, count - 2);
    return items[size_t(index)];
}

bool makeSloVlo(ContentState& state, const ContentEnv& env, const InstallOptions& options) {
    state.installing = true;
    const bool wasBusy = state.busy;
    state.busy = true;
    // However the install ends, the buttons it disabled come back.
    struct Done {
        ContentState& s;
        bool busy;
        ~Done() {
            s.installing = false;
            s.busy = busy;
            s.choices.applyEnabled = true;
        }
    } done{state, wasBusy};

    state.installed.workOff(state.originals);
    if (state.hooks.resolveRequirements)
        state.hooks.resolveRequirements(env);

    int water = 0;
    for (int i = 0; i < kPlayerCount; ++i)
        if (toLower(state.choices.choice(i)) == "water ai")
            ++water;
    if (water > kMaxWaterAIs) {
        env.ui.message("You can't select more than 3 WaterAIs, because WaterAI is too big for "
                       "Korvane to load more than 3 copies",
                       Icon::Exclamation);
        return false;
    }

    std::mt19937 random(options.randomSeed.value_or(
        std::uint32_t(std::chrono::high_resolution_clock::now().time_since_epoch().count())));
    std::uniform_real_distribution<double> draw(0.0, 1.0);
    for (int i = 0; i < kPlayerCount; ++i) {
        std::string name = state.choices.choice(i);
        if (name.empty() || name == kDontChange)
            continue;
        if (name == kRandom) {
            name = resolveRandom(state.choices, draw(random));
            if (name.empty())
                continue; // an empty catalogue: nothing to pick
        }
        if (!installPlayer(state, env, i, name))
            return false;
    }

    const std::string rules = state.choices.rulesChoice();
    if (!rules.empty() && rules != kDontChange && !installRules(state, env, rules))
        return false;

    if (state.hooks.buildProcessedScripts)
        state.hooks.buildProcessedScripts(env);
    return true;
}

void CopyDefaultFiles(const ContentState& state, const ContentEnv& env) {
    if (env.gameFolder.empty())
        return;
    const std::string backup =
        env.paths.underLauncher("resources\\backup") + platform::nativeSeparator();
    const bool keepRules = state.choices.rulesChoice() == kDontChange;
    const std::string folder = skirmishFolder(env);
    for (const auto& e : platform::listDirectory(backup, "*")) {
        if (e.isFolder || (keepRules && endsWithNoCase(e.name, "slo")))
            continue;
        const std::string target = folder + e.name;
        if (platform::pathExists(target))
            platform::clearAttributes(target);
        // One failure ends the restore: a vanished game folder would fail every file.
        if (platform::Status s = platform::copyFile(backup + e.name, target, true); !s) {
            showErrorBox(env.ui, s.code, s.description, "CopyDefaultFiles");
            return;
        }
    }
}

void removeInstalledFiles(ContentState& state, const ContentEnv& env) {
    state.installed.workOff(state.originals);
    CopyDefaultFiles(state, env);
}

} // namespace kv::content
