#include "content/catalogue_scan.h"

#include "content/content_names.h"
#include "content/description_file.h"
#include "content/text_util.h"
#include "platform/files.h"

#include <unordered_map>

namespace kv::content {

namespace {

bool hasFileMatching(const std::string& folder, std::string_view pattern) {
    for (const auto& e : platform::listDirectory(folder, pattern))
        if (!e.isFolder)
            return true;
    return false;
}

} // namespace

namespace {

// A scan lists the AI and description folders once and looks names up here, instead of
// searching a folder for every file of a large library.
struct ScanIndex {
    std::unordered_map<std::string, std::string> aiFiles;  // lower-case name -> on disk
    std::unordered_map<std::string, std::string> iniFiles; // lower-case name -> on disk
    std::unordered_map<std::string, size_t> records;       // name -> catalogue index
};

std::unordered_map<std::string, std::string> listByLowerName(const std::string& folder,
                                                             std::string_view pattern) {
    std::unordered_map<std::string, std::string> out;
    for (const auto& e : platform::listDirectory(folder, pattern))
        if (!e.isFolder)
            out.emplace(toLower(e.name), e.name);
    return out;
}

bool installAi(ContentState& state, const ContentEnv& env, std::string_view nameIn,
               std::string_view directoryIn, ScanIndex* index) {
    const std::string name = trimBlanks(nameIn);
    const std::string directory = withTrailingSeparator(directoryIn);
    if (!isPlainContentName(name)) {
        env.ui.message(refusedNameMessage(name, "'" + directory + "'"), Icon::Exclamation);
        return false;
    }
    const bool inAiFolder = directory == env.paths.aiFolder;
    const bool exists = index && inAiFolder ? index->aiFiles.count(toLower(name + ".kvai")) > 0
                                            : platform::fileExists(directory + name + ".kvai");
    if (!exists) {
        env.ui.message("'" + name + "' !was not found in directory:\r\n\r\n" + directory,
                       Icon::Exclamation);
        return false;
    }
    AiRecord* record = nullptr;
    if (index) {
        const auto [it, added] = index->records.emplace(name, state.ais.records.size());
        if (added)
            state.ais.records.push_back({});
        record = &state.ais.records[it->second];
    } else {
        record = state.ais.find(name);
        if (!record) {
            state.ais.records.push_back({});
            record = &state.ais.records.back();
        }
    }
    record->name = name;
    record->directory = directory;

    std::string descriptionPath;
    if (index && inAiFolder) {
        // Beside the AI file is only looked at for AIs kept elsewhere.
        if (auto it = index->iniFiles.find(toLower(name + ".ini")); it != index->iniFiles.end())
            descriptionPath = env.paths.aiIniFolder + it->second;
    } else {
        descriptionPath = aiDescriptionPath(env.paths, *record);
    }
    const FolderVars vars = FolderVars::from(env.paths, env.gameFolder);
    readDescriptionFile(descriptionPath, name, DescriptionKind::Ai, vars, env.ui, record->info);
    if (state.hooks.loadAiCustomizing) {
        AiRecord attempt = *record;
        if (state.hooks.loadAiCustomizing(attempt, env))
            *record = std::move(attempt);
        else
            env.ui.message("InstallAIs() - error processing script customizing of '" + name + "'.",
                           Icon::Exclamation);
    }
    return true;
}

} // namespace

bool InstallAIs(ContentState& state, const ContentEnv& env, std::string_view name,
                std::string_view directory) {
    return installAi(state, env, name, directory, nullptr);
}

void CustomAIList_fill(ContentState& state, const ContentEnv& env) {
    std::vector<std::string> names;
    ScanIndex index;
    for (const auto& e : platform::listDirectory(env.paths.aiFolder, "*.kvai")) {
        if (e.isFolder || !endsWithNoCase(e.name, ".kvai"))
            continue;
        const std::string path = env.paths.aiFolder + e.name;
        if (e.size > 0) {
            names.push_back(withoutExtension(e.name));
            index.aiFiles.emplace(toLower(e.name), e.name);
        } else {
            // An empty AI file holds nothing that could be lost.
            fileGate(env).remove(FileKind::Ai, path);
            env.ui.message("An empty AI file was found: '" + path + "'\r\nThis file was deleted",
                           Icon::Critical);
        }
    }
    index.iniFiles = listByLowerName(env.paths.aiIniFolder, "*.ini");
    state.ais.records.clear();
    std::vector<std::string> loaded;
    for (const auto& name : names) {
        if (installAi(state, env, name, env.paths.aiFolder, &index))
            loaded.push_back(name);
        else
            env.ui.message("Failed to load '" + name + "' AI file.", Icon::Exclamation);
    }
    state.choices.fillPlayers(loaded);
}

bool InstallRules(ContentState& state, const ContentEnv& env, std::string_view nameIn,
                  std::string_view directoryIn) {
    const std::string name = trimBlanks(nameIn);
    const std::string directory = withTrailingSeparator(directoryIn);
    if (!isPlainContentName(name)) {
        env.ui.message(refusedNameMessage(name, "'" + directory + "'"), Icon::Exclamation);
        return false;
    }
    if (!hasFileMatching(directory, "*.slo")) {
        env.ui.message("'" + name + "' SLO file was not found in directory:\r\n\r\n" + directory);
        return false;
    }
    if (!hasFileMatching(directory, "*.vlo")) {
        env.ui.message("'" + name + "' VLO file was not found in directory:\r\n\r\n" + directory);
        return false;
    }
    RulesRecord record;
    record.name = name;
    record.directory = directory;
    const FolderVars vars = FolderVars::from(env.paths, env.gameFolder);
    readDescriptionFile(rulesDescriptionPath(env.paths, record), name, DescriptionKind::Rules, vars,
                        env.ui, record.info);
    if (record.info.loaded)
        state.iniOutput.push_back("------------------");
    if (state.hooks.loadRulesCustomizing) {
        RulesRecord attempt = record;
        if (state.hooks.loadRulesCustomizing(attempt, env))
            record = std::move(attempt);
        else
            env.ui.message("InstallRules() - error processing script customizing of '" + name +
                               "'.",
                           Icon::Exclamation);
    }
    state.rules.records.push_back(std::move(record));
    if (!hasFileMatching(directory, "*.slo") || !hasFileMatching(directory, "*.vlo"))
        env.ui.message("Error installing rules file: '" + name +
                       "'.\r\nCouldn't file .slo or .vlo file.");
    return true;
}

void CustomRulesList_fill(ContentState& state, const ContentEnv& env) {
    state.rules.records.clear();
    std::vector<std::string> loaded;
    for (const auto& e : platform::listDirectory(env.paths.rulesFolder, "*")) {
        if (!e.isFolder)
            continue;
        const std::string folder = env.paths.rulesFolder + e.name + platform::nativeSeparator();
        if (!hasFileMatching(folder, "*.slo"))
            continue;
        if (InstallRules(state, env, e.name, folder))
            loaded.push_back(e.name);
        else
            env.ui.message("Failed to load '" + e.name + "' Rules file.");
    }
    state.choices.fillRules(loaded);
}

void deleteRulesSet(ContentState& state, const ContentEnv& env) {
    const std::string name = state.choices.rulesChoice();
    if (name.empty() || name.front() == '<') {
        env.ui.message("No Rules selected!", Icon::Information);
        return;
    }
    if (env.ui.message("Are you sure you want to delete '" + name + "' ?", Icon::Question,
                       Buttons::YesNo) != Answer::Yes)
        return;
    forgetOrTrashRules(state, env, name);
    CustomRulesList_fill(state, env);
    state.choices.rules.selected = 0;
}

void forgetOrTrashRules(ContentState& state, const ContentEnv& env, std::string_view name) {
    std::string folder = state.rules.directoryOf(name);
    if (folder.empty())
        folder = env.paths.rulesFolder + std::string(name);
    // A set loaded from elsewhere (the game's own scripts, the launcher's backup of them)
    // is only forgotten, by the rescan that follows: its folder was never the catalogue's.
    FileGate gate = fileGate(env);
    if (gate.allows(FileKind::RulesSet, folder))
        gate.trash(FileKind::RulesSet, folder);
}

bool deleteAiFile(const ContentState& state, const ContentEnv& env, std::string_view name) {
    const std::string dir = state.ais.directoryOf(name);
    if (dir.empty())
        return false;
    // An AI a command file loaded from another folder is only forgotten, like a rules set.
    const std::string path = dir + std::string(name) + ".kvai";
    FileGate gate = fileGate(env);
    return gate.allows(FileKind::Ai, path) && gate.trash(FileKind::Ai, path);
}

} // namespace kv::content
