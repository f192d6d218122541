#include "ui/mapview/form2.h"

#include "ui/mapview/form1.h"
#include "ui/qt_text.h"

#include "mapview/map_statistics.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kv::ui {

Form2::Form2(Form1& viewer) : QDialog(&viewer), viewer_(viewer) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("Map statistics"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto field = [&](const char* name, const QString& label) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        form->addRow(label, edit);
        return edit;
    };
    height_ = field("TxtHeight", tr("Map height"));
    width_ = field("TxtWidth", tr("Map width"));
    area_ = field("TxtTiles", tr("Tiles"));
    seaLevel_ = field("TxtSeaLevel", tr("Sea level"));
    gateways_ = field("TxtGateways", tr("Gateways"));
    objects_ = field("TxtObjects", tr("Objects"));
    layout->addLayout(form);

    auto* row = new QHBoxLayout;
    const char* names[] = {"LstNames", "LstPositions", "LstPlayers"};
    for (int i = 0; i < 3; ++i) {
        lists_[i] = new QListWidget;
        lists_[i]->setObjectName(QString::fromLatin1(names[i]));
        row->addWidget(lists_[i], i == 0 ? 2 : 1);
        connect(lists_[i], &QListWidget::currentRowChanged, this, &Form2::selectRow);
    }
    layout->addLayout(row, 1);
    check_ = new QPushButton(tr("Check map"));
    check_->setObjectName(QStringLiteral("CmdCheck"));
    connect(check_, &QPushButton::clicked, this, &Form2::CheckForBugs_LoadedMap);
    layout->addWidget(check_);
    resize(420, 420);
}

void Form2::fill() {
    const mapview::MapStatistics s = mapview::mapStatistics(viewer_.viewer().model());
    height_->setText(QString::number(s.mapHeight));
    width_->setText(QString::number(s.mapWidth));
    area_->setText(QString::number(s.area));
    seaLevel_->setText(QString::number(s.seaLevel));
    gateways_->setText(QString::number(s.gatewayCount));
    objects_->setText(QString::number(s.objectCount));
    const std::vector<std::string>* columns[] = {&s.names, &s.positions, &s.players};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker block(lists_[i]);
        lists_[i]->clear();
        for (const std::string& text : *columns[i])
            lists_[i]->addItem(toQt(text));
    }
}

void Form2::selectRow(int row) {
    for (QListWidget* list : lists_) {
        const QSignalBlocker block(list);
        list->setCurrentRow(row);
    }
    const auto& objects = viewer_.viewer().model().visibleObjects();
    if (row < 0 || std::size_t(row) >= objects.size())
        return;
    const mapview::MapObject& o = objects[std::size_t(row)];
    viewer_.setStatusText(o.name);
    viewer_.markTile(std::pair(o.x, o.y));
}

void Form2::CheckForBugs_LoadedMap() {
    check_->setEnabled(false);
    mapview::MapCheckHooks hooks;
    hooks.status = [this](const std::string& text) { viewer_.setStatusText(text); };
    viewer_.viewer().check(hooks);
    check_->setEnabled(true);
    fill(); // repairs may have moved objects or changed the size
}

void Form2::hideEvent(QHideEvent* event) {
    viewer_.markTile(std::nullopt);
    QDialog::hideEvent(event);
}

} // namespace kv::ui
