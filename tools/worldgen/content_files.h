#pragma once
// Generators of the content library's files: AI files, description files, rules sets,
// game script pairs and stand-in archives. Used by tests, benchmarks and the demo world.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kv::worldgen {

// Writes a file, creating its folders; false on failure.
bool writeContentFile(const std::string& path, std::string_view contents);

// A game-like player script ("slo") of `lines` lines.
std::vector<std::string> sampleScriptLines(std::string_view aiName, size_t lines);
// A game-like player variable file ("vlo") for `player`, with the "run" block.
std::string sampleVloText(int player, size_t variables = 4);

// The bytes of an AI file: "1", the name, the line count, the script, an empty line and
// the body (which starts with an empty line).
std::string aiFileText(std::string_view name, const std::vector<std::string>& script,
                       const std::vector<std::string>& body);
// An AI file of roughly `approxBytes` bytes.
std::string sampleAiFile(std::string_view name, size_t approxBytes = 2000);

struct DescriptionSpec {
    std::string authorName = "Anna Keller";
    std::string authorEmail;
    std::string authorHomepage;
    std::string description;
    std::vector<std::string> requiredKdgs;
    int maxInstances = 0;
    int basesState = 0; // 0: no SetBasesState line
    bool alliances = false;
    std::vector<std::string> extraLines;
};
std::string descriptionFileText(const DescriptionSpec& plan);

// Stand-in bytes for a KDG archive of exactly `bytes` bytes (at least the header tag).
std::string archivePlaceholder(std::string_view name, size_t bytes);

// Under a launcher folder: every folder the launcher expects, and "OriginalKDGs.ini"
// listing `originals`.
bool makeLauncherSkeleton(const std::string& launcherFolder,
                          const std::vector<std::string>& originals);
// A rules set folder "Mods/Rules/<name>/" with "rules.slo" and "rules.vlo".
bool writeRulesSet(const std::string& launcherFolder, std::string_view name, std::string_view tag);
// A game folder with "multiplay/skirmish" and its default player and rules scripts.
bool makeGameSkirmishFolder(const std::string& gameFolder);

} // namespace kv::worldgen
