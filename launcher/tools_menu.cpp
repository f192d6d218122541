#include "launcher/tools_menu.h"

#include "common/ui_port.h"
#include "launcher/launcher.h"
#include "launcher/settings_file.h"
#include "launcher/startup.h"
#include "platform/shell.h"

#include <QCoreApplication>

#include <filesystem>

namespace kv {

namespace {

constexpr const char* kRestartQuestion = "Are you sure? (KVS will be restarted)";

bool confirmed(Launcher& l) {
    return l.ui().message(kRestartQuestion, Icon::Question, Buttons::YesNo) == Answer::Yes;
}

} // namespace

std::string ownExecutablePath() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath().toStdString();
#ifndef _WIN32
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.string();
#endif
    return {};
}

bool restartLauncher(Launcher& l, const std::string& executable) {
    const platform::StartResult r = platform::startProgram(executable, "", l.paths.launcherFolder,
                                                           platform::WindowMode::Normal);
    if (!r.ok)
        l.ui().message(r.error, Icon::Critical);
    return r.ok;
}

ToolsEnd removeCurrentConfiguration(Launcher& l, const std::string& executable) {
    if (!confirmed(l))
        return ToolsEnd::Stay;
    deleteConfigINI(l);
    l.ui().pumpEvents();
    restartLauncher(l, executable);
    return ToolsEnd::EndNow;
}

ToolsEnd changeNick(Launcher& l, const std::string& executable) {
    if (!confirmed(l) || !enterNick(l))
        return ToolsEnd::Stay;
    SaveDefaultValues(l);
    // Without a new launcher this one stays, so the user is not left with none.
    return restartLauncher(l, executable) ? ToolsEnd::CloseMain : ToolsEnd::Stay;
}

} // namespace kv
