#include "core/game_command_line.h"

#include "core/registry_access.h"
#include "core/text_util.h"

namespace kv {

namespace {

constexpr char kQuote = '"';

// The game has no escape for a quote inside a quoted argument: one there would end the
// argument and let the rest of the text become switches of its own. Quotes are dropped.
std::string quoted(const std::string& text) {
    std::string out(1, kQuote);
    for (char c : text)
        if (c != kQuote)
            out += c;
    return out + kQuote;
}

std::string rendererSwitch(const OptionSet& o) {
    switch (o.renderer) {
    case Renderer::ThreeDfx:
        return "-3DFX";
    case Renderer::Direct3DHal:
        return "-D3D";
    case Renderer::Software:
        break;
    }
    const std::string& type = o.softwareRenderText();
    if (type == "Default")
        return "-software";
    if (type == "Reference Rasterizer")
        return "-REF";
    if (type == "RGB Emulation")
        return "-RGB";
    return "-MMX";
}

} // namespace

std::string AddDisplayToCommandLine(const OptionSet& options) {
    // Appended piece by piece: " " + string trips a false -Wrestrict in GCC 12.
    std::string part = " ";
    part += rendererSwitch(options);
    const std::string& resolution = options.resolutionText();
    // A damaged index has no text; the game then keeps its own resolution.
    if (!resolution.empty() && resolution != "Default")
        part.append(" -").append(trimmed(resolution.substr(0, 4)));
    return part;
}

std::string campaignMapName(const std::string& campaign) {
    if (campaign == "Demo")
        return "FASTPLAY";
    if (campaign == "Campaign 1")
        return "CAM_1A";
    if (campaign == "Campaign 2")
        return "CAM_2A";
    if (campaign == "Campaign 3")
        return "CAM_3A";
    return campaign;
}

std::string AddMapToCommandLine(const OptionSet& options) {
    if (options.startWithCampaignOn != 1)
        return {};
    return "-game " + campaignMapName(options.campaign);
}

std::string miscPart(const OptionSet& options) {
    return equalsNoCase(options.button(OptionButton::Intro).caption, "Show intro") ? "-intro" : "";
}

GameRegistryValues gameRegistryValues(const OptionSet& options) {
    GameRegistryValues v;
    v.alliance =
        equalsNoCase(options.button(OptionButton::Alliances).caption, "Alliances on") ? 1 : 0;
    v.phrases = options.phrases;
    // The speed menu runs from 1 to 16; anything else is the game's default 2.
    const int speed =
        options.scrollSpeed >= 1 && options.scrollSpeed <= 16 ? options.scrollSpeed : 2;
    v.scroll = std::uint32_t(speed * 400);
    const std::string& bases = options.button(OptionButton::Bases).caption;
    v.base = equalsNoCase(bases, "No bases") ? 0 : equalsNoCase(bases, "Bases") ? 1 : 2;
    return v;
}

void writeGameRegistryValues(Registry& registry, const GameRegistryValues& values) {
    // Failures are not reported: the game then runs with the values it had.
    registry.CreateKey(kGameRegistryKey);
    registry.SetDWordValue(kGameRegistryKey, "alliance", values.alliance);
    for (size_t i = 0; i < values.phrases.size(); ++i)
        registry.SetStringValue(kGameRegistryKey, "phrase" + std::to_string(i), values.phrases[i]);
    registry.SetDWordValue(kGameRegistryKey, "scroll", values.scroll);
    registry.SetDWordValue(kGameRegistryKey, "base", values.base);
}

std::string AddMiscToCommandLine(const OptionSet& options, Registry& registry) {
    writeGameRegistryValues(registry, gameRegistryValues(options));
    return miscPart(options);
}

std::string debugSwitch(const OptionSet& options) {
    if (!equalsNoCase(options.button(OptionButton::Debug).caption, "Debug on"))
        return {};
    return std::string(" -") + kGameDebugSwitch;
}

std::string multiplayerTail(const OptionSet& options, const MultiplayerSwitches& lobby) {
    if (options.multiplayerModeOn != 1)
        return {};
    std::string tail;
    if (lobby.role == LobbyRole::Join)
        tail = " +connect " + quoted(lobby.hostLabel);
    else
        tail = " +host " + quoted(lobby.localAddress) + " +hostname " + quoted(lobby.gameName);
    return tail + " +name " + quoted(lobby.nick);
}

std::string gameCommandLine(const OptionSet& options, const MultiplayerSwitches& lobby) {
    return AddDisplayToCommandLine(options) + " " + AddMapToCommandLine(options) + " " +
           miscPart(options) + debugSwitch(options) + multiplayerTail(options, lobby);
}

} // namespace kv
