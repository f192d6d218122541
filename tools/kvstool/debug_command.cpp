// kvstool debug: the game debug monitor without a window. `watch` runs the monitor on its
// own timers and prints every update; `set-flag` switches the game's debug mode once.
#include "debugmon/colour_table.h"
#include "debugmon/debug_monitor.h"
#include "debugmon/game_access.h"
#include "debugmon/monitor_clock.h"
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace kv::tool {

namespace {

constexpr const char* kUsage =
    "usage: kvstool debug watch [--seconds S] [--json]\n"
    "       kvstool debug set-flag 0|1\n"
    "watch: looks for the window titled \"Korvane Tactics\" every 100 ms and, while it is\n"
    "  there, reads the players' figures every 500 ms. One line per update:\n"
    "    power=P0,..,P7 TAB color=NAME0,..,NAME7 TAB trucks=.. TAB units=.. TAB\n"
    "    derricks=.. TAB debug=True|False\n"
    "  and \"Korvane Found\" / \"Korvane Not Found\" lines when that changes. --json prints\n"
    "  one JSON object per line instead. Runs for S seconds (default: until stopped).\n"
    "set-flag: writes the game's debug mode flag (1 on, 0 off); exit 1 when the game is\n"
    "  not found or the write fails.\n";

const Area kArea("debug", kUsage);

std::optional<int> seconds(const std::string& text) {
    try {
        size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size() && value >= 1 && value <= 7 * 24 * 3600)
            return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

void printLine(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string searchText(const debugmon::DebugMonitor& monitor) {
    if (monitor.found())
        return "Korvane Found (window " + std::to_string(monitor.window()) + ", process " +
               std::to_string(monitor.processId()) + ")";
    return monitor.windowSystem() ? "Korvane Not Found" : "Korvane Not Found (no window system)";
}

std::string figuresText(const debugmon::GameFigures& figures) {
    static constexpr const char* kKeys[] = {"power", "color", "trucks", "units", "derricks"};
    const debugmon::ReportCells cells = debugmon::reportCells(figures);
    std::string line;
    for (std::size_t r = 0; r < cells.size(); ++r) {
        line += kKeys[r];
        line += '=';
        for (std::size_t i = 0; i < cells[r].size(); ++i)
            line += (i ? "," : "") + cells[r][i];
        line += '\t';
    }
    return line + "debug=" + debugmon::debugFlagText(figures);
}

QJsonObject searchJson(const debugmon::DebugMonitor& monitor) {
    QJsonObject o{{"found", monitor.found()}};
    if (monitor.found()) {
        o["window"] = double(monitor.window());
        o["process"] = double(monitor.processId());
    } else {
        o["windowSystem"] = monitor.windowSystem();
    }
    return o;
}

QJsonObject figuresJson(const debugmon::GameFigures& figures) {
    QJsonArray players;
    for (const debugmon::PlayerRecord& p : figures.players) {
        players.append(QJsonObject{
            {"power", p.power},
            {"color", p.colour},
            {"colorName", QString::fromStdString(debugmon::playerColour(p.colour).name)},
            {"trucks", p.trucks},
            {"units", p.units},
            {"derricks", p.derricks}});
    }
    return {{"players", players}, {"debugFlag", figures.debugFlag}, {"debug", figures.debugOn()}};
}

void printJsonLine(const QJsonObject& object) {
    printLine(QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString());
}

int watch(int limitSeconds, bool json) {
    int argc = 1;
    char name[] = "kvstool";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    debugmon::PlatformGameAccess access;
    debugmon::DebugMonitor monitor(access);
    debugmon::MonitorClock clock(monitor, nullptr);
    std::optional<bool> shownFound;
    QObject::connect(&clock, &debugmon::MonitorClock::searched, [&](bool found) {
        if (shownFound == found)
            return;
        shownFound = found;
        json ? printJsonLine(searchJson(monitor)) : printLine(searchText(monitor));
    });
    QObject::connect(&clock, &debugmon::MonitorClock::updated, [&] {
        json ? printJsonLine(figuresJson(monitor.figures()))
             : printLine(figuresText(monitor.figures()));
    });
    clock.start();
    if (limitSeconds > 0)
        QTimer::singleShot(limitSeconds * 1000, &app, &QCoreApplication::quit);
    return app.exec();
}

int setFlag(std::uint16_t value) {
    debugmon::PlatformGameAccess access;
    debugmon::DebugMonitor monitor(access);
    if (!monitor.search())
        return kArea.failure(monitor.windowSystem()
                                 ? "no window titled \"Korvane Tactics\": the game is not running"
                                 : "no window system to find the game in (DISPLAY not set?)");
    if (!monitor.writeDebugFlag(value))
        return kArea.failure("cannot write the debug flag of process " +
                             std::to_string(monitor.processId()));
    printLine("debug flag set to " + std::to_string(value));
    return 0;
}

} // namespace

int runDebugCommand(const std::vector<std::string>& args) {
    if (kArea.helpAsked(args))
        return 0;
    if (args.empty())
        return kArea.usage();
    if (args[0] == "set-flag") {
        if (args.size() != 2 || (args[1] != "0" && args[1] != "1"))
            return kArea.usage("set-flag takes 0 or 1");
        return setFlag(args[1] == "1" ? 1 : 0);
    }
    if (args[0] != "watch")
        return kArea.usage("unknown command: " + args[0]);
    int limit = 0;
    bool json = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--seconds" && i + 1 < args.size()) {
            const auto s = seconds(args[++i]);
            if (!s)
                return kArea.usage("--seconds takes a whole number from 1");
            limit = *s;
        } else {
            return kArea.usage("unknown argument: " + args[i]);
        }
    }
    return watch(limit, json);
}

} // namespace kv::tool
