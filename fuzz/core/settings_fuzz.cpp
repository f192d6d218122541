// Feeds arbitrary bytes to the launcher core's readers: the settings file (parsed and
// applied to a launcher), registry paths and the launcher's command line.
#include "common/dialogless_ui.h"
#include "launcher/launcher.h"
#include "launcher/launcher_command_line.h"
#include "core/registry_access.h"
#include "launcher/settings_file.h"
#include "platform/text.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Answers every question with "cancel", as a user who closes each dialog.
class SilentUi : public kv::DialoglessUi {
public:
    kv::Answer message(const std::string&, kv::Icon, kv::Buttons, const std::string&) override {
        return kv::Answer::Cancel;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentUi ui;
    static auto registry = kv::platform::makeRegistryBackend("/nonexistent/kv-fuzz/registry.reg");
    const std::string text(reinterpret_cast<const char*>(data), size);

    kv::Launcher launcher("/nonexistent/kv-fuzz/", ui, *registry, {});
    for (const kv::SettingsEntry& e : kv::parseSettingsLines(kv::platform::splitLines(text)))
        kv::applySetting(launcher, e);
    (void)kv::formatSettings(launcher);

    (void)kv::parseRegistryPath(text);
    (void)kv::parseLauncherSwitches(text);
    return 0;
}
