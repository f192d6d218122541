#include "launcher/settings_file.h"

#include "common/error_box.h"
#include "common/file_gate.h"
#include "common/ui_port.h"
#include "core/text_util.h"
#include "launcher/content_wiring.h"
#include "launcher/installation_actions.h"
#include "launcher/launcher.h"
#include "launcher/options_toolbar.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kv {

namespace {

const char* flag(bool on) {
    return on ? "-1" : "0";
}

// "ai3" with prefix "ai" and 8 slots gives 3; anything else nothing.
std::optional<int> indexedKey(const std::string& lowerKey, std::string_view prefix, int slots) {
    if (lowerKey.size() <= prefix.size() || lowerKey.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    const std::string rest = lowerKey.substr(prefix.size());
    if (rest.size() != 1 || rest[0] < '0' || rest[0] > '9')
        return std::nullopt;
    const int n = rest[0] - '0';
    return n < slots ? std::optional<int>(n) : std::nullopt;
}

void setIndexIfListed(int& target, std::optional<int> value, size_t entries) {
    if (value && *value >= 0 && size_t(*value) < entries)
        target = *value;
}

void setCheckState(int& target, std::optional<int> value) {
    if (value && (*value == 0 || *value == 1))
        target = *value;
}

void setFlag(bool& target, std::optional<int> value) {
    if (value)
        target = *value != 0;
}

} // namespace

std::vector<SettingsEntry> parseSettingsLines(const std::vector<std::string>& lines) {
    std::vector<SettingsEntry> out;
    for (const std::string& raw : lines) {
        const std::string line = trimmed(raw);
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const size_t next = line.find('=', eq + 1);
        SettingsEntry e{trimmed(std::string_view(line).substr(0, eq)),
                        trimmed(std::string_view(line).substr(eq + 1, next == std::string::npos
                                                                          ? std::string::npos
                                                                          : next - eq - 1))};
        if (!e.value.empty())
            out.push_back(std::move(e));
    }
    return out;
}

void applySetting(Launcher& l, const SettingsEntry& entry) {
    OptionSet& o = l.options;
    const std::string key = lowerAscii(entry.key);
    const std::string& value = entry.value;
    const std::optional<int> number = toInt16(value);
    const std::string lowerValue = lowerAscii(value);

    if (key == "kvpath") {
        readKVPathSetting(l, value);
    } else if (key == "selectedkvpath") {
        l.installations.SetKVPathFromString(value);
    } else if (key == "kvresolution") {
        setIndexIfListed(o.resolution, number, resolutionEntries().size());
    } else if (key == "use3dfxon") {
        if (number.value_or(0) != 0)
            o.renderer = Renderer::ThreeDfx;
    } else if (key == "used3don") {
        if (number.value_or(0) != 0)
            o.renderer = Renderer::Direct3DHal;
    } else if (key == "usesoftwarerenderon") {
        if (number.value_or(0) != 0)
            o.renderer = Renderer::Software;
    } else if (key == "softwarerendertype") {
        setIndexIfListed(o.softwareRenderType, number, softwareRenderEntries().size());
    } else if (key == "startwithcampaignon") {
        setCheckState(o.startWithCampaignOn, number);
    } else if (key == "startwithcampaign") {
        o.campaign = value;
    } else if (key == "debugon") {
        chooseOptionEntry(l, OptionButton::Debug, lowerValue == "debug off" ? 2 : 1);
    } else if (key == "bases") {
        chooseOptionEntry(l, OptionButton::Bases,
                          lowerValue == "no bases" ? 1
                          : lowerValue == "bases"  ? 2
                                                   : 3);
    } else if (key == "allianceson") {
        setAlliances(l, lowerValue != "alliances off");
    } else if (key == "showintroon") {
        chooseOptionEntry(l, OptionButton::Intro, lowerValue == "no intro" ? 1 : 2);
    } else if (key == "minimodeon") {
        setCheckState(o.miniModeOn, number);
    } else if (key == "terraforgegfxmode") {
        setIndexIfListed(o.mapEditorMode, number == -1 ? std::optional<int>(0) : number,
                         mapEditorModeEntries().size());
    } else if (key == "multiplayermodeon") {
        setCheckState(o.multiplayerModeOn, number);
    } else if (auto n = indexedKey(key, "ai", kPlayerCount)) {
        if (selectAi(l, *n, value))
            o.ai[size_t(*n)] = value;
        else
            l.ui().message("'" + value + "' AI was not found!", Icon::Information);
    } else if (auto c = indexedKey(key, "aicustomizingon", kPlayerCount)) {
        if (number)
            enableAiCustomizing(l, *c, *number != 0);
    } else if (key == "rulesfile") {
        if (selectRules(l, value))
            o.rules = value;
        else
            l.ui().message("'" + value + "' rules file was not found.", Icon::Information);
    } else if (key == "rulescustomizingon") {
        if (number)
            enableRulesCustomizing(l, *number != 0);
    } else if (key == "aioverwritewarned") {
        if (number)
            l.aiOverwriteWarned = *number;
    } else if (key == "nickname") {
        l.nick = value;
        l.nickParsed = value;
    } else if (key == "lastaudodownloadmessageindex") {
        if (number)
            l.lastAutoDownloadMessageIndex = *number;
    } else if (key == "alwaysontopon") {
        setFlag(l.alwaysOnTop, number);
    } else if (key == "showmappreviewon") {
        setFlag(l.mapPreview, number);
    } else if (key == "scrollspeed") {
        if (number)
            SetScrollSpeed(l, *number);
    } else if (auto p = indexedKey(key, "hotphrase", 5)) {
        o.phrases[size_t(*p)] = value;
        showPhraseEntry(o, *p);
    } else if (auto h = indexedKey(key, "iphistory", 10)) {
        l.hostHistory[size_t(*h)] = value;
        l.hostHistoryCount = std::max(l.hostHistoryCount, *h + 1);
    } else if (key == "checkforupdatesonsturtupon") {
        setFlag(l.updateAtStartup, number);
    } else if (key == "updateserver") {
        l.updateServer = value;
    } else if (key == "winecommand") {
        l.wineCommand = value;
    } else if (key == "updatekey") {
        l.updateKey = value;
    }
}

std::vector<std::string> formatSettings(const Launcher& l) {
    const OptionSet& o = l.options;
    std::vector<std::string> out;
    auto put = [&out](std::string_view key, std::string_view value) {
        out.push_back(std::string(key) + "=" + std::string(value));
    };
    const InstallationList& list = l.installations;
    for (const std::string& path : list.paths())
        put("KVPath", path);
    if (list.selected() >= 0 && list.selected() < list.count())
        put("SelectedKVPath", list.paths()[size_t(list.selected())]);
    put("Ver", kVersionNumber);
    put("KVResolution", std::to_string(o.resolution));
    put("Use3dfxOn", flag(o.renderer == Renderer::ThreeDfx));
    put("Used3dOn", flag(o.renderer == Renderer::Direct3DHal));
    put("UseSoftwareRenderOn", flag(o.renderer == Renderer::Software));
    put("SoftwareRenderType", std::to_string(o.softwareRenderType));
    put("StartWithCampaignOn", std::to_string(o.startWithCampaignOn));
    put("StartWithCampaign", o.campaign);
    put("DebugOn", o.button(OptionButton::Debug).caption);
    put("Bases", o.button(OptionButton::Bases).caption);
    put("AlliancesOn", o.button(OptionButton::Alliances).caption);
    put("ShowIntroOn", o.button(OptionButton::Intro).caption);
    put("MiniModeOn", std::to_string(o.miniModeOn));
    put("TerraForgeGFXmode", std::to_string(o.mapEditorMode));
    put("SelectedTabIndex", std::to_string(o.selectedTab));
    put("MultiplayerModeOn", std::to_string(o.multiplayerModeOn));
    for (int n = 0; n < kPlayerCount; ++n) {
        put("AI" + std::to_string(n), o.ai[size_t(n)]);
        put("AICustomizingOn" + std::to_string(n),
            flag(l.content.scripts.players[size_t(n)].enabled));
    }
    put("RulesFile", o.rules);
    put("RulesCustomizingOn", flag(l.content.scripts.rules.enabled));
    put("AIOverwriteWarned", std::to_string(l.aiOverwriteWarned));
    put("Nickname", l.nick);
    put("LastAudoDownloadMessageIndex", std::to_string(l.lastAutoDownloadMessageIndex));
    put("AlwaysOnTopOn", flag(l.alwaysOnTop));
    put("ShowMapPreviewOn", flag(l.mapPreview));
    put("ScrollSpeed", std::to_string(o.scrollSpeed));
    for (int i = 0; i < 5; ++i)
        put("HotPhrase" + std::to_string(i), o.phrases[size_t(i)]);
    for (int i = 0; i < l.hostHistoryCount && i < kHostHistorySize; ++i)
        put("IPHistory" + std::to_string(i), l.hostHistory[size_t(i)]);
    put("CheckForUpdatesOnSturtUpOn", flag(l.updateAtStartup));
    // Only a chosen update server is written; without it the built-in address holds.
    if (!l.updateServer.empty())
        put("UpdateServer", l.updateServer);
    if (!l.updateKey.empty())
        put("UpdateKey", l.updateKey);
    if (!l.wineCommand.empty())
        put("WineCommand", l.wineCommand);
    return out;
}

void GetDefaultValues(Launcher& l) {
    if (l.firstRun)
        return;
    const std::string path = l.settingsFilePath();
    if (!platform::fileExists(path)) {
        l.ui().message("INI configuration file does not exist: \n" + path, Icon::Exclamation);
        return;
    }
    std::vector<std::string> lines;
    if (platform::Status s = platform::readTextLines(path, lines); !s) {
        showErrorBox(l.ui(), s.code, s.description, "GetDefaultValues");
        return;
    }
    for (const SettingsEntry& e : parseSettingsLines(lines))
        applySetting(l, e);
    finishInstallationReading(l);
    l.view().refresh();
}

void SetDefaultValues(Launcher& l) {
    OptionSet& o = l.options;
    o.resolution = 0;
    o.renderer = Renderer::ThreeDfx;
    o.startWithCampaignOn = 0;
    o.campaign = campaignEntries()[0];
    chooseOptionEntry(l, OptionButton::Intro, 1);
    o.mapEditorMode = 0;
    o.ai.fill(kDontChange);
    o.rules = kDontChange;
    l.lastAutoDownloadMessageIndex = 0;
    l.alwaysOnTop = false;
    l.mapPreview = true;
    SetScrollSpeed(l, 2);
    for (int i = 0; i < 5; ++i) {
        o.phrases[size_t(i)].clear();
        showPhraseEntry(o, i);
    }
    l.hostHistory.fill({});
    l.hostHistoryCount = 0;
    l.updateAtStartup = false;
    l.view().refresh();
}

void SaveDefaultValues(Launcher& l) {
    const std::string path = l.settingsFilePath();
    // Deleted with F2 during this run: it stays deleted, so the next start is a first run.
    if (path != l.deletedSettingsFile) {
        if (platform::Status s = platform::writeTextLines(path, formatSettings(l)); !s)
            showErrorBox(l.ui(), s.code, s.description, "SaveDefaultValues");
    }
    saveScriptPreferences(l);
}

void deleteConfigINI(Launcher& l) {
    const std::string path = l.settingsFilePath();
    FileGate(l.paths, {}, l.ui()).remove(FileKind::PreferenceFile, path);
    l.deletedSettingsFile = path;
}

void PrepGetDefaultValues(Launcher& l) {
    GetDefaultValues(l);
    l.view().resizeForm(l.options.compact());
    reapplyChoices(l, false);
}

} // namespace kv
