#include "kdg/project_creation.h"

#include "platform/files.h"

namespace kv::kdg {

namespace {

enum Choice { EmptyFolder, FolderStructure, ExistingFolder };

std::string withoutLastPart(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

bool CreateKdgProject(KdgProject& project, const std::string& launcherFolder, Ui& ui,
                      const AspectPicker& pickAspects, bool* complete) {
    if (complete)
        *complete = false;
    const std::optional<int> choice = ui.choose(
        "Create directory with or without any files?",
        {"Create new empty directory", "Create directory stucture", "Choose existing directory"});
    if (!choice || *choice < EmptyFolder || *choice > ExistingFolder)
        return false;

    std::string folder;
    for (;;) {
        const auto picked =
            ui.saveFile("Enter name of new directory", "Folders|*.!@#$%^&*", {}, "KDGDirectory");
        if (!picked || picked->empty()) {
            ui.message("No folders were created!", Icon::Exclamation);
            return false;
        }
        if (*choice == ExistingFolder) {
            folder = withoutLastPart(*picked);
            break;
        }
        if (!platform::folderExists(*picked)) {
            folder = *picked;
            break;
        }
        ui.message("Directory already exists!", Icon::Exclamation);
    }

    KdgProject next;
    next.setFolder(folder);
    bool done = false;
    if (*choice == FolderStructure) {
        const auto& table = projectAspects();
        std::vector<std::string> texts;
        for (const ProjectAspect& a : table)
            texts.emplace_back(a.choiceText);
        const auto aspects = pickAspects ? pickAspects(kAspectPrompt, texts) : std::nullopt;
        if (!aspects)
            return false;
        done = createFilledDir(next, *aspects, launcherFolder, ui);
    } else {
        done = createEmptyDir(next, *choice == EmptyFolder, launcherFolder, ui);
    }
    // A folder made before a resource list failed still becomes the project.
    if (!done && !platform::folderExists(next.folder))
        return false;
    project = next;
    if (complete)
        *complete = done;
    return true;
}

} // namespace kv::kdg
