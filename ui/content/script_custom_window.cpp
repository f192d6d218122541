#include "ui/content/script_custom_window.h"

#include "content/script_slots.h"
#include "ui/qt_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace kv::ui {

FrmScriptCustom::FrmScriptCustom(content::ContentState& state, ContentEnvSource env,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), env_(std::move(env)) {
    setObjectName(QStringLiteral("FrmScriptCustom"));
    setWindowTitle(QStringLiteral("Script customizing"));
    resize(620, 420);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListScripts"));
    list_->setMaximumWidth(200);
    rowArea_ = new QWidget(this);
    rowArea_->setObjectName(QStringLiteral("RowArea"));
    rowArea_->installEventFilter(this);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(QStringLiteral("ScrValues"));
    scroll_->setRange(0, 0);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CmdClose"));

    auto* body = new QHBoxLayout;
    body->addWidget(list_);
    body->addWidget(rowArea_, 1);
    body->addWidget(scroll_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    connect(list_, &QListWidget::currentRowChanged, this, [this] { showEntry(); });
    connect(scroll_, &QScrollBar::valueChanged, this, [this] { placeRows(); });
    // The picks stay in the slots; they reach the game at the next install.
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void FrmScriptCustom::open() {
    fillList();
    show();
    raise();
    activateWindow();
}

void FrmScriptCustom::reloadEntries() {
    const int previous = slot_;
    fillList();
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->data(Qt::UserRole).toInt() == previous)
            list_->setCurrentRow(i);
}

void FrmScriptCustom::fillList() {
    list_->blockSignals(true);
    list_->clear();
    for (const auto& [text, slot] : content::scriptEntries(state_)) {
        auto* item = new QListWidgetItem(toQt(text), list_);
        item->setData(Qt::UserRole, slot);
    }
    list_->setCurrentRow(-1);
    list_->blockSignals(false);
    slot_ = -1;
    clearRows();
}

void FrmScriptCustom::clearRows() {
    for (const Row& r : rows_) {
        delete r.description;
        delete r.values;
        delete r.info;
    }
    rows_.clear();
    scroll_->setRange(0, 0);
}

void FrmScriptCustom::showEntry() {
    clearRows();
    const QListWidgetItem* item = list_->currentItem();
    slot_ = item ? item->data(Qt::UserRole).toInt() : -1;
    content::ScriptSlot* slot = state_.scripts.slot(slot_);
    if (!slot)
        return;
    shownScript_ = slot->data.path;
    const auto& fields = slot->data.fields;
    rows_.reserve(fields.size());
    for (size_t k = 0; k < fields.size(); ++k) {
        const content::ScriptField& f = fields[k];
        const QString n = QString::number(k);
        Row row{new QLabel(rowArea_), new QComboBox(rowArea_), new QPushButton("?", rowArea_)};
        row.description->setObjectName("LblDesc" + n);
        row.values->setObjectName("CmbValue" + n);
        row.info->setObjectName("CmdInfo" + n);
        const bool blank = f.mainDescription.find_first_not_of(' ') == std::string::npos;
        row.description->setText(blank ? QStringLiteral("<Not set>") : toQt(f.mainDescription));
        row.description->setTextFormat(Qt::PlainText);
        for (const content::ScriptValue& v : f.values)
            row.values->addItem(toQt(v.description));
        row.values->setCurrentIndex(f.selectedValue() ? f.selected : -1);
        row.info->setToolTip(QStringLiteral("More information"));
        row.info->setVisible(!f.moreInfo.empty());
        connect(row.values, &QComboBox::activated, this, [this, k](int index) {
            // A configuration or a new choice may have put another script into the slot
            // since the rows were made: the window follows it instead of writing these
            // picks into that script.
            const content::ScriptSlot* now = state_.scripts.slot(slot_);
            if (!now || now->data.path != shownScript_) {
                QTimer::singleShot(0, this, [this] { reloadEntries(); });
                return;
            }
            if (content::storeScriptValue(state_, slot_, k, index, env_().ui))
                emit valueStored();
        });
        connect(row.info, &QPushButton::clicked, this, [this, k] { showMoreInfo(k); });
        rows_.push_back(row);
    }
    placeRows();
}

void FrmScriptCustom::placeRows() {
    const int h = kRowHeight;
    const int visible = std::max(1, rowArea_->height() / h - 1);
    scroll_->blockSignals(true);
    scroll_->setRange(0, std::max(0, int(rows_.size()) - visible));
    scroll_->setPageStep(visible);
    scroll_->blockSignals(false);
    const int s = scroll_->value();
    const int width = rowArea_->width();
    const int labelWidth = width * 2 / 5;
    const int infoWidth = 28;
    for (size_t k = 0; k < rows_.size(); ++k) {
        const int top = (int(k) - s) * h + h / 2;
        // Rows outside the area are hidden as well as clipped, so tab order skips them.
        const bool inside = top + h > 0 && top < rowArea_->height();
        const Row& r = rows_[k];
        r.description->setGeometry(4, top, labelWidth - 8, h - 4);
        r.values->setGeometry(labelWidth, top, width - labelWidth - infoWidth - 8, h - 4);
        r.info->setGeometry(width - infoWidth - 4, top, infoWidth, h - 4);
        r.description->setVisible(inside);
        r.values->setVisible(inside);
        const content::ScriptSlot* slot = state_.scripts.slot(slot_);
        r.info->setVisible(inside && slot && k < slot->data.fields.size() &&
                           !slot->data.fields[k].moreInfo.empty());
    }
}

void FrmScriptCustom::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeRows();
}

bool FrmScriptCustom::eventFilter(QObject* watched, QEvent* event) {
    if (watched == rowArea_ && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        scroll_->setValue(scroll_->value() - wheel->angleDelta().y() / 120);
        return true;
    }
    if (watched == rowArea_ && event->type() == QEvent::Resize)
        placeRows();
    return QWidget::eventFilter(watched, event);
}

void FrmScriptCustom::showMoreInfo(size_t field) {
    const content::ScriptSlot* slot = state_.scripts.slot(slot_);
    if (!slot || field >= slot->data.fields.size())
        return;
    if (!moreInfo_) {
        moreInfo_ = new QWidget(this, Qt::Window);
        moreInfo_->setObjectName(QStringLiteral("FrmMoreInfo"));
        moreInfo_->setWindowTitle(QStringLiteral("More information"));
        moreInfo_->resize(420, 240);
        moreInfoText_ = new QPlainTextEdit(moreInfo_);
        moreInfoText_->setObjectName(QStringLiteral("TxtMoreInfo"));
        moreInfoText_->setReadOnly(true);
        auto* close = new QPushButton(QStringLiteral("Close"), moreInfo_);
        connect(close, &QPushButton::clicked, moreInfo_, &QWidget::hide);
        auto* layout = new QVBoxLayout(moreInfo_);
        layout->addWidget(moreInfoText_);
        layout->addWidget(close, 0, Qt::AlignRight);
    }
    moreInfoText_->setPlainText(toQt(slot->data.fields[field].moreInfo)
                                    .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    moreInfo_->show();
    moreInfo_->raise();
}

} // namespace kv::ui
