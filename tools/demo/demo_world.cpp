#include "tools/demo/demo_world.h"
#include "tools/demo/demo_project_resources.h"
#include "tools/demo/update_demo.h"

#include "common/paths.h"
#include "launcher/startup.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tools/worldgen/automation_demo.h"
#include "tools/worldgen/content_demo.h"

#include <algorithm>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kv::demo {

namespace {

struct Writer {
    std::string& error;
    bool ok = true;

    void folder(const std::string& path) {
        if (ok && !platform::folderExists(path) && !platform::createFolderTree(path)) {
            error = "cannot create " + path;
            ok = false;
        }
    }
    void script(const std::string& path, const std::string& body, bool replace) {
        if (!ok || (!replace && platform::fileExists(path) && !isCrLfScript(path)))
            return;
        if (!platform::writeFileAtomic(path, "#!/bin/sh\n" + body + "\n")) {
            error = "cannot write " + path;
            ok = false;
        }
    }
    // A stand-in script written by an older demo with CR LF ends cannot run; it is
    // replaced. Anything else there (a real program) is kept.
    static bool isCrLfScript(const std::string& path) {
        std::string bytes;
        if (!platform::readFile(path, bytes) || !bytes.starts_with("#!"))
            return false;
        const std::size_t end = bytes.find('\n');
        return end != std::string::npos && end > 0 && bytes[end - 1] == '\r';
    }
    void text(const std::string& path, const std::vector<std::string>& lines, bool replace) {
        if (!ok || (!replace && platform::fileExists(path)))
            return;
        if (!platform::writeTextLines(path, lines)) {
            error = "cannot write " + path;
            ok = false;
        }
    }
};

// The map editor stand-in notes each start, with its folder and parameters, in
// "TerraForge.log" beside it, and shows it for a while when a display is at hand.
constexpr const char* kMapEditorStandin =
    "text=\"TerraForge map editor stand-in. Folder: $(pwd)  Parameters: [$*]\"\n"
    "echo \"$text\" >>TerraForge.log\n"
    "if [ -n \"$DISPLAY\" ] && command -v xmessage >/dev/null 2>&1; then\n"
    "    exec xmessage -center -timeout 15 \"$text\"\n"
    "fi";

std::vector<std::string> settingsLines(const std::string& gameFolder) {
    std::vector<std::string> lines{"KVPath=" + gameFolder,
                                   "SelectedKVPath=" + gameFolder,
                                   "Ver=2.144",
                                   "KVResolution=0",
                                   "Use3dfxOn=-1",
                                   "Used3dOn=0",
                                   "UseSoftwareRenderOn=0",
                                   "SoftwareRenderType=0",
                                   "StartWithCampaignOn=0",
                                   "StartWithCampaign=Demo",
                                   "DebugOn=Debug off",
                                   "Bases=Bases",
                                   "AlliancesOn=Alliances on",
                                   "ShowIntroOn=No intro",
                                   "MiniModeOn=0",
                                   "TerraForgeGFXmode=0",
                                   "SelectedTabIndex=1",
                                   "MultiplayerModeOn=0"};
    for (int n = 0; n < 8; ++n) {
        lines.push_back("AI" + std::to_string(n) + "=<don't change>");
        lines.push_back("AICustomizingOn" + std::to_string(n) + "=0");
    }
    for (const char* line :
         {"RulesFile=<don't change>", "RulesCustomizingOn=0", "AIOverwriteWarned=0",
          "Nickname=Demo", "LastAudoDownloadMessageIndex=0", "AlwaysOnTopOn=0",
          "ShowMapPreviewOn=-1", "ScrollSpeed=2", "HotPhrase0=Hello!", "HotPhrase1=Good game",
          "HotPhrase2=", "HotPhrase3=", "HotPhrase4=", "IPHistory0=127.0.0.1",
          "CheckForUpdatesOnSturtUpOn=0"})
        lines.emplace_back(line);
    return lines;
}

} // namespace

bool writeDemoWorld(const std::string& root, bool fresh, DemoWorld& world, std::string& error) {
    world.launcherFolder = withTrailingSeparator(joinPath(root, "launcher"));
    world.gameFolder = withTrailingSeparator(joinPath(root, "game"));
    Writer w{error};
    const std::string& launcher = world.launcherFolder;
    for (const char* folder : launcherFolders())
        w.folder(joinPath(launcher, folder));
    w.text(joinPath(launcher, "Settings\\KVS\\OriginalKDGs.ini"),
           {"korvane.kdg", "mp.kdg", "patch.kdg", "sounds.kdg"}, fresh);
    w.text(joinPath(launcher, "Settings\\starter.ini"), settingsLines(world.gameFolder), fresh);
    if (w.ok && !writeProjectResources(launcher, fresh, error))
        w.ok = false;

    const std::string& game = world.gameFolder;
    w.folder(joinPath(game, "multiplay\\skirmish"));
    // Stand-ins until the real programs are built. They are started, so they are shell
    // scripts with LF line ends: a CR after "#!/bin/sh" names no interpreter.
    w.script(joinPath(game, "korvane.exe"), "echo Korvane Tactics", fresh);
    w.script(joinPath(game, "TerraForge.exe"), kMapEditorStandin, fresh);
    w.text(joinPath(game, "multiplay\\skirmish\\scriptLang.rtf"),
           {"{\\rtf1\\ansi Korvane Tactics script language}"}, fresh);
#ifndef _WIN32
    for (const char* program : {"korvane.exe", "TerraForge.exe"})
        if (w.ok)
            ::chmod(joinPath(game, program).c_str(), 0755);
#endif
    // Sample AIs, rules sets, archives and the default scripts they replace.
    if (w.ok && !worldgen::makeDemoContent(launcher, game)) {
        error = "cannot write the demo content";
        w.ok = false;
    }
    // The local update server's files, beside the launcher and the game.
    if (w.ok)
        w.ok = writeUpdateServer(joinPath(root, "update-server"),
                                 "http://127.0.0.1:" + std::to_string(kDemoUpdatePort), error);
    if (w.ok && !worldgen::makeDemoAutomation(launcher)) {
        error = "cannot write the demo configurations";
        w.ok = false;
    }
    return w.ok;
}

bool setDemoSettings(const DemoWorld& world,
                     const std::vector<std::pair<std::string, std::string>>& settings) {
    const std::string path = world.launcherFolder + "Settings/starter.ini";
    std::vector<std::string> lines;
    if (!platform::readTextLines(path, lines))
        return false;
    for (const auto& [key, value] : settings) {
        const std::string prefix = key + "=";
        const auto same = std::find_if(lines.begin(), lines.end(), [&prefix](const std::string& l) {
            return l.starts_with(prefix);
        });
        if (same == lines.end())
            lines.push_back(prefix + value);
        else
            *same = prefix + value;
    }
    return bool(platform::writeTextLines(path, lines));
}

} // namespace kv::demo
