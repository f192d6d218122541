#include "kdg/project_files.h"

#include "common/error_box.h"
#include "common/file_gate.h"
#include "common/paths.h"
#include "platform/files.h"

#include <algorithm>
#include <cctype>

namespace kv::kdg {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string extensionOf(const std::string& name) {
    return lower(name.size() >= 4 ? name.substr(name.size() - 4) : name);
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const std::vector<std::string> kPieChoices = {"Effect", "Feature",    "Structure",
                                              "Body",   "Propultion", "Weapon"};
const std::vector<std::string> kPieFolders = {"effects",          "features",
                                              "structs",          "components\\bodies",
                                              "components\\prop", "components\\weapons"};
const std::vector<std::string> kPcxChoices = {"Korvane menu GFX", "Textures",
                                              "Menu background images"};
const std::vector<std::string> kPcxFolders = {"images", "texpages", "texpages\\bdrops"};

} // namespace

std::string addFileFilter() {
    std::string filter;
    for (const char* type : {"pie", "?lo", "wav", "txt", "pcx"}) {
        if (!filter.empty())
            filter += "|";
        filter += std::string("*.") + type + "|*." + type;
    }
    return filter + "|All files|*.*";
}

std::optional<FileQuestion> addFileQuestion(const std::string& fileName) {
    const std::string ext = extensionOf(fileName);
    if (ext == ".pie")
        return FileQuestion{"Please choose the type of the pie file", kPieChoices};
    if (ext == ".slo" || ext == ".vlo")
        return FileQuestion{"Please choose the type of the script",
                            {"Multiplayer script", "Single player script"}};
    if (ext == ".pcx")
        return FileQuestion{"Please choose type of the pcx file", kPcxChoices};
    if (ext == ".wav" || ext == ".lev")
        return FileQuestion{};
    return std::nullopt;
}

std::optional<AddTarget> addTargetFor(const std::string& fileName, int choice) {
    const std::string ext = extensionOf(fileName);
    const auto in = [&](std::size_t n) { return choice >= 0 && std::size_t(choice) < n; };
    if (ext == ".pie")
        return in(kPieFolders.size()) ? std::optional(AddTarget{kPieFolders[choice], "pie"})
                                      : std::nullopt;
    if (ext == ".pcx")
        return in(kPcxFolders.size()) ? std::optional(AddTarget{kPcxFolders[choice], "gfx"})
                                      : std::nullopt;
    if (ext == ".slo" || ext == ".vlo") {
        if (!in(2))
            return std::nullopt;
        if (choice == 0)
            return AddTarget{"multiplay\\script", "multi script"};
        const bool slo = lower(fileName).ends_with("slo");
        return AddTarget{slo ? "script\\text" : "script\\data", "other script"};
    }
    if (ext == ".wav")
        return AddTarget{"audio", "audio"};
    if (ext == ".lev")
        return AddTarget{"", ""};
    return std::nullopt;
}

bool addProjectFile(KdgProject& project, const std::string& source, int choice,
                    const std::string& launcherFolder, Ui& ui) {
    const std::string name = fileNameOf(source);
    if (!addFileQuestion(name)) {
        ui.message("Unknown file format!", Icon::Exclamation);
        return false;
    }
    const std::optional<AddTarget> target = addTargetFor(name, choice);
    if (!target) {
        ui.message("error: Main2.List2.ListIndex - " + std::to_string(choice));
        return false;
    }
    if (!platform::fileExists(source)) {
        showErrorBox(ui, platform::err::FileNotFound, "File not found: " + source, "AddFileToKDG");
        return false;
    }
    const ProjectFile file{name, target->subFolder,
                           target->aspectKey.empty() ? "lev" : target->aspectKey};
    const auto listed = std::find_if(project.files.begin(), project.files.end(), [&](auto& f) {
        return lower(f.name) == lower(name) && lower(f.subFolder) == lower(file.subFolder);
    });
    if (listed == project.files.end() && project.files.size() >= kMaxProjectFiles) {
        ui.message("A KDG project holds at most " + std::to_string(kMaxProjectFiles) + " files.",
                   Icon::Exclamation);
        return false;
    }
    if (!target->aspectKey.empty() &&
        !AddResourceFiles(project, target->aspectKey, launcherFolder, ui))
        return false;
    const std::string to = project.pathOf(file);
    if (platform::folderExists(to)) {
        ui.message("File already exists!\r\n Settings for this file were overwritten!",
                   Icon::Exclamation);
    } else {
        const platform::Status s =
            FileGate(ui, project.folder).copyOver(FileKind::KdgProjectFile, source, to);
        if (!s) {
            showErrorBox(ui, s.code, s.description, "AddFileToKDG");
            return false;
        }
    }
    // The same file added again replaces its entry rather than listing it twice.
    if (listed == project.files.end())
        project.files.push_back(file);
    else
        *listed = file;
    const std::string lowerName = lower(name);
    if (target->subFolder.empty() && (lowerName == "addon.lev" || lowerName == "gamedesc.lev")) {
        (lowerName == "addon.lev" ? project.addonLev : project.gamedescLev) = name;
        CreateBat(project, true, ui);
        ui.message("'" + name + "' added to the commandline", Icon::Information);
    }
    return true;
}

bool AddFileDialog(KdgProject& project, const std::string& launcherFolder, Ui& ui) {
    const auto source = ui.openFile("Add file to KDG", addFileFilter());
    if (!source)
        return false;
    const std::string name = fileNameOf(*source);
    const std::optional<FileQuestion> question = addFileQuestion(name);
    int choice = 0;
    if (question && !question->prompt.empty()) {
        const auto answer = ui.choose(question->prompt, question->choices);
        if (!answer)
            return false;
        choice = *answer;
    }
    return addProjectFile(project, *source, choice, launcherFolder, ui);
}

bool removeProjectFile(KdgProject& project, std::size_t index, Ui& ui) {
    if (index >= project.files.size())
        return false;
    const ProjectFile file = project.files[index];
    const std::string path = project.pathOf(file);
    if (!FileGate(ui, project.folder).trash(FileKind::KdgProjectFile, path))
        return false;
    project.files.erase(project.files.begin() + std::ptrdiff_t(index));
    const std::string lowerName = lower(file.name);
    if (file.subFolder.empty() && (lowerName == "addon.lev" || lowerName == "gamedesc.lev")) {
        (lowerName == "addon.lev" ? project.addonLev : project.gamedescLev).clear();
        CreateBat(project, true, ui);
        ui.message("Commandline was updated", Icon::Information);
    }
    return true;
}

} // namespace kv::kdg
