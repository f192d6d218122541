#include "common/file_gate.h"

#include "common/error_box.h"
#include "platform/files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <atomic>
#include <filesystem>
#include <vector>

namespace kv {

namespace fs = std::filesystem;

namespace {

struct Home {
    std::string folder;
    int maxDepth; // names below the folder, the entry's own included
};

// The error number the common box shows for a path the gate will not touch.
constexpr int kPathRefused = 75;

// The desktop trash is missing on some file systems; the user is told where the files
// went instead the first time only.
std::atomic<bool> fallbackTold{false};

// The entry a path text names, without a trailing separator: "link/" would name what the
// link points to.
fs::path fsPath(std::string_view text) {
    fs::path p = fs::path(platform::resolvePath(text)).lexically_normal();
    if (p.filename().empty() && p.has_parent_path() && p != p.root_path())
        p = p.parent_path();
    return p;
}

bool isLink(const fs::path& p) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(p, ec));
}

bool existsOrDangles(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

// Names of `p` below `home`, or -1 when `p` is not below it. The folders in between are
// followed (a home may be reached through a link), the entry itself is not.
int depthBelow(const fs::path& home, const fs::path& p) {
    std::error_code ec;
    const fs::path realHome = fs::weakly_canonical(home, ec);
    if (ec)
        return -1;
    const fs::path parent = p.parent_path();
    const fs::path name = p.filename();
    if (name.empty() || name == "." || name == "..")
        return -1;
    const fs::path realParent = fs::weakly_canonical(parent, ec);
    if (ec)
        return -1;
    const fs::path rel = realParent.lexically_relative(realHome);
    if (rel.empty() && realParent != realHome)
        return -1;
    int depth = 1;
    for (const fs::path& part : rel) {
        if (part == "..")
            return -1;
        if (part != "." && !part.empty())
            ++depth;
    }
    return depth;
}

const char* kindName(FileKind kind) {
    switch (kind) {
    case FileKind::InstalledCopy: return "installed files";
    case FileKind::ModArchive: return "MOD archives";
    case FileKind::Ai: return "AIs";
    case FileKind::RulesSet: return "rules sets";
    case FileKind::DescriptionFile: return "description files";
    case FileKind::GlobalConfiguration: return "global configurations";
    case FileKind::PreferenceFile: return "preference files";
    case FileKind::Temporary: return "temporary files";
    case FileKind::Download: return "downloads";
    case FileKind::KdgProjectFile: return "KDG project files";
    }
    return "files";
}

QString qPath(const fs::path& p) {
    return QFile::decodeName(QByteArray::fromStdString(p.string()));
}

// Where the user's trash folder cannot be made, Qt goes on with an empty trash path and
// moves the file into "files" of the current folder: that is no trash, so it is checked
// first.
bool desktopTrashUsable() {
#ifdef _WIN32
    return true;
#else
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return !data.isEmpty() && QDir().mkpath(data + QStringLiteral("/Trash/files")) &&
           QDir().mkpath(data + QStringLiteral("/Trash/info"));
#endif
}

} // namespace

FileGate::FileGate(const Paths& paths, std::string gameFolder, Ui& ui, std::string otherHome)
    : paths_(paths), gameFolder_(std::move(gameFolder)), ui_(ui), otherHome_(std::move(otherHome)) {
}

FileGate::FileGate(Ui& ui, std::string projectFolder)
    : FileGate(Paths{}, {}, ui, std::move(projectFolder)) {}

bool FileGate::allows(FileKind kind, std::string_view path) const {
    const std::string& root = paths_.launcherFolder;
    std::vector<Home> homes;
    switch (kind) {
    case FileKind::InstalledCopy: homes = {{gameFolder_, 3}}; break;
    case FileKind::ModArchive: homes = {{gameFolder_, 1}}; break;
    case FileKind::Ai: homes = {{paths_.aiFolder, 2}}; break;
    case FileKind::RulesSet: homes = {{paths_.rulesFolder, 1}}; break;
    case FileKind::DescriptionFile:
        homes = {{root.empty() ? root : joinPath(root, "Mods\\INI"), 2}};
        break;
    case FileKind::GlobalConfiguration:
        homes = {{paths_.globalIniFolder, 1}, {paths_.settingsFolder, 1}};
        break;
    case FileKind::PreferenceFile: homes = {{paths_.settingsFolder, 2}, {root, 1}}; break;
    case FileKind::Temporary: homes = {{root, 1}, {gameFolder_, 1}, {otherHome_, 1}}; break;
    case FileKind::Download: homes = {{root, 3}}; break;
    case FileKind::KdgProjectFile: homes = {{otherHome_, 4}}; break;
    }
    if (path.empty())
        return false;
    const fs::path p = fsPath(path);
    for (const Home& h : homes) {
        if (h.folder.empty())
            continue;
        const int depth = depthBelow(fsPath(h.folder), p);
        if (depth >= 1 && depth <= h.maxDepth)
            return true;
    }
    return false;
}

bool FileGate::admit(FileKind kind, std::string_view path) const {
    return allows(kind, path) || refuse(kind, path);
}

std::string FileGate::refusal(FileKind kind, std::string_view path) {
    return "Path/File access error: '" + std::string(path) + "' is not in the folder of the " +
           kindName(kind) + "; it was left as it is.";
}

bool FileGate::refuse(FileKind kind, std::string_view path) const {
    showErrorBox(ui_, kPathRefused, refusal(kind, path), "FileGate");
    return false;
}

bool FileGate::removeEntry(const std::string& path) const {
    const fs::path p = fsPath(path);
    if (!existsOrDangles(p))
        return true;
    std::error_code ec;
    if (!isLink(p) && fs::is_directory(p, ec)) {
        for (const fs::directory_entry& e : fs::directory_iterator(p, ec))
            removeEntry(e.path().string());
        platform::removeFolder(p.string());
    } else {
        if (!isLink(p))
            platform::clearAttributes(p.string());
        platform::deleteFile(p.string());
    }
    return !existsOrDangles(p);
}

bool FileGate::remove(FileKind kind, std::string_view path) {
    if (!allows(kind, path))
        return refuse(kind, path);
    return removeEntry(std::string(path));
}

bool FileGate::trash(FileKind kind, std::string_view path) {
    if (!allows(kind, path))
        return refuse(kind, path);
    const fs::path p = fsPath(path);
    if (!existsOrDangles(p))
        return true;
    if (desktopTrashUsable() && QFile::moveToTrash(qPath(p)))
        return true;
    return moveToLauncherTrash(p.string());
}

bool FileGate::moveToLauncherTrash(const std::string& path) {
    const std::string folder = joinPath(paths_.launcherFolder, "Trash");
    platform::createFolderTree(folder);
    const std::string stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")).toStdString();
    const std::string name = fs::path(path).filename().string();
    std::string target = joinPath(folder, stamp + " " + name);
    for (int n = 2; platform::pathExists(target); ++n)
        target = joinPath(folder, stamp + " (" + std::to_string(n) + ") " + name);
    if (const platform::Status s = platform::renameEntry(path, target); !s) {
        showErrorBox(ui_, s.code, s.description, "FileGate");
        return false;
    }
    if (!fallbackTold.exchange(true))
        ui_.message("The desktop trash is not available here: deleted files are kept in '" +
                        withTrailingSeparator(folder) + "'.",
                    Icon::Information);
    return true;
}

platform::Status FileGate::copyOver(FileKind kind, std::string_view from, std::string_view to) {
    if (!allows(kind, to))
        return {kPathRefused, refusal(kind, to)};
    const fs::path target = fsPath(to);
    // A link at the target is replaced as a link, never written through.
    if (isLink(target))
        platform::deleteFile(target.string());
    else if (platform::pathExists(to))
        platform::clearAttributes(to);
    return platform::copyFile(from, to, true);
}

bool FileGate::renameOver(FileKind kind, std::string_view from, std::string_view to) {
    if (!allows(kind, from))
        return refuse(kind, from);
    if (!allows(kind, to))
        return refuse(kind, to);
    if (fsPath(from) != fsPath(to) && !removeEntry(std::string(to)))
        return false;
    platform::clearAttributes(from);
    return bool(platform::renameEntry(from, to));
}

bool FileGate::keepAside(FileKind kind, std::string_view path) {
    if (!allows(kind, path))
        return refuse(kind, path);
    if (!existsOrDangles(fsPath(path)))
        return true;
    const std::string kept = std::string(path) + std::string(kKeptSuffix);
    // An older kept file is the user's original: the file now at the name is a launcher
    // copy a crash left behind.
    if (existsOrDangles(fsPath(kept)))
        return removeEntry(std::string(path));
    return bool(platform::renameEntry(path, kept));
}

void FileGate::putBack(FileKind kind, std::string_view path) {
    const std::string kept = std::string(path) + std::string(kKeptSuffix);
    if (!allows(kind, path) || !allows(kind, kept)) {
        refuse(kind, path);
        return;
    }
    removeEntry(std::string(path));
    if (existsOrDangles(fsPath(kept)) && !existsOrDangles(fsPath(path)))
        platform::renameEntry(kept, path);
}

void FileGate::putBackLeftovers(FileKind kind, std::string_view folder) {
    if (folder.empty())
        return;
    const std::string pattern = "*" + std::string(kKeptSuffix);
    for (const platform::DirEntry& e : platform::listDirectory(folder, pattern)) {
        const std::string kept = joinPath(folder, e.name);
        putBack(kind, kept.substr(0, kept.size() - kKeptSuffix.size()));
    }
}

} // namespace kv
