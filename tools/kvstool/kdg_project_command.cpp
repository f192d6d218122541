// kvstool kdg project create|add|cmdline: prepares a KDG project folder on the same code
// as the launcher's "New KDG" page, so mod authors can script their projects.
#include "common/file_gate.h"
#include "kdg/project_builder.h"
#include "kdg/project_files.h"
#include "platform/files.h"
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <sstream>

namespace kv::tool {

namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "usage: kvstool kdg project create DIR [--aspects KEY,KEY,...] [--resources LAUNCHER_DIR]\n"
    "       kvstool kdg project add DIR FILE [--as CHOICE] [--resources LAUNCHER_DIR]\n"
    "       kvstool kdg project cmdline DIR\n"
    "Aspect keys: pie, stats, messages, audio, gfx, \"multi script\", \"other script\".\n"
    "CHOICE answers the file's question by its text (\"Weapon\", \"Multiplayer script\", ...)\n"
    "or its number from 0. LAUNCHER_DIR holds resources/MakeKDG.exe and the .krf lists\n"
    "(create: the current folder by default; add: without it the lists are taken from the\n"
    "project, where the batch file has the tool read them).\n";

const Area kArea("kdg project", kUsage);

// Reports go to standard output, problems to standard error.
struct ProjectUi : ConsoleUi {
    ProjectUi() : ConsoleUi("kvstool kdg project: ") { informationOnStdout = true; }
};

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const auto absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

// The outermost folder of `path` that does not exist yet: what creating `path` makes.
fs::path outermostMissing(const std::string& path) {
    std::error_code ec;
    fs::path missing;
    for (fs::path p = fs::path(path); !p.empty() && !fs::exists(fs::symlink_status(p, ec));
         p = p.parent_path()) {
        missing = p;
        if (p == p.parent_path())
            break;
    }
    return missing;
}

// Whether `folder` holds folders at most, none of them a link.
bool holdsNoFile(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(folder, ec)))
        return false;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (!fs::is_directory(it->symlink_status(ec)))
            return false;
    return !ec;
}

std::string lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

struct Options {
    std::vector<std::string> positional;
    std::string aspects;
    std::string choice;
    std::string resources; // empty: not given
};

bool parse(const std::vector<std::string>& args, Options& o, std::string& problem) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string* value = a == "--aspects"     ? &o.aspects
                             : a == "--as"        ? &o.choice
                             : a == "--resources" ? &o.resources
                                                  : nullptr;
        if (value) {
            if (i + 1 == args.size()) {
                problem = a + " needs a value";
                return false;
            }
            *value = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            problem = "unknown option " + a;
            return false;
        } else {
            o.positional.push_back(a);
        }
    }
    return true;
}

int runCreate(const Options& o) {
    if (o.positional.size() != 1)
        return kArea.usage("create needs exactly one folder");
    std::vector<int> chosen;
    std::stringstream keys(o.aspects);
    for (std::string key; std::getline(keys, key, ',');) {
        if (key.empty())
            continue;
        const kdg::ProjectAspect* aspect = kdg::findAspect(key);
        if (!aspect)
            return kArea.usage("unknown aspect " + key);
        chosen.push_back(int(aspect - kdg::projectAspects().data()));
    }
    kdg::KdgProject project;
    project.setFolder(absolutePath(o.positional[0]));
    if (platform::pathExists(project.folder)) {
        return kArea.failure("Directory already exists!");
    }
    const fs::path made = outermostMissing(project.folder);
    ProjectUi ui;
    if (!kdg::createFilledDir(project, chosen,
                              absolutePath(o.resources.empty() ? "." : o.resources), ui)) {
        // A retry would find the folder taken: one left as empty as it was made goes again.
        if (!made.empty() && holdsNoFile(made))
            FileGate(ui, made.parent_path().string()).remove(FileKind::Temporary, made.string());
        return 1;
    }
    std::printf("%s\n", project.folder.c_str());
    return 0;
}

int runAdd(const Options& o) {
    if (o.positional.size() != 2)
        return kArea.usage("add needs a project folder and a file");
    const std::string folder = absolutePath(o.positional[0]);
    if (!platform::folderExists(folder)) {
        return kArea.failure("no project folder " + folder);
    }
    kdg::KdgProject project = kdg::openExistingProject(folder);
    const std::string source = absolutePath(o.positional[1]);
    const std::string name = fs::path(source).filename().string();
    int choice = 0;
    const auto question = kdg::addFileQuestion(name);
    if (question && !question->prompt.empty()) {
        if (o.choice.empty())
            return kArea.usage(question->prompt + " (--as)");
        choice = -1;
        for (std::size_t i = 0; i < question->choices.size(); ++i)
            if (lower(question->choices[i]) == lower(o.choice))
                choice = int(i);
        if (choice < 0) {
            if (o.choice.find_first_not_of("0123456789") != std::string::npos ||
                o.choice.size() > 6)
                return kArea.usage("unknown answer " + o.choice);
            choice = std::stoi(o.choice);
        }
    }
    ProjectUi ui;
    const std::string resources = o.resources.empty() ? std::string() : absolutePath(o.resources);
    return kdg::addProjectFile(project, source, choice, resources, ui) ? 0 : 1;
}

int runCmdline(const Options& o) {
    if (o.positional.size() != 1)
        return kArea.usage("cmdline needs exactly one folder");
    const kdg::KdgProject project = kdg::openExistingProject(absolutePath(o.positional[0]));
    std::printf("%s\n", kdg::MakeKDGCommandLine(project).c_str());
    return 0;
}

} // namespace

int runKdgProjectCommand(const std::vector<std::string>& args) {
    if (kArea.helpAsked(args))
        return 0;
    if (args.empty())
        return kArea.usage();
    Options o;
    std::string problem;
    if (!parse({args.begin() + 1, args.end()}, o, problem))
        return kArea.usage(problem);
    if (args[0] == "create")
        return runCreate(o);
    if (args[0] == "add")
        return runAdd(o);
    if (args[0] == "cmdline")
        return runCmdline(o);
    return kArea.usage("unknown command " + args[0]);
}

} // namespace kv::tool
