#pragma once
// What the game finds around it at start: the values the launcher wrote to its registry
// key, the skirmish scripts installed in its folder and its active archives.
#include <string>
#include <vector>

namespace kv::standin {

inline constexpr const char* kGameKey = "Software\\Bramble Studios\\KorvaneTactics";

struct GameWorld {
    std::vector<std::string> registry; // "scroll = 400", "phrase0 = \"gg\"", "base: not set"
    std::vector<std::string> scripts;  // "player0.slo: <first line>"
    std::vector<std::string> archives; // active ".kdg" archives
};

// `gameFolder` ends with a separator; `registryStore` is the registry store file.
GameWorld readGameWorld(const std::string& gameFolder, const std::string& registryStore);

} // namespace kv::standin
