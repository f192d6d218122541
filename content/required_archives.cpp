#include "content/required_archives.h"

#include "content/mod_activation.h"
#include "content/text_util.h"
#include "platform/files.h"

namespace kv::content {

void CopyAdditionalFiles(ContentState& state, const ContentEnv& env, int slot,
                         std::string_view folderIn, std::string_view ownerName) {
    const bool rules = slot < 0 || slot >= kPlayerCount;
    // A "<Random>" choice passes the AI it resolved to.
    const std::string owner = !ownerName.empty() ? std::string(ownerName)
                              : rules            ? state.choices.rulesChoice()
                                                 : state.choices.choice(slot);
    const std::string folder = withTrailingSeparator(folderIn);

    std::vector<std::string> candidates;
    for (const auto& e : platform::listDirectory(folder, "*.kdg"))
        if (!e.isFolder)
            candidates.push_back(folder + e.name);

    const Description* info = nullptr;
    if (rules) {
        if (const RulesRecord* r = state.rules.find(owner))
            info = &r->info;
    } else if (const AiRecord* a = state.ais.find(owner)) {
        info = &a->info;
    }
    if (info) {
        for (const auto& file : info->requiredKdgs) {
            const std::string path = env.paths.requiredKdgFolder + file;
            if (platform::fileExists(path)) {
                candidates.push_back(path);
                continue;
            }
            env.ui.message("'" + file + "', which is required for '" + owner +
                               (rules ? "' Rules was not found.\r\nThis Rules file may not work "
                                        "properly."
                                      : "' AI was not found.\r\nThis AI may not work properly."),
                           Icon::Exclamation);
        }
    }

    if (!env.gameFolder.empty()) {
        for (const auto& source : candidates) {
            const auto length = platform::fileLength(source);
            if (!length)
                continue; // vanished since the listing
            const std::string fileName = fileNameOf(source);
            const std::string target = env.gameFolder + fileName;
            if (platform::fileLength(target) == length)
                continue;
            const std::string inactive = env.gameFolder + withoutExtension(fileName) + ".kvw";
            if (platform::fileLength(inactive) == length) {
                platform::clearAttributes(inactive);
                platform::renameEntry(inactive, target);
                continue;
            }
            // Never replace one of the game's own archives.
            if (state.originals.isOriginalFile(fileName) && platform::fileExists(target))
                continue;
            if (platform::fileExists(target))
                platform::clearAttributes(target);
            if (platform::copyFile(source, target, true)) {
                state.installed.add(rules ? InstalledFiles::kRules : slot,
                                    platform::resolvePath(target));
            }
        }
    }
    // Also without a change here: the user may have renamed archives since the last look.
    refreshModList(state, env);
}

void CopyAllAdditionalFiles(ContentState& state, const ContentEnv& env) {
    for (int i = 0; i < kPlayerCount; ++i) {
        const std::string name = state.choices.choice(i);
        if (PlayerChoices::isRealChoice(name))
            CopyAdditionalFiles(state, env, i, env.paths.aiFolder + name);
    }
    const std::string rules = state.choices.rulesChoice();
    if (PlayerChoices::isRealChoice(rules))
        CopyAdditionalFiles(state, env, InstalledFiles::kRules, env.paths.rulesFolder + rules);
}

} // namespace kv::content
