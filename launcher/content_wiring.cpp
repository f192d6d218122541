#include "launcher/content_wiring.h"

#include "common/file_gate.h"
#include "content/catalogue_scan.h"
#include "content/install.h"
#include "content/mod_activation.h"
#include "content/required_archives.h"
#include "content/script_customizing.h"
#include "content/script_slots.h"
#include "launcher/launcher.h"

namespace kv {

using content::ContentEnv;
using content::ContentState;
using content::PlayerChoices;

ContentEnv contentEnv(Launcher& l) {
    return {l.paths, l.installations.currentGameFolder(), l.ui(), l.debug};
}

void syncChoiceOptions(Launcher& l) {
    const PlayerChoices& c = l.content.choices;
    for (int i = 0; i < kPlayerCount; ++i)
        l.options.ai[size_t(i)] = c.choice(i);
    l.options.rules = c.rulesChoice();
}

void reapplySelections(Launcher& l, bool report) {
    PlayerChoices& c = l.content.choices;
    for (int i = 0; i < kPlayerCount; ++i) {
        const std::string name = l.options.ai[size_t(i)];
        if (name.empty() || name == kDontChange)
            c.players[size_t(i)].selected = 0;
        else if (!c.selectAI(i, name) && report)
            l.ui().message("'" + name + "' AI was not found!", Icon::Information);
        c.remembered[size_t(i)] = c.choice(i);
    }
    const std::string rules = l.options.rules;
    if (rules.empty() || rules == kDontChange)
        c.rules.selected = 0;
    else if (!c.selectRules(rules) && report)
        l.ui().message("'" + rules + "' Rules was not found!", Icon::Information);
    c.rememberedRules = c.rulesChoice();
    syncChoiceOptions(l);
}

void reapplyChoices(Launcher& l, bool report) {
    reapplySelections(l, report);
    syncScriptSlots(l.content, contentEnv(l));
}

void loadOriginalKdgs(Launcher& l) {
    if (!l.content.originals.load(l.paths)) {
        l.ui().message(content::OriginalKdgs::missingMessage(l.paths), Icon::Exclamation);
        l.endRequested = true;
    }
}

void loadFileTypeTables(Launcher& l) {
    l.content.nameTables = kdg::LoadNameTables(l.paths.launcherFolder);
}

void resetPlayerAiBookkeeping(Launcher& l) {
    ContentState& s = l.content;
    s.choices.remembered.fill(kDontChange);
    s.choices.rememberedRules = kDontChange;
    s.installed = content::InstalledFiles{};
}

void fillCatalogues(Launcher& l) {
    CustomAIList_fill(l.content, contentEnv(l));
    CustomRulesList_fill(l.content, contentEnv(l));
    reapplyChoices(l, false);
}

void copyAllAdditionalFiles(Launcher& l) {
    CopyAllAdditionalFiles(l.content, contentEnv(l));
}

void refillKdgList(Launcher& l) {
    refreshModList(l.content, contentEnv(l));
}

bool selectAi(Launcher& l, int player, const std::string& name) {
    const bool found = l.content.choices.selectAI(player, name);
    syncScriptSlots(l.content, contentEnv(l));
    return found;
}

bool selectRules(Launcher& l, const std::string& name) {
    const bool found = l.content.choices.selectRules(name);
    syncScriptSlots(l.content, contentEnv(l));
    return found;
}

void enableAiCustomizing(Launcher& l, int player, bool on) {
    enableAICustomizing(l.content, contentEnv(l), player, on);
}

void enableRulesCustomizing(Launcher& l, bool on) {
    content::enableRulesCustomizing(l.content, contentEnv(l), on);
}

void saveScriptPreferences(Launcher& l) {
    saveAllScriptPreferences(l.content, contentEnv(l));
}

void deleteInstalledFiles(Launcher& l) {
    FileGate gate = fileGate(contentEnv(l));
    l.content.installed.workOff(l.content.originals, gate);
}

void copyDefaultFiles(Launcher& l) {
    CopyDefaultFiles(l.content, contentEnv(l));
    syncChoiceOptions(l);
}

void renameKdgs(Launcher& l) {
    RenameKDGs(l.content, contentEnv(l));
}

} // namespace kv
