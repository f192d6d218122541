#pragma once
// The start options as plain data. The main window's controls mirror these values; the
// settings file and the command line read and write them here.
#include <array>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kVersionNumber = "2.144";
// The makers' address on the "About" page.
inline constexpr const char* kContactAddress = "starter@korvane.example";
inline constexpr const char* kDontChange = "<don't change>";
inline constexpr int kPlayerCount = 8;

// Fixed entries of the option lists.
const std::vector<std::string>& resolutionEntries();
const std::vector<std::string>& softwareRenderEntries();
const std::vector<std::string>& campaignEntries();
const std::vector<std::string>& mapEditorModeEntries();

enum class Renderer { ThreeDfx, Direct3DHal, Software };

// The buttons of the options toolbar that carry a drop-down menu.
enum class OptionButton { Alliances, Bases, Intro, Debug, ScrollSpeed, Phrase };
inline constexpr int kOptionButtonCount = 6;

// A toolbar button shows its chosen entry's text as caption and the entry's 1-based
// index as tag.
struct ToolbarOption {
    std::string objectName;
    std::string toolTip;
    std::vector<std::string> entries;
    std::string caption;
    int tag = 1;
};

struct OptionSet {
    OptionSet();

    int resolution = 0; // index into resolutionEntries()
    Renderer renderer = Renderer::ThreeDfx;
    int softwareRenderType = 0;
    int startWithCampaignOn = 0;   // check box state
    std::string campaign = "Demo"; // the list's text; the list is editable
    int multiplayerModeOn = 0;
    int miniModeOn = 0; // the compact check box; compact when it is 1
    int mapEditorMode = 0;
    int selectedTab = 1; // 1-based, as stored

    std::array<ToolbarOption, kOptionButtonCount> toolbar;
    int scrollSpeed = 2;
    std::array<std::string, 6> phrases; // 0..4 are F1..F5; 5 has no menu entry

    // The texts of the players' AI lists and of the rules list.
    std::array<std::string, kPlayerCount> ai;
    std::string rules = kDontChange;

    ToolbarOption& button(OptionButton b) { return toolbar[size_t(b)]; }
    const ToolbarOption& button(OptionButton b) const { return toolbar[size_t(b)]; }
    bool compact() const { return miniModeOn == 1; }
    const std::string& resolutionText() const;
    const std::string& softwareRenderText() const;
};

} // namespace kv
