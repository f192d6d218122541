#include "tools/worldgen/content_files.h"

#include "common/paths.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kv::worldgen {

bool writeContentFile(const std::string& path, std::string_view contents) {
    const std::string resolved = platform::resolvePath(path);
    const size_t sep = resolved.find_last_of("\\/");
    if (sep != std::string::npos)
        platform::createFolderTree(resolved.substr(0, sep));
    return bool(platform::writeFileAtomic(resolved, contents));
}

std::vector<std::string> sampleScriptLines(std::string_view aiName, size_t lines) {
    std::vector<std::string> out;
    out.push_back("// " + std::string(aiName) + " skirmish script");
    for (size_t i = 1; i < lines; ++i) {
        switch (i % 4) {
        case 0:
            out.push_back("if (power < " + std::to_string(i % 97) + ") { buildPowerGen(); }");
            break;
        case 1:
            out.push_back("    setTarget(player, enemy" + std::to_string(i % 8) + ");");
            break;
        case 2:
            out.push_back("    wait(" + std::to_string(10 + i % 50) + ");");
            break;
        default:
            out.push_back("}");
            break;
        }
    }
    return out;
}

std::string sampleVloText(int player, size_t variables) {
    std::string out = "script \"player" + std::to_string(player) + ".slo\"\r\nrun\r\n{\r\n";
    out += "    player          INT                 " + std::to_string(player) + "\r\n";
    for (size_t i = 0; i < variables; ++i)
        out += "    var" + std::to_string(i) + "            INT                 " +
               std::to_string(i * 7) + "\r\n";
    out += "}\r\n";
    return out;
}

std::string aiFileText(std::string_view name, const std::vector<std::string>& script,
                       const std::vector<std::string>& body) {
    std::string out = "1\r\n" + std::string(name) + "\r\n" + std::to_string(script.size()) + "\r\n";
    out += platform::joinLinesCrLf(script);
    out += "\r\n";
    out += platform::joinLinesCrLf(body);
    return out;
}

std::string sampleAiFile(std::string_view name, size_t approxBytes) {
    const size_t lines = approxBytes / 32 + 2;
    return aiFileText(name, sampleScriptLines(name, lines),
                      {"", " ", "    aggression      INT                 3", "}"});
}

std::string descriptionFileText(const DescriptionSpec& plan) {
    std::string out = "// description file\r\n";
    out += "AuthorName = \"" + plan.authorName + "\"\r\n";
    if (!plan.authorEmail.empty())
        out += "AuthorEmail = \"" + plan.authorEmail + "\"\r\n";
    if (!plan.authorHomepage.empty())
        out += "AuthorHomepage = \"" + plan.authorHomepage + "\"\r\n";
    if (!plan.description.empty())
        out += "Description = \"" + plan.description + "\"\r\n";
    for (const auto& k : plan.requiredKdgs)
        out += "SetRequiredKDG = \"" + k + "\"\r\n";
    if (plan.maxInstances > 0)
        out += "SetMaxAIInstances = \"" + std::to_string(plan.maxInstances) + "\"\r\n";
    if (plan.basesState > 0)
        out += "SetBasesState(\"" + std::to_string(plan.basesState) + "\")\r\n";
    if (plan.alliances)
        out += "EnableAlliances()\r\n";
    for (const auto& l : plan.extraLines)
        out += l + "\r\n";
    return out;
}

std::string archivePlaceholder(std::string_view name, size_t bytes) {
    std::string out = "KDG\x05";
    out += name;
    while (out.size() < bytes)
        out += char('a' + out.size() % 26);
    out.resize(bytes);
    return out;
}

bool makeLauncherSkeleton(const std::string& launcherFolder,
                          const std::vector<std::string>& originals) {
    static const char* folders[] = {"Mods/Global INIs",   "Mods/INI/AI",       "Mods/INI/Rules",
                                    "Mods/INI/KDG Files", "Mods/INI/Projects", "Mods/INI/MODs",
                                    "Mods/Required KDGs", "Mods/Rules",        "Mods/SkirmishAI",
                                    "Mods/KRFs",          "resources/backup",  "Settings",
                                    "Settings/Scripts",   "Settings/KVS"};
    for (const char* f : folders)
        if (!platform::createFolderTree(joinPath(launcherFolder, f)))
            return false;
    return writeContentFile(joinPath(launcherFolder, "Settings/KVS/OriginalKDGs.ini"),
                            platform::joinLinesCrLf(originals));
}

bool writeRulesSet(const std::string& launcherFolder, std::string_view name, std::string_view tag) {
    const std::string folder = joinPath(launcherFolder, "Mods/Rules/" + std::string(name));
    return writeContentFile(joinPath(folder, "rules.slo"),
                            "// rules " + std::string(tag) + "\r\nsetPower(" +
                                std::to_string(tag.size() * 100) + ");\r\n") &&
           writeContentFile(joinPath(folder, "rules.vlo"),
                            "script \"rules.slo\"\r\nrun\r\n{\r\n    tag STRING \"" +
                                std::string(tag) + "\"\r\n}\r\n");
}

bool makeGameSkirmishFolder(const std::string& gameFolder) {
    const std::string folder = joinPath(gameFolder, "multiplay/skirmish");
    bool ok = bool(platform::createFolderTree(folder));
    for (int i = 0; i < 8 && ok; ++i) {
        ok = writeContentFile(joinPath(folder, "player" + std::to_string(i) + ".slo"),
                              platform::joinLinesCrLf(sampleScriptLines("Default", 6))) &&
             writeContentFile(joinPath(folder, "player" + std::to_string(i) + ".vlo"),
                              sampleVloText(i));
    }
    return ok && writeContentFile(joinPath(folder, "rules.slo"), "// default rules\r\n") &&
           writeContentFile(joinPath(folder, "rules.vlo"), "script \"rules.slo\"\r\n");
}

} // namespace kv::worldgen
