#include "launcher/installation_actions.h"

#include "common/ui_port.h"
#include "core/text_util.h"
#include "launcher/launcher.h"
#include "platform/files.h"
#include "platform/user_folders.h"
#include "platform/wine_prefix.h"

#include <cstdlib>
#include <optional>
#include <vector>

namespace kv {

namespace {

std::string folderOf(const std::string& file) {
    const size_t cut = file.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : file.substr(0, cut + 1);
}

#ifndef _WIN32
// Linux players keep the Windows game in a Wine prefix of its own, often deep below a
// hidden folder the file dialog would not show: the games found there are offered first.
std::optional<std::string> chooseGameInWinePrefix(Ui& ui, const std::string& home) {
    const auto found = platform::findInWinePrefixes(home, kGameExecutable);
    if (found.empty())
        return std::nullopt;
    std::vector<std::string> items;
    for (const platform::FoundProgram& f : found)
        items.push_back(folderOf(f.program) + "  (Wine prefix " + f.prefix + ")");
    items.push_back("Another place...");
    const auto chosen = ui.choose("Korvane Tactics found in Wine", items);
    if (!chosen || *chosen < 0 || size_t(*chosen) >= found.size())
        return std::nullopt;
    return folderOf(found[size_t(*chosen)].program);
}
#endif

} // namespace

std::string SetKVPath(Launcher& launcher) {
    Ui& ui = launcher.ui();
    // The launcher's own folder is the one place the game is sure not to be: without a
    // Wine prefix to start in, the dialog opens in the home folder.
    std::string initialFolder = platform::homeFolder();
#ifndef _WIN32
    const char* home = std::getenv("HOME");
    if (home && *home) {
        if (auto folder = chooseGameInWinePrefix(ui, home))
            return *folder;
        const auto roots = platform::winePrefixRoots(home);
        if (!roots.empty())
            initialFolder = roots.front();
    }
#endif
    ui.message("Please locate 'Korvane.exe' file!", Icon::Exclamation);
    const auto file = ui.openFile("Korvane.exe", "korvane.exe|korvane.exe", initialFolder);
    return file ? folderOf(*file) : std::string();
}

void AddKVPath(Launcher& launcher, const std::string& folder) {
    launcher.installations.AddKVPath(folder);
}

std::string GetKVPath(Launcher& launcher) {
    std::string folder = SetKVPath(launcher);
    if (folder.size() < 3)
        folder = SetKVPath(launcher);
    if (folder.size() >= 3) {
        InstallationList& list = launcher.installations;
        list.setCurrentGameFolder(folder);
        list.AddKVPath(folder);
        list.SetDefaultKVPath(list.count() - 1);
    }
    return folder;
}

bool hasGameInstallation(const Launcher& launcher) {
    return !trimmed(launcher.installations.currentGameFolder()).empty();
}

void readKVPathSetting(Launcher& launcher, const std::string& value) {
    if (value.size() >= 3 && platform::folderExists(value))
        AddKVPath(launcher, value);
    else
        AddKVPath(launcher, SetKVPath(launcher));
}

void finishInstallationReading(Launcher& launcher) {
    if (launcher.installations.count() < 1)
        GetKVPath(launcher);
    if (launcher.installations.selected() < 0)
        launcher.installations.SetDefaultKVPath(0);
}

void installationMenuAction(Launcher& launcher, const std::string& entryText) {
    InstallationList& list = launcher.installations;
    const std::string action = lowerAscii(entryText);
    if (action == "add...") {
        const std::string folder = SetKVPath(launcher);
        if (!trimmed(folder).empty())
            AddKVPath(launcher, folder);
    } else if (action == "remove...") {
        if (list.count() < 2) {
            launcher.ui().message("You can't remove this KV Path, it is the only one available.",
                                  Icon::Exclamation);
        } else if (list.selected() >= 0) {
            const std::string& folder = list.paths()[size_t(list.selected())];
            const Answer a =
                launcher.ui().message("Are you sure you want to remove:\n'" + folder + "'\n?",
                                      Icon::Question, Buttons::YesNo);
            if (a == Answer::Yes) {
                const std::string refusal = list.RemoveKVPath(list.selected());
                if (!refusal.empty())
                    launcher.ui().message(refusal, Icon::Exclamation);
            }
        }
    } else if (action == "change...") {
        if (list.selected() >= 0) {
            const std::string folder = SetKVPath(launcher);
            if (!trimmed(folder).empty())
                list.changeSelected(folder);
        }
    } else if (action == "open") {
        openKVFolder(launcher, list.selected());
    }
    launcher.view().refresh();
}

void chooseInstallation(Launcher& launcher, int menuEntry) {
    launcher.installations.SetDefaultKVPath(menuEntry - 1);
    launcher.view().refresh();
}

namespace {

void openInstallationFolder(Launcher& launcher, int index, const char* below) {
    const auto& paths = launcher.installations.paths();
    if (index < 0 || size_t(index) >= paths.size() || trimmed(paths[size_t(index)]).empty())
        return;
    launcher.openInShell(platform::resolvePath(paths[size_t(index)] + below));
    if (launcher.alwaysOnTop) {
        // Otherwise the file manager would open behind the launcher.
        launcher.view().minimise();
        launcher.wasMinimised = true;
    }
}

} // namespace

void openKVFolder(Launcher& launcher, int index) {
    openInstallationFolder(launcher, index, "");
}

void openSkirmishFolder(Launcher& launcher, int index) {
    openInstallationFolder(launcher, index, "\\multiplay\\skirmish");
}

bool CheckForTerraForge(const Launcher& launcher) {
    const std::string& folder = launcher.installations.currentGameFolder();
    return !folder.empty() && platform::fileExists(folder + "TerraForge.exe");
}

bool CheckForScriptHelpFile(const Launcher& launcher) {
    const std::string& folder = launcher.installations.currentGameFolder();
    return !folder.empty() && platform::fileExists(folder + "multiplay\\skirmish\\scriptLang.rtf");
}

void WriteRegistryKeys(Launcher& launcher) {
    Registry& r = launcher.registry;
    r.CreateKey(kLauncherRegistryKey);
    r.SetStringValue(kLauncherRegistryKey, "KVSPath", launcher.paths.launcherFolder);
    r.SetStringValue(kLauncherRegistryKey, "KVPath", launcher.installations.currentGameFolder());
}

} // namespace kv
