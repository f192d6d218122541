#include "debugmon/player_records.h"

#include "debugmon/colour_table.h"

namespace kv::debugmon {

ReportCells reportCells(const GameFigures& figures) {
    ReportCells cells;
    for (std::size_t i = 0; i < figures.players.size(); ++i) {
        const PlayerRecord& p = figures.players[i];
        cells[0][i] = std::to_string(p.power);
        cells[1][i] = playerColour(p.colour).name;
        cells[2][i] = std::to_string(p.trucks);
        cells[3][i] = std::to_string(p.units);
        cells[4][i] = std::to_string(p.derricks);
    }
    return cells;
}

const char* debugFlagText(const GameFigures& figures) {
    return figures.debugOn() ? "True" : "False";
}

} // namespace kv::debugmon
