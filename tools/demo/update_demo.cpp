#include "tools/demo/update_demo.h"

#include "common/paths.h"
#include "tools/worldgen/content_files.h"
#include "tools/worldgen/digest.h"

namespace kv::demo {

namespace {

std::string key(const std::string& name, const std::string& value) {
    return "    " + name + " = \"" + value + "\"\r\n";
}

} // namespace

bool writeUpdateServer(const std::string& folder, const std::string& baseUrl, std::string& error) {
    const std::string ai = worldgen::sampleAiFile("Skirmisher", 5000);
    const std::string aiIni = "AuthorName = \"Demo Team\"\r\nDescription = \"A quick "
                              "skirmish AI from the demo update server.\"\r\n";
    const std::string slo = "// rules Blitz\r\nsetPower(900);\r\n";
    const std::string vlo = "script \"rules.slo\"\r\nrun\r\n{\r\n    tag STRING \"blitz\"\r\n}\r\n";
    const std::string map = "Demo map notes: the islands map favours early naval units.\r\n";
    const std::string size = [&] { return std::to_string(ai.size()); }();

    const std::string config =
        "// The demo's update configuration, served by scripts/update-server.sh\r\n"
        "[MAIN]:\r\n{\r\n" + key("AutoUpdateActive", "1") +
        "    [MESSAGES]:\r\n    {\r\n        [Welcome to the demo server]:\r\n        {\r\n"
        "    " + key("Author", "Demo Team") +
        "    " + key("Text", "This server runs on your own machine.\\nTick what you want and "
                            "press Download.") +
        "    " + key("URL", baseUrl + "/news.html") + "        }\r\n    }\r\n}\r\n"
        "[KVS]:\r\n{\r\n" + key("Version", "2.145") + key("Description", "A newer launcher.") +
        key("URL", baseUrl + "/KVStarter.exe") +
        "    [RENAMER]:\r\n    {\r\n    " + key("Version", "1.0") +
        "    " + key("SloURL", baseUrl + "/Renamer") + "    }\r\n}\r\n"
        "[AI]:\r\n{\r\n    [SCRIPT]:\r\n    {\r\n" + key("Title", "Skirmisher") +
        key("Author", "Demo Team") + key("Description", "Fast raids, ") +
        key("Description", "early expansion.") + key("Version", "1.2") + key("Size", size) +
        key("URL", baseUrl + "/ai/Skirmisher.kvai") + key("SHA256", worldgen::sha256Hex(ai)) +
        "        [INI]:\r\n        {\r\n    " + key("Version", "1.0") +
        "    " + key("URL", baseUrl + "/ai/Skirmisher.ini") +
        "    " + key("Size", std::to_string(aiIni.size())) + "        }\r\n    }\r\n}\r\n"
        "[RULES]:\r\n{\r\n    [SCRIPT]:\r\n    {\r\n" + key("Title", "Blitz") +
        key("Description", "Everything costs less and builds faster.") + key("Version", "1.0") +
        key("SloSize", std::to_string(slo.size())) + key("VloSize", std::to_string(vlo.size())) +
        key("SloURL", baseUrl + "/rules/Blitz/rules.slo") +
        key("VloURL", baseUrl + "/rules/Blitz/rules.vlo") + "    }\r\n}\r\n"
        "[MISC]:\r\n{\r\n    [Island map notes]:\r\n    {\r\n" +
        key("URL", baseUrl + "/misc/IslandNotes.txt") + key("LocalPath", "%KVSPath%Docs") +
        key("Size", std::to_string(map.size())) + key("Description", "Notes on the islands map.") +
        key("Version", "1.0") + key("AutoDownload", "False") + "    }\r\n}\r\n";

    const std::pair<const char*, const std::string*> files[] = {
        {"Config.ini", &config},           {"KVS/Config.ini", &config},
        {"ai/Skirmisher.kvai", &ai},       {"ai/Skirmisher.ini", &aiIni},
        {"rules/Blitz/rules.slo", &slo},   {"rules/Blitz/rules.vlo", &vlo},
        {"misc/IslandNotes.txt", &map},
    };
    for (const auto& [name, contents] : files) {
        if (!worldgen::writeContentFile(joinPath(folder, name), *contents)) {
            error = "cannot write " + joinPath(folder, name);
            return false;
        }
    }
    return true;
}

} // namespace kv::demo
