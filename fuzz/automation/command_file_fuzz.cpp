// Command files of any shape run against a launcher on a small launcher folder: as a
// global configuration, then as a KDG description, then the lists are refreshed and the
// requests applied. The lists must keep their "<don't change>" entry and valid choices.
#include "automation/command_file.h"
#include "automation/kdg_description.h"
#include "automation/selection.h"
#include "common/dialogless_ui.h"
#include "launcher/automation_wiring.h"
#include "launcher/launcher.h"
#include "platform/files.h"
#include "platform/registry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QuietUi ui;
    static std::unique_ptr<kv::platform::RegistryBackend> registry =
        kv::platform::makeRegistryBackend(launcherFolder() + "registry.reg");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kv::Launcher launcher(launcherFolder(), ui, *registry, nullptr);

    kv::automation::runCommandText(kv::automationEnv(launcher), text);
    kv::automation::readKdgDescription(kv::automationEnv(launcher), "Fuzz", text);
    // A folder scan costs far more than the rest: only one input in eight rescans.
    if (size % 8 != 0)
        launcher.automation.aiFrozen = launcher.automation.rulesFrozen = true;
    kv::automation::refreshLists(kv::automationEnv(launcher), true);
    kv::automation::applyRequests(kv::automationEnv(launcher));

    const auto& choices = launcher.content.choices;
    for (const auto& list : choices.players)
        if (list.items.empty() || list.items.front() != "<don't change>" || list.selected < 0 ||
            size_t(list.selected) >= list.items.size())
            __builtin_trap();
    if (choices.rules.items.empty() || size_t(choices.rules.selected) >= choices.rules.items.size())
        __builtin_trap();
    return 0;
}
