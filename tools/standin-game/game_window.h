#pragma once
// The stand-in game's one window, titled as the real game's so the launcher and the debug
// monitor find it: what the game was started with and the live figures of its players.
#include "tools/standin-game/game_world.h"
#include "tools/standin-game/memory_table.h"

#include <QWidget>

class QLabel;
class QTableWidget;

namespace kv::standin {

class GameWindow : public QWidget {
    Q_OBJECT
public:
    GameWindow(const std::vector<std::string>& arguments, const GameWorld& world,
               MemoryTable& memory, const std::string& memoryError);

private:
    void refreshFigures();

    MemoryTable& memory_;
    QTableWidget* figures_;
    QLabel* debugMode_;
    unsigned second_ = 0;
};

} // namespace kv::standin
