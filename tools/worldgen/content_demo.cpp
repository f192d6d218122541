#include "tools/worldgen/content_demo.h"

#include "common/paths.h"
#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tools/worldgen/content_files.h"
#include "tools/worldgen/kdg_name_tables.h"
#include "tools/worldgen/kdg_named_archive.h"
#include "tools/worldgen/kdg_sample.h"
#include "tools/worldgen/map_demo.h"
#include "tools/worldgen/script_samples.h"

namespace kv::worldgen {

namespace {

struct Writer {
    std::string launcher;
    std::string game;
    bool ok = true;

    // Files already there are kept, so what the user changed in the demo survives.
    void app(std::string_view rel, std::string_view contents) {
        write(joinPath(launcher, rel), contents);
    }
    // The game's own archives were placeholders in older demo worlds; those are
    // replaced, a real archive is kept.
    void gameArchive(std::string_view rel, std::string_view contents) {
        const std::string path = joinPath(game, rel);
        std::string bytes;
        if (platform::fileExists(path) && platform::readFile(path, bytes) &&
            !bytes.starts_with("KDG4") && !bytes.starts_with("KDG5"))
            ok = writeContentFile(path, contents) && ok;
        write(path, contents);
    }
    // An archive is there when it is there in either state.
    void archive(const std::string& name, std::string_view ext, std::string_view contents) {
        const std::string base = joinPath(game, name);
        if (!platform::fileExists(base + ".kdg") && !platform::fileExists(base + ".kvw"))
            write(base + std::string(ext), contents);
    }
    void write(const std::string& path, std::string_view contents) {
        if (!platform::fileExists(path))
            ok = writeContentFile(path, contents) && ok;
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

std::vector<NamedKdgFile> originalArchiveFiles(std::string_view fileName) {
    if (fileName == "mp.kdg")
        return {{"Game.map", "multiplay\\maps", sampleBinaryMap(32, 32, 9)},
                {"Feat.bjo", "multiplay\\maps", "feat"},
                {"Skirmish.txt", "multiplay", "skirmish maps"}};
    if (fileName == "sounds.kdg")
        return {{"Explosion.wav", "audio\\sfx", "RIFF-boom"}};
    if (fileName == "patch.kdg")
        return {{"Patch.txt", "", "1.10"}};
    return {{"Korvane.txt", "", "Korvane Tactics"}, {"Units.txt", "stats", "units"}};
}

} // namespace

bool makeDemoContent(const std::string& launcherFolder, const std::string& gameFolder) {
    Writer w{launcherFolder, gameFolder};
    const std::vector<std::string> originals = {"korvane.kdg", "mp.kdg", "patch.kdg", "sounds.kdg"};
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
    if (!platform::fileExists(joinPath(gameFolder, "multiplay/skirmish/player0.slo")))
        w.ok = makeGameSkirmishFolder(gameFolder) && w.ok;

    // AIs.
    // Hunter and the Classic rules show the customizing window at work.
    w.app("Mods/SkirmishAI/Hunter.kvai",
          aiFileText("Hunter", customizableAiScriptLines("Hunter"),
                     {"", " ", "    aggression      INT                 3", "}"}));
    w.app("Mods/SkirmishAI/Fortress.kvai", sampleAiFile("Fortress", 6000));
    w.app("Mods/SkirmishAI/Raider.kvai", sampleAiFile("Raider", 3000));
    w.app("Mods/SkirmishAI/Water AI.kvai", sampleAiFile("Water AI", 9000));
    w.app("Mods/SkirmishAI/Fortress/FortressWalls.kdg", archivePlaceholder("FortressWalls", 2048));
    w.app("Mods/Required KDGs/Roads.kdg", archivePlaceholder("Roads", 1536));

    DescriptionSpec hunter;
    hunter.authorName = "Anna Keller";
    hunter.authorEmail = "anna@example.org";
    hunter.authorHomepage = "https://anna.example.org/hunter/";
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
    if (!platform::folderExists(joinPath(launcherFolder, "Mods/Rules/Classic"))) {
        w.ok = writeRulesSet(launcherFolder, "Classic", "classic") && w.ok;
        w.ok = writeContentFile(joinPath(launcherFolder, "Mods/Rules/Classic/rules.slo"),
                                customizableRulesText()) &&
               w.ok;
    }
    if (!platform::folderExists(joinPath(launcherFolder, "Mods/Rules/Hard Times")))
        w.ok = writeRulesSet(launcherFolder, "Hard Times", "hard") && w.ok;
    DescriptionSpec hard;
    hard.authorName = "Jonas Brandt";
    hard.description = "Less power, slower research.";
    hard.basesState = 2;
    w.app("Mods/INI/Rules/Hard Times.ini", descriptionFileText(hard));

    // Archives in the game folder: the game's own, two active and two inactive MODs, and
    // the name tables that name what the MODs hold.
    // The game's own archives hold files the MODs replace: Islands brings its own map.
    std::vector<kdg::FileNameRow> rows;
    for (const auto& name : originals) {
        KdgSample original =
            namedFilesArchive(name.substr(0, name.size() - 4), originalArchiveFiles(name));
        w.gameArchive(name, buildKdgArchive(original.plan));
        rows.insert(rows.end(), original.files.begin(), original.files.end());
    }
    const struct {
        const char* name;
        const char* ext;
    } mods[] = {{"Tanks", ".kdg"}, {"Islands", ".kdg"}, {"Desert", ".kvw"}, {"Night", ".kvw"}};
    std::uint32_t seed = 1;
    for (const auto& m : mods) {
        KdgSample sample = sampleModArchive(m.name, 100 + seed, seed);
        // Islands is the map MOD: the launcher previews its "Game.map".
        if (std::string_view(m.name) == "Islands") {
            std::vector<std::pair<std::string, std::string>> mapFiles;
            for (const DemoFile& f : demoBinaryMap())
                mapFiles.emplace_back(f.name, f.contents);
            addNamedMapSection(sample, "multiplay\\maps", mapFiles);
        }
        w.archive(m.name, m.ext, buildKdgArchive(sample.plan));
        rows.insert(rows.end(), sample.files.begin(), sample.files.end());
        ++seed;
    }
    if (!platform::fileExists(joinPath(launcherFolder, "Files.txt")))
        w.ok = bool(writeNameTables(launcherFolder, rows, sampleTypeRows())) && w.ok;
    // Maps for the map viewer.
    for (const DemoFile& f : demoLndMaps())
        w.app("Maps/" + f.name, f.contents);

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
