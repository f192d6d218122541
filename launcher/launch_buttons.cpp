#include "launcher/launch_buttons.h"

#include "common/ui_port.h"
#include "launcher/game_start.h"
#include "launcher/launcher.h"
#include "platform/shell.h"

namespace kv {

bool applyChanges(Launcher& l) {
    return makeSloVlo(l);
}

std::string mapEditorParameters(int renderMode) {
    const auto& modes = mapEditorModeEntries();
    const bool direct3d = renderMode >= 0 && size_t(renderMode) < modes.size() &&
                          modes[size_t(renderMode)] == "Direct3D";
    return direct3d ? " -hardware" : "";
}

bool startMapEditor(Launcher& l) {
    const std::string folder = l.installations.currentGameFolder();
    const platform::StartResult started = platform::startProgram(
        folder + kMapEditorExecutable, mapEditorParameters(l.options.mapEditorMode), folder,
        platform::WindowMode::Normal, l.wineCommand);
    // Unlike the game's start, nothing watches the editor, so a failure would go unseen.
    if (!started.ok)
        l.ui().message("The map editor could not be started.\n" + started.error, Icon::Critical);
    return started.ok;
}

std::string keyHelpText() {
    return "Press 'Shift - ?' in Korvane to enter Debug mode\n"
           "KEYS:\n"
           "'Ctrl - -'  -  Exit Korvane (numerical keyboard)\n"
           "'Ctrl - G' - Show Map\n"
           "'Ctrl - O' - Show Debug Menu\n"
           "'A'          - Enable all research";
}

void showKeyHelp(Launcher& l) {
    l.ui().message(keyHelpText(), Icon::Information);
}

LaunchPreview launchPreview(Launcher& l) {
    LaunchPreview p;
    p.commandLine = gameCommandLine(l.options, currentMultiplayerSwitches(l));
    p.invocation = shellLine(platform::programInvocation(
        l.installations.currentGameFolder() + kGameExecutable, p.commandLine, l.wineCommand));
    return p;
}

namespace {

std::string quotedWord(const std::string& arg) {
    static const std::string plain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                     "0123456789-_+=/.,:@%";
    if (!arg.empty() && arg.find_first_not_of(plain) == std::string::npos)
        return arg;
    std::string out = "'";
    for (char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + '\'';
}

} // namespace

std::string shellQuoted(const std::vector<std::string>& argv) {
    std::string out;
    for (const std::string& arg : argv) {
        if (!out.empty())
            out += ' ';
        out += quotedWord(arg);
    }
    return out;
}

std::string shellLine(const platform::Invocation& invocation) {
    std::string out;
    // Only the value is quoted: a quoted name would make the shell read a command.
    for (const std::string& setting : invocation.environment) {
        const size_t equals = setting.find('=');
        out += setting.substr(0, equals + 1) + quotedWord(setting.substr(equals + 1)) + ' ';
    }
    return out + shellQuoted(invocation.argv);
}

} // namespace kv
