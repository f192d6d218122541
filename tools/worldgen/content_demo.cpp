#include "tools/worldgen/content_demo.h"

#include "common/paths.h"
#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tools/worldgen/content_files.h"

namespace kv::worldgen {

namespace {

struct Writer {
    std::string launcher;
    std::string game;
    bool ok = true;

    void app(std::string_view rel, std::string_view contents) {
        ok = writeContentFile(joinPath(launcher, rel), contents) && ok;
    }
    void inGame(std::string_view rel, std::string_view contents) {
        ok = writeContentFile(joinPath(game, rel), contents) && ok;
    }
};

// A 1.10 variable file: the player number sits at characters 225 and 259.
std::string patch110Vlo() {
    const std::string playerLine = "    player          INT       ";
    std::string text = "script \"player0.slo\"\r\nrun\r\n{\r\n";
    while (text.size() < 150)
        text += "    // 1.10 skirmish variables\r\n";
    text.resize(224 - playerLine.size() - 2, ' ');
    text += "\r\n" + playerLine + "0"; // the digit is character 225
    text += "\r\n    enemy           INT       ";
    text.resize(258, ' ');
    text += "0\r\n}\r\n"; // character 259
    return text;
}

} // namespace

bool makeDemoContent(const std::string& launcherFolder, const std::string& gameFolder) {
    Writer w{launcherFolder, gameFolder};
    const std::vector<std::string> originals = {"Game.kdg", "Sounds.kdg", "Textures.kdg"};
    const std::string originalList = joinPath(launcherFolder, "Settings/KVS/OriginalKDGs.ini");
    if (!platform::fileExists(originalList)) {
        w.ok = makeLauncherSkeleton(launcherFolder, originals) && w.ok;
    } else {
        // Another part of the demo made the list: the archives written here join it.
        std::vector<std::string> listed;
        platform::readTextLines(originalList, listed);
        for (const auto& name : originals) {
            bool found = false;
            for (const auto& l : listed)
                found = found || content::equalsNoCase(content::trimBlanksTabs(l), name);
            if (!found)
                listed.push_back(name);
        }
        w.ok = bool(platform::writeTextLines(originalList, listed)) && w.ok;
    }
    w.ok = makeGameSkirmishFolder(gameFolder) && w.ok;

    // AIs.
    w.app("Mods/SkirmishAI/Hunter.kvai", sampleAiFile("Hunter", 4000));
    w.app("Mods/SkirmishAI/Fortress.kvai", sampleAiFile("Fortress", 6000));
    w.app("Mods/SkirmishAI/Raider.kvai", sampleAiFile("Raider", 3000));
    w.app("Mods/SkirmishAI/Water AI.kvai", sampleAiFile("Water AI", 9000));
    w.app("Mods/SkirmishAI/Fortress/FortressWalls.kdg", archivePlaceholder("FortressWalls", 2048));
    w.app("Mods/Required KDGs/Roads.kdg", archivePlaceholder("Roads", 1536));

    DescriptionSpec hunter;
    hunter.authorName = "Anna Keller";
    hunter.authorEmail = "anna@example.org";
    hunter.description = "Scouts early and hunts down lone units.\\nGood for beginners.";
    hunter.maxInstances = 4;
    w.app("Mods/INI/AI/Hunter.ini", descriptionFileText(hunter));

    DescriptionSpec fortress;
    fortress.authorName = "Jonas Brandt";
    fortress.description = "Walls itself in and brings its own wall pieces.";
    fortress.basesState = 3;
    w.app("Mods/INI/AI/Fortress.ini", descriptionFileText(fortress));

    DescriptionSpec raider;
    raider.authorName = "Mira Holm";
    raider.authorHomepage = "http://example.org/raider";
    raider.description = "Raids along the roads; needs the road pack.";
    raider.requiredKdgs = {"Roads.kdg"};
    raider.alliances = true;
    w.app("Mods/INI/AI/Raider.ini", descriptionFileText(raider));

    DescriptionSpec water;
    water.description = "Plays on water maps. Large: at most three at a time.";
    w.app("Mods/INI/AI/Water AI.ini", descriptionFileText(water));

    // Rules sets.
    w.ok = writeRulesSet(launcherFolder, "Classic", "classic") && w.ok;
    w.ok = writeRulesSet(launcherFolder, "Hard Times", "hard") && w.ok;
    DescriptionSpec hard;
    hard.authorName = "Jonas Brandt";
    hard.description = "Less power, slower research.";
    hard.basesState = 2;
    w.app("Mods/INI/Rules/Hard Times.ini", descriptionFileText(hard));

    // Archives in the game folder: the game's own, two active and two inactive MODs.
    for (const auto& name : originals)
        w.inGame(name, archivePlaceholder(name, 4096));
    w.inGame("Tanks.kdg", archivePlaceholder("Tanks", 3000));
    w.inGame("Islands.kdg", archivePlaceholder("Islands", 2500));
    w.inGame("Desert.kvw", archivePlaceholder("Desert", 2200));
    w.inGame("Night.kvw", archivePlaceholder("Night", 1800));
    DescriptionSpec tanks;
    tanks.authorName = "Rolf Sander";
    tanks.description = "Heavier tanks for every side.";
    w.app("Mods/INI/KDG Files/Tanks.ini", descriptionFileText(tanks));

    // The game's default skirmish scripts, restored when the launcher closes.
    const std::string skirmish = joinPath(gameFolder, "multiplay/skirmish");
    for (const auto& e : platform::listDirectory(skirmish, "*")) {
        std::string bytes;
        if (!e.isFolder && platform::readFile(joinPath(skirmish, e.name), bytes))
            w.app("resources/backup/" + e.name, bytes);
    }

    // The 1.10 patch set-up.
    w.app("Mods/SkirmishAI/1.10 backup/player.slo",
          platform::joinLinesCrLf(sampleScriptLines("1.10", 12)));
    w.app("Mods/SkirmishAI/1.10 backup/player0.vlo", patch110Vlo());
    w.app("Mods/SkirmishAI/1.10 backup/Rules/rules.slo", "// 1.10 rules\r\n");
    w.app("Mods/SkirmishAI/1.10 backup/Rules/rules.vlo", "script \"rules.slo\"\r\n");
    return w.ok;
}

} // namespace kv::worldgen
