#include "common/error_box.h"
#include "content/install_plan.h"
#include "content/mod_activation.h"
#include "content/planned_files.h"
#include "platform/files.h"

namespace kv::content {

namespace {

constexpr const char* kOperation = "makeSloVlo";

// Replaces the batch's files whole, made durable together; a read-only target is
// cleared first. Files that already hold their bytes are left alone.
platform::Status writeBatch(FileGate& gate, const std::vector<const PlanStep*>& steps) {
    std::vector<platform::FileContents> files;
    for (const PlanStep* s : steps) {
        if (s->unchanged)
            continue;
        if (!gate.allows(FileKind::InstalledCopy, s->target))
            return {platform::err::PathFileAccess,
                    "'" + s->target + "' is outside the game folder"};
        if (platform::pathExists(s->target))
            platform::clearAttributes(s->target);
        files.push_back({s->target, s->bytes});
    }
    return files.empty() ? platform::Status{} : platform::writeFilesAtomic(files);
}

void show(Ui& ui, const PlannedMessage& m) {
    ui.message(m.text, m.icon, m.buttons, m.title);
}

} // namespace

bool executeInstallPlan(ContentState& state, const ContentEnv& env, StartPlan plan,
                        const InstallOptions& options) {
    // What the last install listed is gone or the user's now.
    if (plan.clearsInstalledLists)
        state.installed = InstalledFiles{};
    std::vector<PlanStep>& steps = plan.steps;
    for (size_t i = 0; i < steps.size(); ++i) {
        const PlanStep& step = steps[i];
        switch (step.kind) {
        case StepKind::Delete:
            // A copy of the last install: a user's file it borrowed the name of comes
            // back. Errors are ignored: a file that cannot go stays where it is.
            fileGate(env).putBack(FileKind::InstalledCopy, step.target);
            break;
        case StepKind::Requirements:
            if (state.hooks.resolveRequirements)
                state.hooks.resolveRequirements(env);
            // The lists differ from the planned ones (a MOD's description changed since the
            // plan was made): the rest is planned anew.
            if (choicesSeen(state) != plan.choicesSeen) {
                PlannedFiles files;
                StartPlan rest = planInstallBody(state, env, options, files);
                steps.resize(i + 1);
                for (PlanStep& s : rest.steps)
                    steps.push_back(std::move(s));
                plan.choicesSeen = std::move(rest.choicesSeen);
            }
            break;
        case StepKind::Message:
            for (const PlannedMessage& m : step.messages)
                show(env.ui, m);
            break;
        case StepKind::Stop:
            return false;
        case StepKind::Write: {
            std::vector<const PlanStep*> batch{&step};
            while (i + 1 < steps.size() && steps[i + 1].kind == StepKind::Write &&
                   steps[i + 1].batch == step.batch)
                batch.push_back(&steps[++i]);
            FileGate gate = fileGate(env);
            if (platform::Status s = writeBatch(gate, batch); !s) {
                if (step.failure.empty()) {
                    showErrorBox(env.ui, s.code, s.description, kOperation);
                    return false;
                }
                env.ui.message(step.failure, Icon::Exclamation);
            }
            break;
        }
        case StepKind::Copy: {
            // A user's own file under the archive's name is kept aside and comes back
            // when the launcher removes its copy.
            FileGate gate = fileGate(env);
            if (!gate.keepAside(FileKind::InstalledCopy, step.target))
                break;
            if (gate.copyOver(FileKind::InstalledCopy, step.source, step.target))
                state.installed.add(step.owner, platform::resolvePath(step.target));
            else
                gate.putBack(FileKind::InstalledCopy, step.target);
            break;
        }
        case StepKind::Rename:
            platform::clearAttributes(step.source);
            platform::renameEntry(step.source, step.target);
            break;
        case StepKind::RefreshMods:
            refreshModList(state, env);
            break;
        case StepKind::Registry:
        case StepKind::CommandLine:
            break; // the start's, after the install
        }
    }
    return true;
}

} // namespace kv::content
