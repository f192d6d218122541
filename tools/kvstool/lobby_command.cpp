// kvstool lobby: a headless lobby peer on the launcher's own lobby, for scripts and tests.
// One tab-separated line per event on stdout, flushed at once.
#include "common/dialogless_ui.h"
#include "launcher/launch_buttons.h"
#include "launcher/launcher.h"
#include "launcher/startup.h"
#include "launcher/lobby_wiring.h"
#include "lobby/lobby.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kv::tool {

namespace {

constexpr const char* kUsage =
    "usage: kvstool lobby host LAUNCHER_DIR [--port N] [--nick NICK] [--seconds S]\n"
    "                          [--answer yes|no]\n"
    "       kvstool lobby join LAUNCHER_DIR HOST [--port N] [--nick NICK] [--seconds S]\n"
    "                          [--answer yes|no] [--say TEXT] [--sync] [--disable-mods]\n"
    "                          [--details]\n"
    "Runs a lobby peer on the launcher folder without a window. Events, one per line:\n"
    "  send TAB CONN TAB MESSAGE      recv TAB CONN TAB BLOCK\n"
    "  box TAB TITLE TAB TEXT         row TAB ROW TAB IP TAB USER TAB CONFIGURATION\n"
    "  rows TAB COUNT (rows removed)  status TAB TEXT\n"
    "  details TAB IP TAB NICK TAB GAME FOLDER TAB LAUNCHER FOLDER\n"
    "  start TAB COMMAND LINE (the game is not started)\n"
    "Questions are answered with --answer (default yes; a question whose yes deletes a\n"
    "file is answered no unless --answer yes is given). Exits 0 after --seconds (default\n"
    "30) or when the last peer has disconnected.\n";

struct Options {
    bool host = false;
    std::string launcherDir;
    std::string hostAddress;
    std::uint16_t port = lobby::kDefaultPort;
    std::optional<std::string> nick;
    int seconds = 30;
    std::optional<bool> yes; // as given on the command line
    std::optional<std::string> say;
    bool sync = false;
    bool disableMods = false;
    bool details = false;
};

std::optional<int> number(const std::string& text, int low, int high) {
    try {
        size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size() && value >= low && value <= high)
            return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// Nothing when the arguments are bad.
std::optional<Options> parseOptions(const std::vector<std::string>& args) {
    Options o;
    o.host = args[0] == "host";
    const size_t positional = o.host ? 2 : 3;
    if ((args[0] != "host" && args[0] != "join") || args.size() < positional)
        return std::nullopt;
    o.launcherDir = args[1];
    if (!o.host)
        o.hostAddress = args[2];
    for (size_t i = positional; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue) {
            const auto port = number(args[++i], 1, 65535);
            if (!port)
                return std::nullopt;
            o.port = std::uint16_t(*port);
        } else if (a == "--nick" && hasValue) {
            o.nick = args[++i];
        } else if (a == "--seconds" && hasValue) {
            const auto seconds = number(args[++i], 0, 24 * 3600);
            if (!seconds)
                return std::nullopt;
            o.seconds = *seconds;
        } else if (a == "--answer" && hasValue) {
            const std::string& answer = args[++i];
            if (answer != "yes" && answer != "no")
                return std::nullopt;
            o.yes = answer == "yes";
        } else if (!o.host && a == "--say" && hasValue) {
            o.say = args[++i];
        } else if (!o.host && a == "--sync") {
            o.sync = true;
        } else if (!o.host && a == "--disable-mods") {
            o.disableMods = true;
        } else if (!o.host && a == "--details") {
            o.details = true;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

// Line breaks and tabs inside a field would break the line format.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

void emitLine(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i)
        line += (i ? "\t" : "") + (i ? escaped(fields[i]) : fields[i]);
    line += '\n';
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

// Message boxes become "box" lines; questions get the chosen answer; the nick question on
// a first run gets the nick.
class EventUi : public DialoglessUi {
public:
    EventUi(std::optional<bool> yes, std::string nick)
        : yes_(yes.value_or(true)), explicitYes_(yes.value_or(false)), nick_(std::move(nick)) {}
    Answer message(const std::string& text, Icon, Buttons buttons,
                   const std::string& title) override {
        emitLine({"box", title, text});
        switch (buttons) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return yes_ ? Answer::Yes : Answer::No;
        case Buttons::OkCancel:
            return yes_ ? Answer::Ok : Answer::Cancel;
        case Buttons::AbortRetryIgnore:
            return Answer::Ignore;
        case Buttons::RetryCancel:
            return Answer::Cancel;
        case Buttons::Ok:
            break;
        }
        return Answer::Ok;
    }
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string&) override {
        return nick_;
    }
    void pumpEvents() override { QCoreApplication::processEvents(); }

protected:
    // A question whose safe answer is No is one whose Yes deletes something: a peer's
    // command must not get that Yes from a default nobody chose.
    Answer messageWithDefault(const std::string& text, Icon icon, Buttons buttons,
                              const std::string& title, Answer defaultButton) override {
        if (defaultButton == Answer::No && !explicitYes_) {
            emitLine({"box", title, text});
            return Answer::No;
        }
        return message(text, icon, buttons, title);
    }

private:
    bool yes_;
    bool explicitYes_;
    std::string nick_;
};

void reportEvents(Launcher& launcher, lobby::Lobby& session) {
    QObject::connect(&session, &lobby::Lobby::sent, [](int c, const std::string& m) {
        emitLine({"send", std::to_string(c), m});
    });
    QObject::connect(&session, &lobby::Lobby::received, [](int c, const std::string& b) {
        emitLine({"recv", std::to_string(c), b});
    });
    QObject::connect(&session, &lobby::Lobby::rowChanged, [&launcher](int row) {
        const auto& rows = launcher.lobby.rows;
        if (row < 1 || size_t(row) > rows.size())
            return;
        const auto& r = rows[size_t(row - 1)];
        emitLine({"row", std::to_string(row), r.ip, r.user, r.configuration});
    });
    QObject::connect(&session, &lobby::Lobby::rowsRemoved, [](int count) {
        emitLine({"rows", std::to_string(count)});
    });
    QObject::connect(&session, &lobby::Lobby::status, [](const std::string& text) {
        emitLine({"status", text});
    });
    session.startGame = [&launcher] { emitLine({"start", launchPreview(launcher).commandLine}); };
    session.showUserDetails = [](const lobby::UserRecord& u) {
        emitLine({"details", u.ip, u.nick, u.gameFolder, u.launcherFolder});
    };
}

// After the joining greeting, the actions the command line asked for.
void runJoinActions(lobby::Lobby& session, const Options& o) {
    session.state().selectedRow = 0;
    if (o.say)
        session.remote_SendMessage(*o.say, 0);
    if (o.sync)
        session.runCommand("Synchronize AIs");
    if (o.disableMods)
        session.runCommand("Disable all MODs");
    if (o.details)
        session.runCommand("User details");
}

int runPeer(const Options& o) {
    int argc = 1;
    char name[] = "kvstool";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    EventUi ui(o.yes, o.nick.value_or("kvstool"));
    auto registry = platform::makeRegistryBackend(platform::defaultRegistryStorePath());
    // Absolute before the start-up moves the working folder to the launcher's own.
    std::error_code absoluteError;
    std::string folder = std::filesystem::absolute(o.launcherDir, absoluteError).string();
    if (absoluteError)
        folder = o.launcherDir;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    if (!platform::folderExists(folder)) {
        std::fprintf(stderr, "kvstool: %s: no such folder\n", o.launcherDir.c_str());
        return 1;
    }
    Launcher launcher(folder, ui, *registry, [](const std::string&) { return false; });
    launcher.lobby.port = o.port;
    wireLobby(launcher);
    lobby::Lobby& session = *launcher.lobby.session;
    if (!runStartup(launcher, "")) {
        std::fprintf(stderr, "kvstool: %s: not a usable launcher folder\n", o.launcherDir.c_str());
        return 1;
    }
    if (o.nick)
        launcher.nick = launcher.nickParsed = *o.nick;
    reportEvents(launcher, session);

    bool everConnected = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        bool connected = false;
        for (int k = 0; k < session.connectionCount(); ++k)
            connected = connected || session.isConnected(k);
        everConnected = everConnected || connected;
        if (everConnected && !connected)
            QCoreApplication::exit(0);
    });
    watch.start(100);
    QTimer::singleShot(o.seconds * 1000, [] { QCoreApplication::exit(0); });

    bool greeted = false;
    if (o.host) {
        session.chooseHost();
        if (!session.listening()) {
            std::fprintf(stderr, "kvstool: cannot listen on port %u\n", unsigned(o.port));
            return 1;
        }
    } else {
        session.chooseJoin();
        session.state().ipEntry = o.hostAddress;
        session.addHostIp();
        // The greeting ends with "getuserdetails"; the actions follow it, once.
        QObject::connect(&session, &lobby::Lobby::sent, [&](int, const std::string& m) {
            if (!greeted && m.rfind("getuserdetails||", 0) == 0) {
                greeted = true;
                QTimer::singleShot(0, [&] { runJoinActions(session, o); });
            }
        });
        session.runCommand("Connect");
    }
    app.exec();
    closeMainWindow(launcher);
    return 0;
}

const Area area("lobby", kUsage);

} // namespace

int runLobbyCommand(const std::vector<std::string>& args) {
    if (!args.empty() && area.helpAsked({args.front()}))
        return 0;
    const auto options = args.empty() ? std::nullopt : parseOptions(args);
    if (!options)
        return area.usage();
    return runPeer(*options);
}

} // namespace kv::tool
