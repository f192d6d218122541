#include "content/manager_actions.h"

#include "content/catalogue_scan.h"
#include "content/mod_activation.h"
#include "content/mod_list.h"
#include "platform/files.h"

namespace kv::content {

namespace {

bool sure(const ContentEnv& env, const std::string& what, Icon icon, Buttons buttons) {
    return env.ui.message("Are you sure you want to delete '" + what + "' ?", icon, buttons) ==
           Answer::Yes;
}

} // namespace

bool managerDeleteAi(ContentState& state, const ContentEnv& env, const std::string& name,
                     bool frozen) {
    if (!sure(env, name, Icon::Exclamation, Buttons::YesNo))
        return false;
    deleteAiFile(state, env, name);
    const std::string extra = env.paths.aiFolder + name;
    if (platform::folderExists(extra)) {
        FileGate gate = fileGate(env);
        for (const platform::DirEntry& e : platform::listDirectory(extra, "*.kdg"))
            if (!e.isFolder)
                gate.trash(FileKind::Ai, joinPath(extra, e.name));
        // A folder that still holds other files stays with them.
        if (platform::listDirectory(extra).empty())
            gate.remove(FileKind::Ai, extra);
    }
    if (!frozen) {
        CustomAIList_fill(state, env);
    } else if (!platform::fileExists(env.paths.aiFolder + name + ".kvai")) {
        auto& records = state.ais.records;
        std::erase_if(records, [&](const AiRecord& r) { return r.name == name; });
    }
    return true;
}

bool managerDeleteAiDescription(ContentState& state, const ContentEnv& env,
                                const std::string& name) {
    const AiRecord* ai = state.ais.find(name);
    if (!ai || !ai->info.loaded)
        return false;
    if (!sure(env, name + ".ini", Icon::Question, Buttons::YesNoCancel))
        return false;
    fileGate(env).trash(FileKind::DescriptionFile, env.paths.aiIniFolder + name + ".ini");
    CustomAIList_fill(state, env);
    return true;
}

bool managerDeleteRules(ContentState& state, const ContentEnv& env, const std::string& name) {
    if (name.empty() || !sure(env, name, Icon::Question, Buttons::YesNo))
        return false;
    forgetOrTrashRules(state, env, name);
    CustomRulesList_fill(state, env);
    return true;
}

bool managerDeleteMod(ContentState& state, const ContentEnv& env, std::size_t index) {
    if (index >= state.mods.entries.size())
        return false;
    const ModEntry entry = state.mods.entries[index];
    if (!sure(env, entry.fileName, Icon::Question, Buttons::YesNoCancel))
        return false;
    fileGate(env).trash(FileKind::ModArchive, entry.path());
    refreshModList(state, env);
    return true;
}

bool managerDeleteModDescription(ContentState& state, const ContentEnv& env, std::size_t index) {
    if (index >= state.mods.entries.size() || !state.mods.entries[index].descriptionLoaded)
        return false;
    const std::string name = state.mods.entries[index].name;
    if (!sure(env, name + ".ini", Icon::Question, Buttons::YesNoCancel))
        return false;
    fileGate(env).trash(FileKind::DescriptionFile, env.paths.kdgIniFolder + name + ".ini");
    refreshModList(state, env);
    return true;
}

} // namespace kv::content
