#include "launcher/launcher_command_line.h"

#include "common/ui_port.h"
#include "core/text_util.h"
#include "launcher/global_config.h"
#include "launcher/launcher.h"

namespace kv {

std::vector<LauncherSwitch> parseLauncherSwitches(std::string_view commandLine) {
    std::vector<LauncherSwitch> out;
    size_t dash = commandLine.find('-');
    while (dash != std::string_view::npos) {
        const size_t next = commandLine.find('-', dash + 1);
        LauncherSwitch s;
        s.text = trimmed(commandLine.substr(
            dash + 1, next == std::string_view::npos ? std::string_view::npos : next - dash - 1));
        const size_t blank = s.text.find(' ');
        s.word = s.text.substr(0, blank);
        if (blank != std::string::npos)
            s.argument = trimmed(std::string_view(s.text).substr(blank + 1));
        out.push_back(std::move(s));
        dash = next;
    }
    return out;
}

void applyLauncherCommandLine(Launcher& l, std::string_view commandLine) {
    Ui& ui = l.ui();
    for (const LauncherSwitch& s : parseLauncherSwitches(commandLine)) {
        const std::string word = lowerAscii(s.word);
        if (word == "globalini") {
            if (trimmed(s.argument).empty()) {
                ui.message("Error parsing command line: " + s.text, Icon::Exclamation);
            } else if (applyGlobalConfiguration(l, s.argument)) {
                l.globalConfigLoaded = true;
            } else {
                ui.message("Failed to load:\n\n'" + l.paths.globalIniFolder + s.argument + "'",
                           Icon::Exclamation);
            }
        } else if (word == "debug") {
            if (!trimmed(s.argument).empty()) {
                ui.message("Error parsing command line: " + s.text, Icon::Exclamation);
            } else {
                l.debug = true;
                l.view().showDebugLabel();
            }
        } else {
            ui.message("Unknown command line switch: " + s.word, Icon::Exclamation);
        }
    }
}

} // namespace kv
