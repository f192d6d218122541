#include "content/patch_110.h"

#include "common/error_box.h"
#include "content/mod_activation.h"
#include "platform/files.h"

namespace kv::content {

std::string patch110PlayerVlo(std::string text, int player) {
    // A shorter backup simply has fewer places to set.
    const char digit = char('0' + player);
    if (text.size() >= 225)
        text[224] = digit;
    if (text.size() >= 259)
        text[258] = digit;
    return text + "\r\n";
}

namespace {

constexpr const char* kOperation = "makeCompatible110";

platform::Status replaceWith(const std::string& target, const std::string& contents) {
    if (platform::pathExists(target))
        platform::clearAttributes(target);
    return platform::writeFileAtomic(target, contents);
}

} // namespace

bool makeCompatible110(ContentState& state, const ContentEnv& env) {
    if (env.ui.message("Are you sure?", Icon::Question, Buttons::YesNo) != Answer::Yes)
        return false;
    DisableAllMODs(state, env);
    env.ui.pumpEvents();
    if (!env.gameFolder.empty()) {
        for (const auto& e : platform::listDirectory(env.gameFolder, "*.kdg")) {
            if (e.isFolder || state.originals.isOriginalFile(e.name) || e.name.size() <= 4)
                continue;
            // Fails, and so keeps both, when the ".kvw" the user chose to keep exists.
            platform::renameEntry(env.gameFolder + e.name,
                                  env.gameFolder + e.name.substr(0, e.name.size() - 4) + ".kvw");
        }
    }

    const std::string backup = env.paths.underLauncher("Mods\\SkirmishAI\\1.10 backup");
    const std::string folder = skirmishFolder(env);
    if (!platform::folderExists(backup)) {
        env.ui.message("Error: can't find 'Mods\\SkirmishAI\\1.10 backup' directory",
                       Icon::Critical);
    } else {
        // Both backups are read before anything is written: a missing one must not leave
        // eight empty scripts behind.
        const std::string sep(1, platform::nativeSeparator());
        std::string text, slo;
        platform::Status s = platform::readFile(backup + sep + "player0.vlo", text);
        if (s)
            s = platform::readFile(backup + sep + "player.slo", slo);
        if (!s) {
            showErrorBox(env.ui, s.code, s.description, kOperation);
            return true;
        }
        text.resize(text.size() >= 2 ? text.size() - 2 : 0);
        for (int n = 0; n < 8; ++n) {
            const std::string base = folder + "player" + std::to_string(n);
            if (!(s = replaceWith(base + ".slo", slo)) ||
                !(s = replaceWith(base + ".vlo", patch110PlayerVlo(text, n)))) {
                showErrorBox(env.ui, s.code, s.description, kOperation);
                return true;
            }
        }
    }

    const std::string rules = backup + platform::nativeSeparator() + "Rules";
    if (!platform::folderExists(rules)) {
        env.ui.message("Error: can't find 'Mods\\SkirmishAI\\1.10 backup\\Rules' directory",
                       Icon::Critical);
    } else {
        bool any = false;
        for (const auto& e : platform::listDirectory(rules, "*.?lo")) {
            if (e.isFolder)
                continue;
            any = true;
            if (platform::Status s = fileGate(env).copyOver(
                    FileKind::InstalledCopy, rules + platform::nativeSeparator() + e.name,
                    folder + e.name);
                !s) {
                showErrorBox(env.ui, s.code, s.description, kOperation);
                return true;
            }
        }
        if (any)
            env.ui.message("Done");
        else
            env.ui.message("Couldn't find any files in '\\Mods\\SkirmishAI\\1.10 backup\\Rules\\' "
                           "directory, please reinstall KVStarter",
                           Icon::Critical);
    }
    state.choices.selectFirstEntries();
    state.choices.applyEnabled = false;
    return true;
}

} // namespace kv::content
