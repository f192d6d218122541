#pragma once
// What the update server's "Config.ini" offers: the newest launcher, the renamer, news,
// AIs, rules sets and miscellaneous files. Filled by the parser, read by the update check.
#include <string>
#include <vector>

namespace kv::update {

// Lists are counted in 16 bits; records past the last count are dropped.
inline constexpr std::size_t kMaxRecords = 32767;

struct IniRecord {
    float version = 0;
    std::string url;
    double size = 0;
    std::string sha256;
};

struct KdgRecord {
    std::string name; // file name part of the URL
    std::string version;
    double size = 0;
    std::string url;
    std::string sha256; // optional, lower- or upper-case hex
    IniRecord ini;
};

// The launcher and the renamer (auto-update component) share this shape.
struct LauncherRecord {
    std::string description;
    float version = 0;
    double size = 0;
    std::string url;
    std::string sha256;
    bool selected = false;
};

struct MessageRecord {
    std::string author;
    std::string text;
    std::string url;
    std::string name;
};

struct AiRecord {
    std::string title;
    std::string author;
    std::string description;
    float version = 0;
    double size = 0;
    std::string url;
    std::string sha256;
    std::vector<KdgRecord> kdgs;
    IniRecord ini;
    bool hasKdg = false;
    bool hasIni = false;
    bool selected = false;
};

struct RulesRecord {
    std::string title;
    std::string author;
    std::string description;
    float version = 0;
    double sloSize = 0;
    double vloSize = 0;
    std::string sloUrl;
    std::string vloUrl;
    std::string sloSha256;
    std::string vloSha256;
    std::vector<KdgRecord> kdgs;
    IniRecord ini;
    bool hasKdg = false;
    bool hasIni = false;
    bool selected = false;
};

struct MiscRecord {
    std::string name;
    std::string url;
    double size = 0;
    std::string localPath;
    std::string description;
    float version = 0;
    bool autoDownload = false;
    std::string author;
    bool autoExecute = false;
    std::string sha256;
    bool selected = false;
};

struct UpdateState {
    bool active = true;
    std::string hostServer;
    LauncherRecord launcher;
    LauncherRecord renamer;
    std::vector<MessageRecord> messages;
    std::vector<AiRecord> ais;
    std::vector<RulesRecord> rules;
    std::vector<MiscRecord> misc;
};

// The file name part of a URL: the text after its last '/', without query or fragment.
std::string urlFileName(std::string_view url);

// The shortest text that reads back as the same single-precision number ("2.145").
std::string formatVersion(float version);

} // namespace kv::update
