#include "launcher/content_wiring.h"

#include "content/catalogue_scan.h"
#include "content/install.h"
#include "content/mod_activation.h"
#include "content/required_archives.h"
#include "launcher/launcher.h"
#include "launcher/script_wiring.h"

namespace kv::content {

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

void wireContent(Launcher& l) {
    LauncherHooks& h = l.hooks;
    ContentState& s = l.content;
    h.loadOriginalKdgs = [&l, &s] {
        if (!s.originals.load(l.paths)) {
            l.ui().message(OriginalKdgs::missingMessage(l.paths), Icon::Exclamation);
            l.endRequested = true;
        }
    };
    h.loadFileTypeTables = [&l, &s] { s.nameTables = kdg::LoadNameTables(l.paths.launcherFolder); };
    h.resetPlayerAiBookkeeping = [&s] {
        s.choices.remembered.fill(kDontChange);
        s.choices.rememberedRules = kDontChange;
        s.installed = InstalledFiles{};
    };
    h.fillCatalogues = [&l, &s] {
        CustomAIList_fill(s, contentEnv(l));
        CustomRulesList_fill(s, contentEnv(l));
        reapplySelections(l, false);
    };
    h.reapplySelections = [&l](bool report) { reapplySelections(l, report); };
    h.setAiListToolTips = [&l] { l.view().refresh(); };
    h.copyAllAdditionalFiles = [&l, &s] { CopyAllAdditionalFiles(s, contentEnv(l)); };
    h.refillKdgList = [&l, &s] { refreshModList(s, contentEnv(l)); };
    h.makeSloVlo = [&l, &s] {
        const bool installed = makeSloVlo(s, contentEnv(l));
        l.view().refresh();
        return installed;
    };
    h.selectAi = [&s](int player, const std::string& name) {
        return s.choices.selectAI(player, name);
    };
    h.selectRules = [&s](const std::string& name) { return s.choices.selectRules(name); };
    h.deleteInstalledFiles = [&l, &s] {
        FileGate gate = fileGate(contentEnv(l));
        s.installed.workOff(s.originals, gate);
    };
    h.copyDefaultFiles = [&l, &s] {
        CopyDefaultFiles(s, contentEnv(l));
        // The settings file is written next: it stores the lists' texts.
        syncChoiceOptions(l);
    };
    wireScriptCustomizing(l);
    h.renameKdgs = [&l, &s] { RenameKDGs(s, contentEnv(l)); };
}

} // namespace kv::content
