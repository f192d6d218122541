#include "tools/worldgen/automation_demo.h"

#include "common/paths.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tools/worldgen/content_files.h"

#include <vector>

namespace kv::worldgen {

bool makeDemoAutomation(const std::string& launcherFolder) {
    bool ok = true;
    const auto putText = [&](std::string_view rel, const std::string& text) {
        const std::string path = joinPath(launcherFolder, rel);
        if (!platform::fileExists(path))
            ok = writeContentFile(path, text) && ok;
    };
    const auto put = [&](std::string_view rel, const std::vector<std::string>& lines) {
        putText(rel, platform::joinLinesCrLf(lines));
    };
    put("Mods/Global INIs/Duel.ini",
        {"// Hunter against Raider and nothing else on offer.",
         "Description = \"Hunter (player 0) against Raider (player 1).\\nBoth lists are "
         "locked.\"",
         "FreezeAIUpdating()", "DeactiveAllAIs()", "LoadAI_FromPath(\"Hunter\", \"%KVSAIPath%\")",
         "LoadAI_FromPath(\"Raider\", \"%KVSAIPath%\")", "SelectAI(\"-1\", \"\")",
         "SelectAI(\"0\", \"Hunter\")", "SelectAI(\"1\", \"Raider\")", "LockAISelection(\"0\")",
         "LockAISelection(\"1\")"});
    put("Mods/Global INIs/Vanilla.ini",
        {"Description = \"Every MOD off and the game's own scripts.\"", "DisableAllMods()",
         "ReleaseAIs()", "ReleaseRules()", "SelectAI(\"-1\", \"\")", "SelectRules(\"\")"});
    DescriptionSpec islands;
    islands.authorName = "Pia Lind";
    islands.description = "An island map; its harbours only work between allies.";
    islands.alliances = true;
    putText("Mods/INI/KDG Files/Islands.ini", descriptionFileText(islands));
    DescriptionSpec desert;
    desert.authorName = "Rolf Sander";
    desert.description = "Sand storms and desert fortresses.";
    desert.basesState = 3;
    putText("Mods/INI/KDG Files/Desert.ini", descriptionFileText(desert));
    return ok;
}

} // namespace kv::worldgen
