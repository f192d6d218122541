#include "kdg/project_builder.h"

#include "common/error_box.h"
#include "common/file_gate.h"
#include "common/paths.h"
#include "kdg/folders.h"
#include "platform/files.h"

#include <algorithm>
#include <filesystem>

namespace kv::kdg {

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// A copy that replaces its target in the project; the error box names the operation on
// failure.
bool copyInto(const KdgProject& project, const std::string& from, const std::string& to, Ui& ui,
              std::string_view operation) {
    if (!platform::fileExists(from)) {
        showErrorBox(ui, platform::err::FileNotFound, "File not found: " + from, operation);
        return false;
    }
    const platform::Status s =
        FileGate(ui, project.folder).copyOver(FileKind::KdgProjectFile, from, to);
    if (!s) {
        showErrorBox(ui, s.code, s.description, operation);
        return false;
    }
    return true;
}

bool makeFolder(const std::string& path, Ui& ui, std::string_view operation) {
    if (platform::folderExists(path))
        return true;
    const platform::Status s = platform::createFolderTree(path);
    if (!s) {
        showErrorBox(ui, s.code, s.description, operation);
        return false;
    }
    return true;
}

bool writeText(const std::string& path, const std::string& text, Ui& ui) {
    platform::clearAttributes(path);
    const platform::Status s = platform::writeFileAtomic(path, text);
    if (!s) {
        showErrorBox(ui, s.code, s.description, "CreateBat");
        return false;
    }
    return true;
}

} // namespace

void KdgProject::setFolder(std::string_view path) {
    std::string f(path);
    while (f.size() > 1 && isSeparator(f.back()))
        f.pop_back();
    folder = f;
    const auto slash = std::find_if(f.rbegin(), f.rend(), isSeparator);
    name = std::string(slash.base(), f.end());
}

std::string KdgProject::pathOf(const ProjectFile& file) const {
    return file.subFolder.empty() ? joinPath(folder, file.name)
                                  : joinPath(folder, file.subFolder + "\\" + file.name);
}

const std::vector<ProjectAspect>& projectAspects() {
    static const std::vector<ProjectAspect> aspects = {
        {"Pie files",
         "pie",
         {"structs", "components", "components\\prop", "components\\weapons", "components\\bodies",
          "effects", "features"},
         {"PieStats.krf"},
         "krf"},
        {"Status files",
         "stats",
         {"stats", "stats\\research", "stats\\research\\cam1", "messages", "messages\\strings"},
         {"Stats.krf"},
         "krf"},
        {"Messages",
         "messages",
         {"messages", "messages\\strings"},
         {"Stats.krf", "multiRes.krf"},
         "krf"},
        {"Sound",
         "audio",
         {"audio", "audio\\Coltive", "audio\\Countdown", "audio\\Extra", "audio\\MemResSp",
          "audio\\Nexus", "audio\\RadClick", "audio\\SFX", "audio\\TrnspPil", "audio\\tutorial",
          "audio\\VtolTalk"},
         {"audio.krf"},
         "krf"},
        {"Textures",
         "gfx",
         {"images", "texpages", "texpages\\slides", "texpages\\bdrops"},
         {"frontend.krf", "VidMem.krf", "vidmem3.krf"},
         "krf"},
        {"Multiplay AI scripts",
         "multi script",
         {"multiplay", "multiplay\\script"},
         {"skirmish2.krf", "skirmish4.krf", "skirmish8.krf", "t2-skirmish2.krf", "t2-skirmish4.krf",
          "t2-skirmish8.krf", "t3-skirmish2.krf", "t3-skirmish4.krf", "t3-skirmish8.krf"},
         "krf\\multi"},
        {"Other scripts",
         "other script",
         {"script", "script\\data", "script\\fastplay", "script\\text"},
         {},
         "krf"},
    };
    return aspects;
}

const ProjectAspect* findAspect(std::string_view key) {
    for (const ProjectAspect& a : projectAspects())
        if (key == a.key)
            return &a;
    return nullptr;
}

std::string projectWord(std::string_view name) {
    const auto blank = name.find(' ');
    return std::string(name.substr(0, blank));
}

std::string MakeKDGCommandLine(const KdgProject& project) {
    std::string levels;
    if (!project.gamedescLev.empty())
        levels += " -a " + project.gamedescLev;
    if (!project.addonLev.empty())
        levels += " -a " + project.addonLev;
    // The game's own archives with their priorities, passed on unchanged.
    return "makekdg -v -o \"" + project.name + ".kdg\" -x 20 " + projectWord(project.name) +
           " -s 11 nov -s 10 oct -s 9 sep30 -s 8 aug27 -s 7 july30 -s 6 June25 -s 5 may28  -s 4 "
           "may21 -s 3 NewTech -s 2 NewMaps -s 1 cam2Tech -s 0 korvane " +
           levels + " -w krf\\multi\\*.krf -w krf\\*.krf -w *.krf >result.txt";
}

bool CreateBat(const KdgProject& project, bool deleteOld, Ui& ui) {
    const std::string bat = joinPath(project.folder, kBatchFileName);
    if (deleteOld)
        FileGate(ui, project.folder).remove(FileKind::Temporary, bat);
    if (!writeText(bat, MakeKDGCommandLine(project) + "\r\n", ui))
        return false;
#ifndef _WIN32
    const std::string script = joinPath(project.folder, kShellScriptName);
    const std::string text = std::string("#!/bin/sh\n"
                                         "# Runs the batch file beside this script through Wine.\n"
                                         "cd \"$(dirname \"$0\")\" || exit 1\n"
                                         "exec wine cmd /c \"") +
                             kBatchFileName + "\"\n";
    if (!writeText(script, text, ui))
        return false;
    std::error_code ec;
    std::filesystem::permissions(platform::resolvePath(script),
                                 std::filesystem::perms::owner_exec |
                                     std::filesystem::perms::group_exec |
                                     std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add, ec);
#endif
    return true;
}

bool AddResourceFiles(const KdgProject& project, std::string_view key,
                      const std::string& launcherFolder, Ui& ui) {
    const ProjectAspect* aspect = findAspect(key);
    if (!aspect) {
        ui.message("error: " + std::string(key));
        return false;
    }
    // Without a launcher folder the lists are the project's own: any folder its batch file
    // has the tool read lists from ("-w krf\multi\*.krf -w krf\*.krf -w *.krf") will do.
    if (launcherFolder.empty()) {
        for (const char* list : aspect->resourceLists) {
            const auto held = [&](const char* folder) {
                return platform::fileExists(joinPath(joinPath(project.folder, folder), list));
            };
            if (held("krf\\multi") || held("krf") || held(""))
                continue;
            ui.message(std::string("The project has no ") + list + " in " + aspect->resourceTarget +
                           "\\: copy it there from the launcher folder's resources\\, or name "
                           "the launcher folder (--resources) to copy it from.",
                       Icon::Exclamation);
            return false;
        }
    }
    for (const char* folder : {"krf", "krf\\multi"})
        if (!makeFolder(joinPath(project.folder, folder), ui, "AddResourceFiles"))
            return false;
    for (const char* folder : aspect->folders)
        if (!makeFolder(joinPath(project.folder, folder), ui, "AddResourceFiles"))
            return false;
    if (launcherFolder.empty())
        return true;
    const std::string resources = joinPath(launcherFolder, "resources");
    const std::string target = joinPath(project.folder, aspect->resourceTarget);
    bool ok = true;
    for (const char* list : aspect->resourceLists)
        ok = copyInto(project, platform::resolvePath(joinPath(resources, list)),
                      joinPath(target, list), ui, "AddResourceFiles") &&
             ok;
    return ok;
}

bool createEmptyDir(const KdgProject& project, bool createFolder, const std::string& launcherFolder,
                    Ui& ui) {
    if (platform::pathExists(project.folder) && !platform::folderExists(project.folder)) {
        showErrorBox(ui, platform::err::PathFileAccess, "Path/File access error: " + project.folder,
                     "createEmptyDir");
        return false;
    }
    // The archive tool is the game's, not ours: without it no project can be built, so
    // nothing is made and the user learns where it belongs.
    const std::string resources = platform::resolvePath(joinPath(launcherFolder, "resources"));
    const std::string shippedTool = joinPath(resources, kToolName);
    if (!platform::fileExists(shippedTool)) {
        ui.message(std::string(kToolName) +
                       " is the game's archive tool; it does not come with Korvane Starter.\n"
                       "Copy it from the game's modding tools into " +
                       withTrailingSeparator(resources) + " and create the project again.",
                   Icon::Exclamation);
        return false;
    }
    if (createFolder && !MakeDirTree(project.folder, ui)) {
        showErrorBox(ui, platform::err::PathNotFound, "Path not found: " + project.folder,
                     "createEmptyDir");
        return false;
    }
    // Every project has the folders its batch file names.
    for (const char* folder : {"krf", "krf\\multi"})
        if (!makeFolder(joinPath(project.folder, folder), ui, "createEmptyDir"))
            return false;
    const std::string tool = joinPath(project.folder, kToolName);
    if (!copyInto(project, shippedTool, tool, ui, "createEmptyDir"))
        return false;
    // Hidden, so that the user's own files stand out in the folder.
    platform::setAttributes(tool, platform::AttrHidden);
    return CreateBat(project, false, ui);
}

bool createFilledDir(const KdgProject& project, const std::vector<int>& aspects,
                     const std::string& launcherFolder, Ui& ui) {
    if (!createEmptyDir(project, true, launcherFolder, ui))
        return false;
    const auto& table = projectAspects();
    const auto chosen = [&](std::string_view key) {
        return std::any_of(aspects.begin(), aspects.end(), [&](int i) {
            return i >= 0 && std::size_t(i) < table.size() && key == table[std::size_t(i)].key;
        });
    };
    bool ok = true;
    for (const ProjectAspect& aspect : table) {
        if (!chosen(aspect.key))
            continue;
        if (std::string_view(aspect.key) == "messages" && chosen("stats"))
            continue;
        ok = AddResourceFiles(project, aspect.key, launcherFolder, ui) && ok;
    }
    return ok;
}

KdgProject openExistingProject(std::string_view folder) {
    KdgProject p;
    p.setFolder(folder);
    for (const platform::DirEntry& e : platform::listDirectory(p.folder, "*.lev")) {
        if (e.isFolder)
            continue;
        std::string lower = e.name;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (lower == "addon.lev")
            p.addonLev = e.name;
        else if (lower == "gamedesc.lev")
            p.gamedescLev = e.name;
    }
    return p;
}

} // namespace kv::kdg
