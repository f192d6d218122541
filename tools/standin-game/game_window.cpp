#include "tools/standin-game/game_window.h"

#include "platform/text.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::standin {

namespace {

QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Legacy Windows-1252 texts (script lines, phrases) shown as their characters.
QString legacyText(const std::string& s) {
    return text(platform::toDisplayText(s));
}

QGroupBox* listBox(const QString& title, const QString& name, const std::vector<std::string>& lines,
                   const QString& empty) {
    auto* box = new QGroupBox(title);
    auto* list = new QListWidget(box);
    list->setObjectName(name);
    for (const auto& line : lines)
        list->addItem(legacyText(line));
    if (lines.empty())
        list->addItem(empty);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(list);
    return box;
}

} // namespace

GameWindow::GameWindow(const std::vector<std::string>& arguments, const GameWorld& world,
                       MemoryTable& memory, const std::string& memoryError)
    : memory_(memory) {
    setWindowTitle(QStringLiteral("Korvane Tactics"));

    std::vector<std::string> shown;
    for (size_t i = 0; i < arguments.size(); ++i)
        shown.push_back(std::to_string(i + 1) + ": [" + arguments[i] + "]");
    auto* top = new QHBoxLayout;
    top->addWidget(listBox(QStringLiteral("Command line (%1 arguments)").arg(arguments.size()),
                           QStringLiteral("arguments"), shown, QStringLiteral("(none)")));
    top->addWidget(listBox(QStringLiteral("Registry"), QStringLiteral("registry"), world.registry,
                           QStringLiteral("(none)")));
    auto* middle = new QHBoxLayout;
    middle->addWidget(listBox(QStringLiteral("multiplay/skirmish"), QStringLiteral("scripts"),
                              world.scripts, QStringLiteral("(no scripts)")));
    middle->addWidget(listBox(QStringLiteral("Active archives"), QStringLiteral("archives"),
                              world.archives, QStringLiteral("(no .kdg archives)")));

    figures_ = new QTableWidget(kPlayers, 5, this);
    figures_->setObjectName(QStringLiteral("figures"));
    figures_->setHorizontalHeaderLabels({QStringLiteral("Colour"), QStringLiteral("Power"),
                                         QStringLiteral("Trucks"), QStringLiteral("Units"),
                                         QStringLiteral("Derricks")});
    for (int i = 0; i < kPlayers; ++i)
        figures_->setVerticalHeaderItem(i,
                                        new QTableWidgetItem(QStringLiteral("Player %1").arg(i)));
    figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    figures_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    debugMode_ = new QLabel(this);
    debugMode_->setObjectName(QStringLiteral("debugMode"));
    auto* memoryState =
        new QLabel(memory.mapped() ? QStringLiteral("Figures mapped at the game's fixed addresses")
                                   : QStringLiteral("Figures not mapped: ") + text(memoryError),
                   this);
    auto* quit = new QPushButton(QStringLiteral("Quit"), this);
    quit->setObjectName(QStringLiteral("quit"));
    connect(quit, &QPushButton::clicked, this, &QWidget::close);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(memoryState, 1);
    bottom->addWidget(debugMode_);
    bottom->addWidget(quit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addWidget(figures_);
    layout->addLayout(bottom);
    resize(820, 780);

    refreshFigures();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        memory_.tick(++second_);
        refreshFigures();
    });
    timer->start(1000);
}

void GameWindow::refreshFigures() {
    for (int i = 0; i < kPlayers; ++i) {
        const PlayerFigures f = memory_.player(i);
        const unsigned values[] = {f.colour, f.power, f.trucks, f.units, f.derricks};
        for (int column = 0; column < 5; ++column)
            figures_->setItem(i, column, new QTableWidgetItem(QString::number(values[column])));
    }
    debugMode_->setText(memory_.debugFlag() ? QStringLiteral("Debug mode on")
                                            : QStringLiteral("Debug mode off"));
}

} // namespace kv::standin
