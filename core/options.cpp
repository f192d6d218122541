#include "core/options.h"

namespace kv {

const std::vector<std::string>& resolutionEntries() {
    static const std::vector<std::string> e{"Default",  "640 x480", "800 x600",
                                            "1024x768", "1152x864", "1280x1024"};
    return e;
}

const std::vector<std::string>& softwareRenderEntries() {
    static const std::vector<std::string> e{"Default", "Reference Rasterizer", "RGB Emulation",
                                            "MMX"};
    return e;
}

const std::vector<std::string>& campaignEntries() {
    static const std::vector<std::string> e{"Demo", "Campaign 1", "Campaign 2", "Campaign 3"};
    return e;
}

const std::vector<std::string>& mapEditorModeEntries() {
    static const std::vector<std::string> e{"Direct3D", "Software"};
    return e;
}

OptionSet::OptionSet() {
    // The buttons' state as the window is designed; a first run or the settings file
    // changes them.
    toolbar[size_t(OptionButton::Alliances)] = {
        "TbAlliances", "", {"Alliances on", "Alliances off"}, "Alliances on", 1};
    toolbar[size_t(OptionButton::Bases)] = {
        "TbBases", "", {"No bases", "Bases", "Adv. bases"}, "Bases", 2};
    toolbar[size_t(OptionButton::Intro)] = {
        "TbIntro", "", {"No intro", "Show intro"}, "No intro", 1};
    toolbar[size_t(OptionButton::Debug)] = {
        "TbDebug", "", {"Debug on", "Debug off"}, "Debug on", 1};
    ToolbarOption scroll{
        "TbScrollSpeed", "Screen scrolling in the game (2 is default)", {}, "Scroll speed 2", 2};
    for (int i = 1; i <= 16; ++i)
        scroll.entries.push_back(std::to_string(i));
    toolbar[size_t(OptionButton::ScrollSpeed)] = scroll;
    toolbar[size_t(OptionButton::Phrase)] = {"TbPhrase",
                                             "Press 'T'  then press F1 - F5 keys to send phrase",
                                             {"F1", "F2", "F3", "F4", "F5"},
                                             "Set phrase F1",
                                             1};
    ai.fill(kDontChange);
}

const std::string& OptionSet::resolutionText() const {
    static const std::string none;
    const auto& e = resolutionEntries();
    return resolution >= 0 && size_t(resolution) < e.size() ? e[size_t(resolution)] : none;
}

const std::string& OptionSet::softwareRenderText() const {
    static const std::string none;
    const auto& e = softwareRenderEntries();
    return softwareRenderType >= 0 && size_t(softwareRenderType) < e.size()
               ? e[size_t(softwareRenderType)]
               : none;
}

} // namespace kv
