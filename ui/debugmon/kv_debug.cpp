#include "ui/debugmon/kv_debug.h"

#include "debugmon/colour_table.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The fill is the palette's window colour, so a test reads back exactly what is shown. An
// unknown index gets a neutral fill with a question mark, never a player's colour.
void paintSwatch(QLabel* swatch, const debugmon::PlayerColour& colour) {
    QPalette palette = swatch->palette();
    const auto& c = colour.swatch;
    palette.setColor(QPalette::Window, QColor(c.red, c.green, c.blue));
    swatch->setPalette(palette);
    swatch->setText(colour.known ? QString() : QStringLiteral("?"));
    swatch->setToolTip(text(colour.name));
}

} // namespace

KVDebug::KVDebug(QWidget* parent, std::unique_ptr<debugmon::GameAccess> access)
    : QWidget(parent, Qt::Window),
      access_(access ? std::move(access) : std::make_unique<debugmon::PlatformGameAccess>()),
      monitor_(*access_) {
    setObjectName(QStringLiteral("KVDebug"));
    setWindowTitle(QStringLiteral("Skirmish Debugger"));

    const int rows = int(debugmon::kReportRows.size());
    report_ = new QTableWidget(rows, debugmon::kPlayers + 1, this);
    report_->setObjectName(QStringLiteral("LstKvDebugInfo"));
    QStringList headers{QString()};
    for (int i = 0; i < debugmon::kPlayers; ++i)
        headers << QStringLiteral("Player %1").arg(i);
    report_->setHorizontalHeaderLabels(headers);
    report_->verticalHeader()->hide();
    report_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    report_->setSelectionMode(QAbstractItemView::NoSelection);
    report_->setFocusPolicy(Qt::NoFocus);
    report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    report_->horizontalHeader()->setDefaultSectionSize(76);
    for (int r = 0; r < rows; ++r) {
        report_->setItem(
            r, 0, new QTableWidgetItem(QString::fromLatin1(debugmon::kReportRows[std::size_t(r)])));
        for (int c = 1; c <= debugmon::kPlayers; ++c)
            report_->setItem(r, c, new QTableWidgetItem);
    }
    report_->resizeColumnToContents(0);
    // The whole table in view: five rows and nine columns never scroll.
    int width = 2 * report_->frameWidth();
    for (int c = 0; c < report_->columnCount(); ++c)
        width += report_->columnWidth(c);
    int height = 2 * report_->frameWidth() + report_->horizontalHeader()->sizeHint().height();
    for (int r = 0; r < rows; ++r)
        height += report_->rowHeight(r);
    report_->setMinimumSize(width, height);

    status_ = new QLabel(QStringLiteral("Korvane Not Found"), this);
    status_->setObjectName(QStringLiteral("LblKvStatus"));
    debugMode_ = new QLabel(QStringLiteral("False"), this);
    debugMode_->setObjectName(QStringLiteral("LblKvDebugMode"));

    auto* swatchRow = new QGridLayout;
    for (int i = 0; i < debugmon::kPlayers; ++i) {
        auto* swatch = new QLabel(this);
        swatch->setObjectName(QStringLiteral("ShpPlayerColour%1").arg(i));
        swatch->setFixedSize(28, 18);
        swatch->setAutoFillBackground(true);
        swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
        swatch->setAlignment(Qt::AlignCenter);
        swatches_[std::size_t(i)] = swatch;
        swatchRow->addWidget(new QLabel(QString::number(i), this), 0, i, Qt::AlignHCenter);
        swatchRow->addWidget(swatch, 1, i, Qt::AlignHCenter);
    }

    auto* enable = new QPushButton(QStringLiteral("Enable Debug"), this);
    enable->setObjectName(QStringLiteral("CmdEnableKVDebug"));
    auto* disable = new QPushButton(QStringLiteral("Disable Debug"), this);
    disable->setObjectName(QStringLiteral("CmdDisableKVDebug"));
    auto* command1 = new QPushButton(QStringLiteral("Command1"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    // Failed writes are ignored: the next update shows what the game really holds.
    connect(enable, &QPushButton::clicked, this, [this] { monitor_.enableDebug(); });
    connect(disable, &QPushButton::clicked, this, [this] { monitor_.disableDebug(); });
    connect(command1, &QPushButton::clicked, this, [this] { monitor_.command1(); });

    auto* side = new QVBoxLayout;
    side->addWidget(status_);
    auto* debugRow = new QHBoxLayout;
    debugRow->addWidget(new QLabel(QStringLiteral("Debug mode:"), this));
    debugRow->addWidget(debugMode_, 1);
    side->addLayout(debugRow);
    side->addLayout(swatchRow);
    side->addStretch(1);
    for (QPushButton* b : {enable, disable, command1})
        side->addWidget(b);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(report_, 1);
    layout->addLayout(side);
    adjustSize();

    clock_ = new debugmon::MonitorClock(monitor_, this);
    connect(clock_, &debugmon::MonitorClock::searched, this, &KVDebug::showSearch);
    connect(clock_, &debugmon::MonitorClock::updated, this, &KVDebug::showFigures);
    clock_->start();
}

KVDebug::~KVDebug() {
    clock_->stop();
}

void KVDebug::closeEvent(QCloseEvent* event) {
    clock_->stop();
    event->accept();
}

void KVDebug::showSearch(bool found) {
    status_->setText(found ? QStringLiteral("Korvane Found") : QStringLiteral("Korvane Not Found"));
}

void KVDebug::showFigures() {
    const debugmon::GameFigures& figures = monitor_.figures();
    const debugmon::ReportCells cells = debugmon::reportCells(figures);
    for (std::size_t r = 0; r < cells.size(); ++r)
        for (std::size_t i = 0; i < cells[r].size(); ++i)
            report_->item(int(r), int(i) + 1)->setText(text(cells[r][i]));
    for (std::size_t i = 0; i < swatches_.size(); ++i)
        paintSwatch(swatches_[i], debugmon::playerColour(figures.players[i].colour));
    debugMode_->setText(QString::fromLatin1(debugmon::debugFlagText(figures)));
}

KVDebug* openDebugMonitor(QWidget* parent) {
    // A closed monitor is deleted later; it may still be found until then.
    for (KVDebug* open :
         parent->findChildren<KVDebug*>(QStringLiteral("KVDebug"), Qt::FindDirectChildrenOnly)) {
        if (open->isVisible()) {
            open->raise();
            open->activateWindow();
            return open;
        }
    }
    auto* window = new KVDebug(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

} // namespace kv::ui
