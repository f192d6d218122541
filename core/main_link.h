#pragma once
// The main link's texts, address and colours; the defaults name the makers' community
// site and may be replaced from "Settings\KVS\KVSLinks.ini".
#include <cstdint>
#include <string>

namespace kv {

struct MainLinkSettings {
    std::string textExpanded = "    Korvane Tactics Community";
    std::string textCollapsed = "  KT Community";
    std::string url = "https://community.korvane.example/forum/";
    std::uint32_t background = 16757128; // colours are 0x00BBGGRR
    std::uint32_t textColor = 12582912;
    std::uint32_t backgroundFlash = 0;
    std::uint32_t textFlash = 16777215;
    std::uint32_t startButtonBack = 16757128;
    std::uint32_t startButtonText = 0; // chosen for startButtonBack, never read from the file

    const std::string& caption(bool compact) const {
        return compact ? textCollapsed : textExpanded;
    }
};

} // namespace kv
