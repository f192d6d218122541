#include "content/install_plan.h"

#include "common/error_box.h"
#include "content/ai_file.h"
#include "content/content_names.h"
#include "content/install.h"
#include "content/message_recorder.h"
#include "content/planned_files.h"
#include "content/script_apply.h"
#include "content/text_util.h"
#include "platform/files.h"

#include <chrono>
#include <optional>
#include <random>

namespace kv::content {

namespace {

constexpr const char* kOperation = "makeSloVlo";

bool hasFileMatching(const std::string& folder, std::string_view pattern) {
    for (const auto& e : platform::listDirectory(folder, pattern))
        if (!e.isFolder)
            return true;
    return false;
}

std::string ownerText(int owner) {
    return owner == kRulesOwner ? "rules" : "player " + std::to_string(owner);
}

class Planner {
public:
    Planner(const ContentState& state, const ContentEnv& env, PlannedFiles& files, StartPlan& plan)
        : state_(state), env_(env), files_(files), plan_(plan) {}

    void message(std::string text, Icon icon) {
        PlanStep& s = add(StepKind::Message);
        s.messages.push_back({std::move(text), icon, Buttons::Ok, {}});
    }
    void messages(const std::vector<PlannedMessage>& recorded) {
        for (const PlannedMessage& m : recorded)
            add(StepKind::Message).messages.push_back(m);
    }
    // An error box, and the install ends.
    void fail(int number, const std::string& description) {
        message(formatErrorBox(number, description, kOperation), Icon::Critical);
        add(StepKind::Stop);
    }
    void remove(const std::string& path, std::string note) {
        PlanStep& s = add(StepKind::Delete);
        s.target = path;
        s.size = files_.length(path).value_or(0);
        s.note = std::move(note);
        files_.remove(path);
    }
    // Steps written in one batch: call newBatch() first.
    void newBatch() { ++batch_; }
    PlanStep& write(const std::string& path, std::string bytes, std::string note) {
        PlanStep& s = add(StepKind::Write);
        s.target = path;
        s.size = bytes.size();
        s.unchanged = files_.holds(path, bytes);
        s.batch = batch_;
        s.note = std::move(note);
        files_.write(path, bytes);
        s.bytes = std::move(bytes);
        return s;
    }

    bool installPlayer(int player, const std::string& name, const std::string& note);
    void installRules(const std::string& name);
    void additionalFiles(int owner, std::string_view folder, const std::string& ownerName);
    void processedScripts();

    PlanStep& add(StepKind kind) {
        PlanStep& s = plan_.steps.emplace_back();
        s.kind = kind;
        return s;
    }

private:
    void processScript(const std::string& path, const std::vector<ScriptField>& fields,
                       const std::string& failure, const std::string& note);

    const ContentState& state_;
    const ContentEnv& env_;
    PlannedFiles& files_;
    StartPlan& plan_;
    int batch_ = 0;
};

bool Planner::installPlayer(int player, const std::string& name, const std::string& note) {
    const std::string dir = state_.ais.directoryOf(name);
    const std::string aiPath =
        pathInFolder(dir.empty() ? env_.paths.aiFolder : dir, name + ".kvai");
    std::string bytes;
    if (platform::Status s = platform::readFile(aiPath, bytes); !s) {
        fail(s.code, s.description);
        return false;
    }
    AiFileParts parts;
    AiFileError error;
    if (!parseAiFile(bytes, parts, error)) {
        fail(error.number, error.description + " in '" + aiPath + "'");
        return false;
    }
    const std::string folder = skirmishFolder(env_);
    const std::string n = std::to_string(player);
    // The scripts are not listed for removal: a slot later left as "<don't change>" keeps
    // them, and the next install of that slot overwrites them.
    newBatch();
    write(folder + "player" + n + ".slo", playerSloText(parts), note).source = aiPath;
    write(folder + "player" + n + ".vlo", playerVloText(parts, player), note).source = aiPath;
    additionalFiles(player, env_.paths.aiFolder + name, name);
    return true;
}

void Planner::installRules(const std::string& name) {
    std::string dir = state_.rules.directoryOf(name);
    if (dir.empty() && isPlainContentName(name))
        dir = withTrailingSeparator(env_.paths.rulesFolder + name);
    for (const char* kind : {"SLO", "VLO"}) {
        if (!dir.empty() &&
            hasFileMatching(dir, kind == std::string_view("SLO") ? "*.slo" : "*.vlo"))
            continue;
        message("Error loading '" + name + "' rules file. No " + kind +
                    " file found in directory: " + "\r\n" + dir,
                Icon::Critical);
        return;
    }
    const std::string folder = skirmishFolder(env_);
    newBatch();
    for (const auto& e : platform::listDirectory(dir, "*.?lo")) {
        if (e.isFolder)
            continue;
        std::string bytes;
        if (platform::Status s = platform::readFile(dir + e.name, bytes); !s) {
            fail(s.code, s.description);
            return;
        }
        write(folder + e.name, std::move(bytes), "rules: " + name).source = dir + e.name;
    }
    additionalFiles(kRulesOwner, dir, name);
}

void Planner::additionalFiles(int owner, std::string_view folderIn, const std::string& name) {
    const bool rules = owner == kRulesOwner;
    const std::string folder = withTrailingSeparator(folderIn);
    std::vector<std::string> candidates;
    for (const auto& e : platform::listDirectory(folder, "*.kdg"))
        if (!e.isFolder)
            candidates.push_back(folder + e.name);

    const Description* info = nullptr;
    if (rules) {
        if (const RulesRecord* r = state_.rules.find(name))
            info = &r->info;
    } else if (const AiRecord* a = state_.ais.find(name)) {
        info = &a->info;
    }
    for (const auto& file : info ? info->requiredKdgs : std::vector<std::string>{}) {
        if (const std::string why = requiredArchiveRefusal(file); !why.empty()) {
            message("SetRequiredKDG in '" + info->file + "' names '" + shownName(file) +
                        "', which is not copied: " + why +
                        ".\r\nA required archive is the name of a .kdg file in " +
                        env_.paths.requiredKdgFolder,
                    Icon::Exclamation);
            continue;
        }
        const std::string path = env_.paths.requiredKdgFolder + file;
        if (platform::fileExists(path)) {
            candidates.push_back(path);
            continue;
        }
        message("'" + file + "', which is required for '" + name +
                    (rules ? "' Rules was not found.\r\nThis Rules file may not work properly."
                           : "' AI was not found.\r\nThis AI may not work properly."),
                Icon::Exclamation);
    }

    const std::string note = ownerText(owner) + ": " + name;
    for (const auto& source : env_.gameFolder.empty() ? std::vector<std::string>{} : candidates) {
        const auto length = platform::fileLength(source);
        if (!length)
            continue; // vanished since the listing
        const std::string fileName = fileNameOf(source);
        const std::string target = env_.gameFolder + fileName;
        if (files_.length(target) == length)
            continue;
        const std::string inactive = env_.gameFolder + withoutExtension(fileName) + ".kvw";
        if (files_.length(inactive) == length) {
            // The user's own copy, switched off: it is switched on and stays the user's.
            PlanStep& s = add(StepKind::Rename);
            s.source = inactive;
            s.target = target;
            s.size = *length;
            s.note = note;
            files_.rename(inactive, target);
            continue;
        }
        // Never replace one of the game's own archives.
        if (state_.originals.isOriginalFile(fileName) && files_.exists(target))
            continue;
        PlanStep& s = add(StepKind::Copy);
        s.source = source;
        s.target = target;
        s.size = *length;
        s.owner = owner;
        s.note = note + " (removed after the game)";
        files_.copy(source, target);
    }
    // Also without a change here: the user may have renamed archives since the last look.
    add(StepKind::RefreshMods);
}

void Planner::processScript(const std::string& path, const std::vector<ScriptField>& fields,
                            const std::string& failure, const std::string& note) {
    const std::optional<std::string> text = files_.read(path);
    if (!text) {
        message("Error reading script file: \r\n" + path, Icon::Exclamation);
        return;
    }
    MessageRecorder recorder;
    AppliedScript applied = applyFields(fields, *text, recorder);
    messages(recorder.messages);
    if (!applied.ok) {
        message(failure, Icon::Exclamation);
        return;
    }
    newBatch();
    write(path, applied.text + "\r\n", note).failure = failure;
}

void Planner::processedScripts() {
    const std::string skirmish = skirmishFolder(env_);
    for (int i = 0; i < kPlayerCount; ++i) {
        const std::string choice = state_.choices.choice(i);
        const AiRecord* ai = state_.ais.find(choice);
        const ScriptSlot& slot = state_.scripts.players[size_t(i)];
        if (!ai || !ai->hasScriptCustomizing || !slot.enabled)
            continue;
        const std::string n = std::to_string(i);
        processScript(skirmish + "player" + n + ".slo", slot.data.fields,
                      "Failed to build processed script for AI: '" + choice + "', index: " + n +
                          ".",
                      "player " + n + ": " + choice + ", customized");
    }
    const std::string rules = state_.choices.rulesChoice();
    const RulesRecord* record = state_.rules.find(rules);
    if (record && record->hasScriptCustomizing && state_.scripts.rules.enabled)
        processScript(skirmish + "rules.slo", state_.scripts.rules.data.fields,
                      "Failed to build processed script for rules: '" + rules + "', index: 8.",
                      "rules: " + rules + ", customized");
}

} // namespace

StartPlan planAdditionalFiles(const ContentState& state, const ContentEnv& env, int owner,
                              std::string_view folder, const std::string& ownerName) {
    PlannedFiles files;
    StartPlan plan;
    Planner(state, env, files, plan).additionalFiles(owner, folder, ownerName);
    return plan;
}

std::vector<std::string> choicesSeen(const ContentState& state) {
    std::vector<std::string> out;
    for (int i = 0; i < kPlayerCount; ++i)
        out.push_back(state.choices.choice(i));
    out.push_back(state.choices.rulesChoice());
    for (const AiRecord& r : state.ais.records)
        out.push_back(r.name + "|" + r.directory);
    return out;
}

StartPlan planInstallBody(const ContentState& state, const ContentEnv& env,
                          const InstallOptions& options, PlannedFiles& files) {
    StartPlan plan;
    plan.choicesSeen = choicesSeen(state);
    Planner p(state, env, files, plan);

    int water = 0;
    for (int i = 0; i < kPlayerCount; ++i)
        if (toLower(state.choices.choice(i)) == "water ai")
            ++water;
    if (water > kMaxWaterAIs) {
        p.message("You can't select more than 3 WaterAIs, because WaterAI is too big for "
                  "Korvane to load more than 3 copies",
                  Icon::Exclamation);
        p.add(StepKind::Stop);
        return plan;
    }

    std::mt19937 random(options.randomSeed.value_or(
        std::uint32_t(std::chrono::high_resolution_clock::now().time_since_epoch().count())));
    std::uniform_real_distribution<double> draw(0.0, 1.0);
    for (int i = 0; i < kPlayerCount; ++i) {
        std::string name = state.choices.choice(i);
        if (name.empty() || name == kDontChange)
            continue;
        std::string note = "player " + std::to_string(i) + ": " + name;
        if (name == kRandom) {
            name = resolveRandom(state.choices, draw(random));
            if (name.empty())
                continue; // an empty catalogue: nothing to pick
            plan.randomDrawn = true;
            note = "player " + std::to_string(i) + ": " + name + " (drawn for <Random>)";
        }
        if (!p.installPlayer(i, name, note))
            return plan;
    }

    const std::string rules = state.choices.rulesChoice();
    if (!rules.empty() && rules != kDontChange) {
        p.installRules(rules);
        if (plan.stops())
            return plan;
    }
    p.processedScripts();
    return plan;
}

StartPlan planInstall(const ContentState& state, const ContentEnv& env,
                      const InstallOptions& options) {
    PlannedFiles files;
    StartPlan plan;
    plan.clearsInstalledLists = true;
    Planner p(state, env, files, plan);
    for (int owner = 0; owner <= kPlayerCount; ++owner) {
        const int slot = owner == kPlayerCount ? kRulesOwner : owner;
        for (const std::string& path : state.installed.of(slot))
            if (!state.originals.isOriginalFile(fileNameOf(path)) && files.exists(path))
                p.remove(path, "installed for the last game (" + ownerText(slot) + ")");
    }
    // A MOD's description may change the lists while requirements are resolved: the rest
    // is planned from a copy that went through the same, so preview and start agree.
    std::optional<ContentState> described;
    if (state.hooks.planRequirements) {
        described.emplace(state);
        plan.steps.push_back(state.hooks.planRequirements(env, *described));
    } else if (state.hooks.resolveRequirements) {
        p.add(StepKind::Requirements);
    }

    StartPlan body = planInstallBody(described ? *described : state, env, options, files);
    plan.choicesSeen = std::move(body.choicesSeen);
    plan.randomDrawn = body.randomDrawn;
    for (PlanStep& s : body.steps)
        plan.steps.push_back(std::move(s));
    return plan;
}

} // namespace kv::content
