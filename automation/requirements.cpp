#include "automation/requirements.h"

#include "common/ui_port.h"
#include "content/ai_catalogue.h"
#include "content/message_recorder.h"

namespace kv::automation {

namespace {

struct Request {
    int state = 0;
    std::string requester;
    bool conflict = false;

    // False once two different states were asked for.
    bool add(int wanted, const std::string& by) {
        if (wanted == 0)
            return true;
        if (state == 0) {
            state = wanted;
            requester = by;
        } else if (state != wanted) {
            conflict = true;
        }
        return !conflict;
    }
};

} // namespace

RequirementResult resolveRequirements(const RequirementInputs& in, Ui& ui) {
    RequirementResult out{in.alliancesOn, in.baseState};
    if (!out.alliancesOn && in.rules.alliances) {
        ui.message("Alliances must be enabled for the selected rules file in order for it to "
                   "function properly.",
                   Icon::Information);
        out.alliancesOn = true;
    }
    for (const Requirement& p : in.players) {
        if (out.alliancesOn)
            break;
        if (p.alliances) {
            ui.message("Alliances must be enabled for the selected AI file (" + p.name +
                           ") in order for it to function properly.",
                       Icon::Information);
            out.alliancesOn = true;
        }
    }
    for (const Requirement& k : in.kdgs) {
        if (out.alliancesOn)
            break;
        if (k.alliances) {
            ui.message("Alliances must be enabled for the the '" + k.name +
                           "' kdg file in order for it to function properly..",
                       Icon::Information);
            out.alliancesOn = true;
        }
    }

    Request request;
    request.add(in.rules.baseState, "'" + in.rules.name + "' rules file");
    for (const Requirement& p : in.players)
        if (!request.add(p.baseState, "'" + p.name + "' AI file"))
            break;
    if (!request.conflict)
        for (const Requirement& k : in.kdgs)
            if (!request.add(k.baseState, "'" + k.name + "' KDG file"))
                break;

    if (request.conflict) {
        ui.message("Two different selected MODs requested base states to be set to different "
                   "MODs (state conflict).\r\nBase state was not be changed.",
                   Icon::Exclamation);
    } else if (request.state != 0 && request.state != out.baseState) {
        ui.message(request.requester + " must change the base state to " +
                       content::baseStateName(request.state) + ".",
                   Icon::Information);
        out.baseState = request.state;
    }
    return out;
}

RequirementInputs requirementInputs(const AutomationEnv& env, const content::ContentState& s,
                                    const std::vector<KdgRecord>& kdgs) {
    RequirementInputs in;
    const std::string rules = s.choices.rulesChoice();
    if (content::PlayerChoices::isRealChoice(rules)) {
        if (const content::RulesRecord* r = s.rules.find(rules))
            in.rules = {rules, r->info.alliancesRequired, r->info.baseStateRequired};
    }
    for (int i = 0; i < content::kPlayerCount; ++i) {
        const std::string ai = s.choices.choice(i);
        if (!content::PlayerChoices::isRealChoice(ai))
            continue;
        if (const content::AiRecord* r = s.ais.find(ai))
            in.players[size_t(i)] = {ai, r->info.alliancesRequired, r->info.baseStateRequired};
    }
    for (const KdgRecord& k : kdgs)
        in.kdgs.push_back({k.kdgName, k.alliancesRequired, k.baseStateRequired});
    in.alliancesOn = env.host.alliancesOn();
    in.baseState = env.host.baseState();
    return in;
}

content::PlanStep foreseeLauncherRequirements(const AutomationEnv& env,
                                              content::ContentState& planned) {
    content::MessageRecorder recorder;
    AutomationState automation = env.automation;
    const std::vector<KdgRecord> kdgs =
        readSelectedKdgDescriptions(env, {&recorder, &planned, &automation});
    const RequirementInputs in = requirementInputs(env, planned, kdgs);
    const RequirementResult out = resolveRequirements(in, recorder);
    content::PlanStep step;
    step.kind = content::StepKind::Requirements;
    step.messages = std::move(recorder.messages);
    if (out.alliancesOn != in.alliancesOn)
        step.alliances = out.alliancesOn ? 1 : 0;
    if (out.baseState != in.baseState)
        step.baseState = out.baseState;
    return step;
}

void resolveLauncherRequirements(const AutomationEnv& env) {
    const std::vector<KdgRecord> kdgs = readSelectedKdgDescriptions(env);
    const RequirementInputs in = requirementInputs(env, env.content, kdgs);
    const RequirementResult out = resolveRequirements(in, env.ui());
    if (out.alliancesOn != in.alliancesOn)
        env.host.setAlliances(out.alliancesOn);
    if (out.baseState != in.baseState)
        env.host.chooseBaseState(out.baseState);
}

} // namespace kv::automation
