// kvstool kdg info|list|extract: the archive reader, listing and extraction of the
// launcher, run from scripts without any display.
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"
#include "tools/kvstool/terminal_text.h"

#include "common/paths.h"
#include "kdg/archive_reader.h"
#include "kdg/extraction.h"
#include "kdg/file_list.h"
#include "kdg/folders.h"
#include "platform/files.h"
#include "platform/text.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cstdio>
#include <filesystem>
#include <optional>

namespace kv::tool {

namespace {

const char kUsage[] = "usage: kvstool kdg info ARCHIVE [--tables DIR] [--json]\n"
                      "       kvstool kdg list ARCHIVE [--tables DIR] [--json]\n"
                      "       kvstool kdg extract ARCHIVE DEST [--tables DIR]\n"
                      "       kvstool kdg project create|add|cmdline ... (--help for more)\n"
                      "       kvstool kdg conflicts GAME_FOLDER ... (--help for more)\n"
                      "Names come from Files.txt and Types.txt in DIR (default: the folder of\n"
                      "kvstool).\n";

const Area kArea("kdg", kUsage);

struct Options {
    std::vector<std::string> positional;
    std::optional<std::string> tables;
    bool json = false;
};

std::optional<Options> parseOptions(const std::vector<std::string>& args, bool allowJson,
                                    bool allowTables, std::string& problem) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json" && allowJson) {
            o.json = true;
        } else if (args[i] == "--tables" && allowTables) {
            if (i + 1 == args.size()) {
                problem = "--tables needs a folder";
                return std::nullopt;
            }
            o.tables = args[++i];
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            problem = "unknown option " + args[i];
            return std::nullopt;
        } else {
            o.positional.push_back(args[i]);
        }
    }
    return o;
}

// An absolute path, so that the archive's file name is always known.
std::string absolutePath(const std::string& path) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
}

bool loadArchive(const std::string& path, const kdg::NameTables& tables,
                 kdg::KdgArchiveInfo& info) {
    std::string reason;
    return kdg::LoadArchiveInfo(absolutePath(path), info, tables, &reason) ||
           kArea.failure(path + ": " + reason) == 0;
}

QString display(const std::string& bytes) {
    return QString::fromStdString(platform::toDisplayText(bytes));
}

QJsonArray displayList(const std::vector<std::string>& items) {
    QJsonArray out;
    for (const std::string& s : items)
        out.append(display(s));
    return out;
}

QJsonObject headerJson(const kdg::KdgArchiveInfo& info) {
    QJsonObject o;
    o["fileName"] = display(info.FileName);
    o["version"] = info.Version;
    o["internalId"] = display(info.InternalId);
    o["internalName"] = display(info.InternalName);
    o["requiredArchives"] = displayList(info.RequiredArchives);
    o["sections"] = displayList(info.Sections);
    o["totalFiles"] = qint64(info.Entries.size());
    o["hasNamesList"] = info.HasNamesList;
    return o;
}

QJsonObject entryJson(const kdg::KdgEntry& e) {
    QJsonObject o;
    o["name"] = display(e.Name);
    o["type"] = display(e.TypeName);
    o["group"] = display(e.Group);
    o["section"] = display(e.Section);
    o["size"] = qint64(e.Size);
    o["empty"] = e.IsEmpty;
    o["dataOffset"] = qint64(e.DataOffset);
    o["nameHash"] = qint64(e.NameHash);
    o["typeId"] = qint64(e.TypeId);
    o["namedByContent"] = e.NamedByContent;
    o["flags"] = QJsonArray{int(e.Flag1), int(e.Flag2)};
    return o;
}

void printText(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

int runInfo(const Options& o) {
    if (o.positional.size() != 1)
        return kArea.usage("info needs exactly one archive");
    kdg::KdgArchiveInfo info;
    const kdg::NameTables tables = kdg::LoadNameTables(o.tables.value_or(toolLauncherFolder()));
    if (!loadArchive(o.positional[0], tables, info))
        return 1;
    if (o.json) {
        printJson(headerJson(info));
        return 0;
    }
    std::size_t empty = 0;
    for (const kdg::KdgEntry& e : info.Entries)
        empty += e.IsEmpty ? 1 : 0;
    std::string text = "File name: " + escapeControls(info.FileName) + "\n" +
                       "Version: " + std::to_string(info.Version) + "\n" +
                       "Internal ID: " + escapeControls(info.InternalId) + "\n" +
                       "Internal name: " + escapeControls(info.InternalName) + "\n" +
                       "Required archives: " + std::to_string(info.RequiredArchives.size()) + "\n";
    for (const std::string& r : info.RequiredArchives)
        text += "  " + escapeControls(r) + "\n";
    text += "KRF sections: " + std::to_string(info.Sections.size()) + "\n";
    for (const std::string& section : info.Sections)
        text += "  " + section + "\n";
    text += "File records: " + std::to_string(info.Entries.size()) + " (" + std::to_string(empty) +
            " empty)\n";
    printText(text);
    return 0;
}

int runList(const Options& o) {
    if (o.positional.size() != 1)
        return kArea.usage("list needs exactly one archive");
    const kdg::NameTables tables = kdg::LoadNameTables(o.tables.value_or(toolLauncherFolder()));
    kdg::KdgArchiveInfo info;
    if (!loadArchive(o.positional[0], tables, info))
        return 1;
    if (o.json) {
        QJsonObject out = headerJson(info);
        QJsonArray entries;
        for (const kdg::KdgEntry& e : info.Entries)
            entries.append(entryJson(e));
        out["entries"] = entries;
        printJson(out);
        return 0;
    }
    printText(platform::joinLinesCrLf(escapeControls(kdg::fileListLines(info))));
    return 0;
}

int runExtract(const Options& o) {
    if (o.positional.size() != 2)
        return kArea.usage("extract needs an archive and a destination folder");
    const kdg::NameTables tables = kdg::LoadNameTables(o.tables.value_or(toolLauncherFolder()));
    kdg::KdgArchiveInfo info;
    if (!loadArchive(o.positional[0], tables, info))
        return 1;
    // A file that cannot be written is skipped and reported; the exit code says so.
    ConsoleUi ui("kvstool kdg: ");
    const std::string dest = withTrailingSeparator(absolutePath(o.positional[1]));
    if (!kdg::MakeDirTree(dest, ui)) {
        return kArea.failure("cannot create the folder " + dest);
    }
    NoProgress progress;
    const kdg::ExtractResult r =
        kdg::ExtractArchive(absolutePath(o.positional[0]), dest, info, ui, progress);
    std::printf("%zu files extracted (%llu bytes) to %s\n", r.extracted,
                static_cast<unsigned long long>(r.bytes), dest.c_str());
    if (r.outcome != kdg::ExtractOutcome::Completed || r.skipped > 0) {
        // The questions above cannot say why a file failed (a full disk, say); this does.
        const std::string cause = r.writeError ? "" : ": " + r.writeError.description;
        return kArea.failure(std::to_string(r.skipped) + " files were not extracted" + cause);
    }
    return 0;
}

} // namespace

int runKdgCommand(const std::vector<std::string>& args) {
    if (args.empty())
        return kArea.usage();
    if (args[0] == "project")
        return runKdgProjectCommand({args.begin() + 1, args.end()});
    if (args[0] == "conflicts")
        return runKdgConflictsCommand({args.begin() + 1, args.end()});
    if (kArea.helpAsked(args))
        return 0;
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    std::string problem;
    if (command == "info") {
        auto o = parseOptions(rest, true, true, problem);
        return o ? runInfo(*o) : kArea.usage(problem);
    }
    if (command == "list") {
        auto o = parseOptions(rest, true, true, problem);
        return o ? runList(*o) : kArea.usage(problem);
    }
    if (command == "extract") {
        auto o = parseOptions(rest, false, true, problem);
        return o ? runExtract(*o) : kArea.usage(problem);
    }
    return kArea.usage("unknown command " + command);
}

} // namespace kv::tool
