#pragma once
// Everything the content area keeps for the whole run. The launcher owns one of these;
// operations take it (or the parts they need) explicitly.
#include "content/ai_catalogue.h"
#include "content/installed_files.h"
#include "content/mod_list.h"
#include "content/original_kdgs.h"
#include "content/player_choices.h"
#include "content/script_slots.h"
#include "content/start_plan.h"
#include "kdg/archive_panel.h"
#include "kdg/extraction.h"
#include "kdg/name_tables.h"

#include <functional>
#include <string>
#include <vector>

namespace kv::content {

struct ContentState;

// Work that later parts of the system plug into the install and the catalogue scans.
struct ContentHooks {
    // Reads the customizing fields of an AI file or rules folder: nothing when there are
    // none, false when they cannot be parsed.
    std::function<bool(AiRecord&, const ContentEnv&)> loadAiCustomizing;
    std::function<bool(RulesRecord&, const ContentEnv&)> loadRulesCustomizing;
    // Install step: requirements and conflicts of the chosen AIs, rules and MODs.
    std::function<void(const ContentEnv&)> resolveRequirements;
    // The same foreseen for a plan: what it would say and change, changing nothing. What
    // the MODs' description commands do to the lists is done to `planned`, a copy of the
    // state that the rest of the plan follows.
    std::function<PlanStep(const ContentEnv&, ContentState& planned)> planRequirements;
    // Install step: the processed scripts of customized players and rules.
    std::function<void(const ContentEnv&)> buildProcessedScripts;
};

struct ContentState {
    OriginalKdgs originals;
    AiCatalogue ais;
    RulesCatalogue rules;
    PlayerChoices choices;
    InstalledFiles installed;
    ModList mods;
    // "Files.txt" and "Types.txt" of the launcher folder, loaded once at start-up.
    kdg::NameTables nameTables;
    // The archive file list of the last extraction, kept until the next one.
    std::vector<kdg::ArchiveFileListItem> archiveFiles;
    // Which page the MODs page's lower panel shows.
    kdg::LowerPanel lowerPanel = kdg::LowerPanel::ModCompilationInfo;
    ContentHooks hooks;
    // The customizable fields of each player slot and of the rules, with the picks.
    ScriptSlots scripts;
    // The process-wide busy flag: set while a list is rebuilt or an install runs.
    bool busy = false;
    bool installing = false;
    // Lines for the INI output window.
    std::vector<std::string> iniOutput;
};

} // namespace kv::content
