// kvstool kdg conflicts: the entries the active MODs of a game folder share with each
// other and with the game's own archives, as the MODs page's "Conflicts" view shows them.
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"
#include "tools/kvstool/terminal_text.h"

#include "common/paths.h"
#include "content/mod_conflicts.h"
#include "content/original_kdgs.h"
#include "kdg/name_tables.h"
#include "platform/files.h"
#include "platform/text.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cstdio>
#include <optional>

namespace kv::tool {

namespace {

const char kUsage[] =
    "usage: kvstool kdg conflicts GAME_FOLDER [--launcher DIR] [--tables DIR] [--json]\n"
    "The active MODs of GAME_FOLDER (its \".kdg\" archives that the launcher's\n"
    "Settings/KVS/OriginalKDGs.ini does not list) and the entries each shares with other\n"
    "active MODs or replaces in the game's own archives. Only the archives' directories\n"
    "are read. DIR defaults to the launcher folder kvstarter uses; the name tables Files.txt and\n"
    "Types.txt come from the launcher folder unless --tables names another.\n"
    "Archives that cannot be read are listed as damaged; they do not fail the command.\n";

const Area kArea("kdg conflicts", kUsage);

struct Options {
    std::string gameFolder;
    std::optional<std::string> launcher;
    std::optional<std::string> tables;
    bool json = false;
};

std::optional<Options> parse(const std::vector<std::string>& args, std::string& problem) {
    Options o;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            o.json = true;
        } else if (a == "--launcher" || a == "--tables") {
            if (i + 1 == args.size()) {
                problem = a + " needs a folder";
                return std::nullopt;
            }
            (a == "--launcher" ? o.launcher : o.tables) = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            problem = "unknown option " + a;
            return std::nullopt;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 1) {
        problem = "conflicts needs exactly one game folder";
        return std::nullopt;
    }
    o.gameFolder = positional[0];
    return o;
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

QJsonObject reportJson(const content::ConflictReport& report) {
    QJsonArray mods;
    for (const content::ModConflicts& mod : report.mods) {
        QJsonArray entries;
        for (const content::SharedEntry& e : mod.entries)
            entries.append(QJsonObject{{"name", display(e.name)},
                                       {"mods", displayList(e.mods)},
                                       {"originals", displayList(e.originals)}});
        mods.append(QJsonObject{{"mod", display(mod.mod)}, {"entries", entries}});
    }
    QJsonArray damaged;
    for (const content::DamagedArchive& d : report.damaged)
        damaged.append(
            QJsonObject{{"archive", display(d.fileName)}, {"reason", display(d.reason)}});
    return QJsonObject{{"mods", mods}, {"damaged", damaged}};
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& s : items)
        out += (out.empty() ? "" : ", ") + escapeControls(s);
    return out;
}

// One block per MOD; each shared entry on its own line with who else holds it.
std::string reportText(const content::ConflictReport& report) {
    std::string text;
    for (const content::ModConflicts& mod : report.mods) {
        text += escapeControls(mod.mod) + ": " + std::to_string(mod.entries.size()) + " shared\n";
        for (const content::SharedEntry& e : mod.entries) {
            text += "  " + escapeControls(e.name);
            if (!e.mods.empty())
                text += "\tMODs: " + joined(e.mods);
            if (!e.originals.empty())
                text += "\treplaces: " + joined(e.originals);
            text += "\n";
        }
    }
    for (const content::DamagedArchive& d : report.damaged)
        text += "damaged: " + escapeControls(d.fileName) + ": " + escapeControls(d.reason) + "\n";
    return text;
}

} // namespace

int runKdgConflictsCommand(const std::vector<std::string>& args) {
    if (kArea.helpAsked(args))
        return 0;
    std::string problem;
    const std::optional<Options> o = parse(args, problem);
    if (!o)
        return kArea.usage(problem);
    if (!platform::folderExists(o->gameFolder))
        return kArea.failure("the game folder does not exist: " + o->gameFolder);
    const Paths paths = Paths::fromRoot(o->launcher.value_or(toolLauncherFolder()));
    content::OriginalKdgs originals;
    if (!originals.load(paths))
        return kArea.failure("cannot read the list of the game's own archives " +
                             content::OriginalKdgs::filePath(paths));
    const kdg::NameTables tables = kdg::LoadNameTables(o->tables.value_or(paths.launcherFolder));
    const content::ConflictReport report =
        content::findModConflicts(o->gameFolder, originals, tables);
    if (o->json) {
        printJson(reportJson(report));
        return 0;
    }
    const std::string text = reportText(report);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

} // namespace kv::tool
