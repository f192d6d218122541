#include "content/mod_activation.h"

#include "content/line_syntax.h"
#include "content/step_log.h"
#include "content/text_util.h"
#include "kdg/archive_reader.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kv::content {

namespace {

void addArchives(ContentState& state, const ContentEnv& env, std::string_view pattern,
                 bool checked) {
    for (const auto& e : platform::listDirectory(env.gameFolder, pattern)) {
        if (e.isFolder || e.name.size() <= 4) // a MOD needs a name before its extension
            continue;
        const std::string name = e.name.substr(0, e.name.size() - 4);
        if (state.originals.isOriginalBase(name))
            continue;
        ModEntry entry;
        entry.name = name;
        entry.checked = checked;
        entry.folder = env.gameFolder;
        entry.fileName = e.name;
        state.mods.entries.push_back(std::move(entry));
    }
}

// Author data of the archive's KDG description file, if it has one.
void readKdgDescription(const ContentEnv& env, const FolderVars& vars, ModEntry& entry) {
    std::vector<std::string> lines;
    if (!platform::readTextLines(env.paths.kdgIniFolder + entry.name + ".ini", lines))
        return;
    entry.descriptionLoaded = true;
    for (const auto& raw : lines) {
        KeyValue kv;
        const std::string line = cleanLine(raw);
        if (!keyAndValue(line, vars, kv))
            continue;
        entry.keyLines.push_back(line);
        if (equalsNoCase(kv.key, "AuthorName"))
            entry.authorName = kv.value;
        else if (equalsNoCase(kv.key, "AuthorEmail"))
            entry.authorEmail = kv.value;
        else if (equalsNoCase(kv.key, "AuthorHomepage"))
            entry.authorHomepage = kv.value;
        else if (equalsNoCase(kv.key, "Description"))
            entry.description += kv.value;
    }
}

std::string gamePath(const ContentEnv& env, const std::string& name, const char* ext) {
    return env.gameFolder + name + ext;
}

} // namespace

void refreshModList(ContentState& state, const ContentEnv& env) {
    // An install that refreshes the list stays busy until it is done itself.
    const bool wasBusy = state.busy;
    state.busy = true;
    state.mods.loading = true;
    state.mods.entries.clear();
    state.mods.selected = -1;
    if (!env.gameFolder.empty()) {
        addArchives(state, env, "*.kdg", true);
        addArchives(state, env, "*.kvw", false);
    }
    state.mods.loading = false;
    state.busy = wasBusy;
    const FolderVars vars = FolderVars::from(env.paths, env.gameFolder);
    for (auto& entry : state.mods.entries)
        readKdgDescription(env, vars, entry);
    state.mods.updateDeleteButton();
}

void setModChecked(ContentState& state, const ContentEnv& env, int index, bool checked) {
    ModList& mods = state.mods;
    if (state.busy || mods.loading || index < 0 || size_t(index) >= mods.entries.size())
        return;
    const std::string name = mods.entries[size_t(index)].name;
    if (trimBlanks(name).empty())
        return;
    mods.entries[size_t(index)].checked = checked;
    mods.enabled = false;
    StepLog log(env, "Debug.dat");
    log.line("_______________Initialized (" + name + ")");

    // The two directions differ only in their words and extensions.
    const bool enable = checked;
    const std::string word = enable ? "enabled" : "disabled";
    const std::string from = gamePath(env, name, enable ? ".kvw" : ".kdg");
    const std::string to = gamePath(env, name, enable ? ".kdg" : ".kvw");
    log.line(enable ? "->Enabled" : "->Disabled");
    // Renamed or removed outside the launcher: there is nothing to switch, and the old
    // file must not be offered for deletion when it is the only copy.
    const bool sourceThere = platform::fileExists(from);
    bool go = sourceThere;
    if (sourceThere && platform::fileExists(to)) {
        log.line(enable ? "->Already exists enabled one" : "->Already exists disabled one");
        const std::string question = std::string(enable ? "Can't enable" : "Can't disable") +
                                     " MOD, you already have a" + (enable ? "n " : " ") + word +
                                     " '" + name + "' MOD. Delete old file?";
        if (env.ui.message(question, Icon::Question, Buttons::YesNo, {}, Answer::No) ==
            Answer::Yes) {
            log.line("->Prepairing to delete old " + word + " MOD");
            const bool gone = fileGate(env).trash(FileKind::ModArchive, to);
            log.line(std::string(enable ? "->Enabled" : "->Disabled") +
                     " MOD deleted, error status:" + (gone ? "0" : "75"));
        } else {
            env.ui.message(enable ? "MOD was not enabled." : "MOD was not disabled.",
                           Icon::Information);
            log.line("->User has choosen not to delete old " + word + " MOD, finishing");
            go = false;
        }
    }
    if (go) {
        log.line(enable ? "->Prepairing to rename MOD to KDG"
                        : "->Prepairing to rename MOD to KVW");
        if (platform::renameEntry(from, to))
            mods.entries[size_t(index)].fileName = name + (enable ? ".kdg" : ".kvw");
    }
    env.ui.pumpEvents();
    log.line("->Finished, refreshing MOD List");
    refreshModList(state, env);
    mods.enabled = true;
    log.line("__________________________DONE___________________________");
    log.close();
}

void selectMod(ContentState& state, const ContentEnv& env, int index) {
    ModList& mods = state.mods;
    mods.selected = (index >= 0 && size_t(index) < mods.entries.size()) ? index : -1;
    StepLog log(env, "Debug2.dat");
    if (const ModEntry* e = mods.selectedEntry()) {
        log.line("_______________Initialized (" + e->name + ")");
        log.line("->Selected " + e->fileName);
    }
    mods.updateDeleteButton();
    log.line("__________________________DONE___________________________");
}

bool RenameFile(const ContentEnv& env, const std::string& oldPath, const std::string& newPath,
                bool overwrite) {
    if (!platform::fileExists(oldPath)) {
        env.ui.message("RenameFile() - '" + oldPath + "' doesn't exist.", Icon::Exclamation);
        return false;
    }
    env.ui.pumpEvents();
    if (overwrite)
        return fileGate(env).renameOver(FileKind::ModArchive, oldPath, newPath);
    return bool(platform::renameEntry(oldPath, newPath));
}

void RenameKDGs(ContentState& state, const ContentEnv& env) {
    for (const auto& e : state.mods.entries) {
        if (e.checked)
            continue;
        const std::string active = gamePath(env, e.name, ".kdg");
        if (platform::fileExists(active))
            platform::renameEntry(active, gamePath(env, e.name, ".kvw"));
    }
}

void DisableAllMODs(ContentState& state, const ContentEnv& env) {
    if (!env.gameFolder.empty()) {
        for (const auto& e : platform::listDirectory(env.gameFolder, "*.kdg")) {
            if (e.isFolder || e.name.size() <= 4 || state.originals.isOriginalFile(e.name))
                continue;
            const std::string name = e.name.substr(0, e.name.size() - 4);
            const std::string active = env.gameFolder + e.name;
            const std::string inactive = gamePath(env, name, ".kvw");
            if (platform::fileExists(inactive)) {
                if (env.ui.message("Can't disable MOD, you already have a disabled '" + name +
                                       "' MOD. Delete old file?",
                                   Icon::Question, Buttons::YesNo, {}, Answer::No) != Answer::Yes) {
                    env.ui.message("MOD was not disabled.", Icon::Information);
                    continue;
                }
                if (!fileGate(env).trash(FileKind::ModArchive, inactive))
                    continue;
            }
            platform::clearAttributes(active);
            platform::renameEntry(active, inactive);
        }
    }
    refreshModList(state, env);
}

void deleteMod(ContentState& state, const ContentEnv& env) {
    const ModEntry* e = state.mods.selectedEntry();
    if (!e) {
        env.ui.message("No KDG's selected!", Icon::Exclamation);
        return;
    }
    const char* ext = e->checked ? ".kdg" : ".kvw";
    if (env.ui.message("Are you sure you want to delete '" + e->name + ext + "' from your HD?",
                       Icon::Question, Buttons::YesNo) == Answer::Yes) {
        fileGate(env).trash(FileKind::ModArchive, gamePath(env, e->name, ext));
    }
    refreshModList(state, env);
}

void DisableUnsafeMODs(ContentState& state, const ContentEnv& env, const kdg::NameTables& tables) {
    for (auto& e : state.mods.entries) {
        if (!e.checked || e.archive.Loaded)
            continue;
        if (!kdg::LoadArchiveInfo(e.path(), e.archive, tables))
            env.ui.message("Failed to load '" + e.path() + "'.", Icon::Exclamation);
    }
    for (const auto& e : state.mods.entries)
        if (e.checked && e.archive.HasNamesList)
            RenameFile(env, gamePath(env, e.name, ".kdg"), gamePath(env, e.name, ".kvw"), false);
    refreshModList(state, env);
}

void showCompatibilityNote(Ui& ui) {
    ui.message("ToDo: This will disable all MODs which are not compatible with the currently "
               "selected MOD (ie have txt files).",
               Icon::Information);
}

} // namespace kv::content
