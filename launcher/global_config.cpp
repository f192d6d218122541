#include "launcher/global_config.h"

#include "automation/command_file.h"
#include "automation/selection.h"
#include "common/ui_port.h"
#include "content/line_syntax.h"
#include "content/text_util.h"
#include "launcher/automation_wiring.h"
#include "launcher/content_wiring.h"
#include "launcher/game_start.h"
#include "launcher/launcher.h"
#include "launcher/settings_file.h"
#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>

namespace kv {

std::string failedToLoadMessage(const Launcher& l, const std::string& fileName) {
    return "Failed to load:\r\n\r\n'" + l.paths.globalIniFolder + fileName + "'";
}

bool applyGlobalConfiguration(Launcher& l, const std::string& fileName) {
    const std::string path = l.paths.globalIniFolder + fileName;
    // Read whole before anything changes: a configuration that cannot be read leaves the
    // launcher as it was, not half reset.
    std::string bytes;
    if (fileName.empty() || !platform::readFile(path, bytes))
        return false;
    // 1. Nothing of the setup left behind is lost.
    syncChoiceOptions(l);
    SaveDefaultValues(l);
    // 2. A clean automation state and empty catalogues.
    l.automation.reset();
    l.content.ais.records.clear();
    l.content.rules.records.clear();
    lockAi(automationEnv(l), -1, false);
    lockRules(automationEnv(l), false);
    // 3., 4. Only the archives earlier installs brought in are listed: the scripts stay
    // until the install replaces them.
    deleteInstalledFiles(l);
    refillKdgList(l);
    // 5.
    l.globalConfigLoaded = true;
    l.activeSettingsName = content::fileNameOf(path);
    runCommandFile(automationEnv(l), path, bytes);
    // 6. Step 8 selects the settings' choices, so nothing is selected twice here.
    refreshLists(automationEnv(l), false);
    // 7., 8. The configuration's own settings, started from the current ones.
    if (!platform::fileExists(l.settingsFilePath()))
        SaveDefaultValues(l);
    const bool firstRun = l.firstRun;
    l.firstRun = false;
    GetDefaultValues(l);
    l.firstRun = firstRun;
    reapplySelections(l, true);
    // 9., 10.
    applyRequests(automationEnv(l));
    l.view().refresh();
    (void)makeSloVlo(l);
    return true;
}

std::vector<GlobalConfigEntry> GlobalConfigurations_Load(const Launcher& l) {
    std::vector<GlobalConfigEntry> out;
    const content::FolderVars vars =
        content::FolderVars::from(l.paths, l.installations.currentGameFolder());
    for (const auto& e : platform::listDirectory(l.paths.globalIniFolder, "*.ini")) {
        if (e.isFolder || !content::endsWithNoCase(e.name, ".ini"))
            continue;
        GlobalConfigEntry entry{content::withoutExtension(e.name), {}};
        std::string bytes;
        if (platform::readFile(l.paths.globalIniFolder + e.name, bytes)) {
            for (const std::string& raw : platform::splitLines(bytes)) {
                content::KeyValue kv;
                if (content::keyAndValue(content::cleanLine(raw), vars, kv) &&
                    content::equalsNoCase(kv.key, "description")) {
                    entry.description = kv.value;
                    break;
                }
            }
        }
        out.push_back(std::move(entry));
    }
    // Name order, whatever order the directory keeps.
    std::sort(out.begin(), out.end(), [](const GlobalConfigEntry& a, const GlobalConfigEntry& b) {
        return content::toLower(a.name) < content::toLower(b.name);
    });
    return out;
}

bool deleteGlobalConfiguration(Launcher& l, const std::string& name) {
    // The active one loses its label, and the close does not write its settings back.
    if (!l.activeSettingsName.empty() &&
        content::equalsNoCase(content::withoutExtension(l.activeSettingsName), name)) {
        l.deletedSettingsFile = l.settingsFilePath();
        l.automation.label.clear();
        l.automation.labelVisible = false;
        l.view().refresh();
    }
    FileGate gate = content::fileGate(contentEnv(l));
    bool gone = true;
    for (const std::string& path :
         {l.paths.globalIniFolder + name + ".ini", l.paths.settingsFolder + name + ".ini"})
        gone = gate.trash(FileKind::GlobalConfiguration, path) && gone;
    return gone;
}

} // namespace kv
