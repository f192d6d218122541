#include "content/install.h"

#include "common/error_box.h"
#include "content/text_util.h"
#include "platform/files.h"

#include <algorithm>

namespace kv::content {

std::string resolveRandom(const PlayerChoices& choices, double r) {
    const auto& items = choices.players[0].items;
    const long long count = (long long)items.size();
    if (count < 3)
        return {};
    long long index = 1 + roundHalfEven(r * double(count - 3));
    index = std::clamp(index, 1LL, count - 2);
    return items[size_t(index)];
}

bool makeSloVlo(ContentState& state, const ContentEnv& env, const InstallOptions& options) {
    state.installing = true;
    const bool wasBusy = state.busy;
    state.busy = true;
    // However the install ends, the buttons it disabled come back.
    struct Done {
        ContentState& s;
        bool busy;
        ~Done() {
            s.installing = false;
            s.busy = busy;
            s.choices.applyEnabled = true;
        }
    } done{state, wasBusy};

    return executeInstallPlan(state, env, planInstall(state, env, options), options);
}

void CopyDefaultFiles(const ContentState& state, const ContentEnv& env) {
    if (env.gameFolder.empty())
        return;
    const std::string backup =
        env.paths.underLauncher("resources\\backup") + platform::nativeSeparator();
    const bool keepRules = state.choices.rulesChoice() == kDontChange;
    const std::string folder = skirmishFolder(env);
    FileGate gate = fileGate(env);
    for (const auto& e : platform::listDirectory(backup, "*")) {
        if (e.isFolder || (keepRules && endsWithNoCase(e.name, "slo")))
            continue;
        // One failure ends the restore: a vanished game folder would fail every file.
        if (platform::Status s =
                gate.copyOver(FileKind::InstalledCopy, backup + e.name, folder + e.name);
            !s) {
            showErrorBox(env.ui, s.code, s.description, "CopyDefaultFiles");
            return;
        }
    }
}

void removeInstalledFiles(ContentState& state, const ContentEnv& env) {
    FileGate gate = fileGate(env);
    state.installed.workOff(state.originals, gate);
    CopyDefaultFiles(state, env);
}

} // namespace kv::content
