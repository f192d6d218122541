// Command files of any shape run against automation's and content's state on a small
// launcher folder (the toolbar behind the host is left out): as a
// global configuration, then as a KDG description, then the lists are refreshed and the
// requests applied. The lists must keep their "<don't change>" entry and valid choices.
#include "automation/automation_env.h"
#include "automation/automation_state.h"
#include "automation/command_file.h"
#include "automation/kdg_description.h"
#include "automation/selection.h"
#include "common/dialogless_ui.h"
#include "common/paths.h"
#include "content/content_state.h"
#include "launcher/script_wiring.h"
#include "platform/files.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

class QuietUi final : public kv::DialoglessUi {
public:
    kv::Answer message(const std::string&, kv::Icon, kv::Buttons, const std::string&) override {
        return kv::Answer::No;
    }
};

// A launcher folder with one AI and one rules set, made once per process.
const std::string& launcherFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/kv_automation_fuzz_XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made)
            std::abort();
        const std::string root = std::string(made) + "/";
        const auto put = [&root](const std::string& rel, std::string_view text) {
            const std::string path = root + rel;
            kv::platform::createFolderTree(path.substr(0, path.find_last_of('/') + 1));
            kv::platform::writeFileAtomic(path, text);
        };
        put("Mods/SkirmishAI/Hunter.kvai", "1\r\nHunter\r\n1\r\nslo\r\n\r\n \r\n}\r\n");
        put("Mods/INI/AI/Hunter.ini", "EnableAlliances()\r\nSetBasesState(\"2\")\r\n");
        put("Mods/Rules/Classic/rules.slo", "slo\r\n");
        put("Mods/Rules/Classic/rules.vlo", "vlo\r\n");
        put("Mods/Global INIs/.keep", "");
        put("Settings/.keep", "");
        return root;
    }();
    return folder;
}

// The toolbar's alliances and bases, which the commands set and read.
class ToolbarHost final : public kv::automation::AutomationHost {
public:
    void choicesChanged() override {}
    void refresh() override {}
    bool alliancesOn() const override { return alliances_; }
    int baseState() const override { return bases_; }
    void setAlliances(bool on) override { alliances_ = on; }
    void chooseBaseState(int state) override { bases_ = state; }

private:
    bool alliances_ = false;
    int bases_ = 1;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QuietUi ui;
    static const kv::Paths paths = kv::Paths::fromRoot(launcherFolder());
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kv::automation::AutomationState automation;
    kv::content::ContentState content;
    kv::wireScriptHooks(content);
    ToolbarHost host;
    const kv::automation::AutomationEnv env{automation, content, {paths, "", ui, false}, host};

    kv::automation::runCommandText(env, text);
    kv::automation::readKdgDescription(env, "Fuzz", text);
    // A folder scan costs far more than the rest: only one input in eight rescans.
    if (size % 8 != 0)
        automation.aiFrozen = automation.rulesFrozen = true;
    kv::automation::refreshLists(env, true);
    kv::automation::applyRequests(env);

    const auto& choices = content.choices;
    for (const auto& list : choices.players)
        if (list.items.empty() || list.items.front() != "<don't change>" || list.selected < 0 ||
            size_t(list.selected) >= list.items.size())
            __builtin_trap();
    if (choices.rules.items.empty() || size_t(choices.rules.selected) >= choices.rules.items.size())
        __builtin_trap();
    return 0;
}
