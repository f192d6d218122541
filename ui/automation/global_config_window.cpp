#include "ui/automation/global_config_window.h"

#include "launcher/global_config.h"
#include "common/ui_port.h"
#include "launcher/launcher.h"
#include "ui/qt_text.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

FrmGlobalConfigLoad::FrmGlobalConfigLoad(Launcher& launcher, QWidget* parent)
    : QDialog(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("FrmGlobalConfigLoad"));
    setWindowTitle(QStringLiteral("Global configurations"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    description_ = new QPlainTextEdit(this);
    description_->setObjectName(QStringLiteral("TxtGlobalConfigDesc"));
    description_->setReadOnly(true);
    auto* load = new QPushButton(QStringLiteral("Load"), this);
    load->setObjectName(QStringLiteral("CmdLoad"));
    load->setDefault(true);
    auto* remove = new QPushButton(QStringLiteral("Delete"), this);
    remove->setObjectName(QStringLiteral("CmdDelete"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(load);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 2);
    layout->addWidget(description_, 1);
    layout->addLayout(buttons);

    connect(list_, &QListWidget::currentRowChanged, this, [this] { showDescription(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { LoadSelectedINI(); });
    connect(load, &QPushButton::clicked, this, [this] { LoadSelectedINI(); });
    connect(remove, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    GlobalConfigurations_Load();
}

void FrmGlobalConfigLoad::GlobalConfigurations_Load() {
    list_->clear();
    descriptions_.clear();
    for (const auto& entry : kv::GlobalConfigurations_Load(launcher_)) {
        list_->addItem(toQt(entry.name));
        descriptions_.push_back(entry.description);
    }
    // The first description shows, but nothing is chosen until the user picks: Enter on
    // an untouched list loads nothing.
    if (list_->count() > 0)
        list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    showDescription();
}

void FrmGlobalConfigLoad::showDescription() {
    const int row = list_->currentRow();
    description_->setPlainText(row >= 0 && size_t(row) < descriptions_.size()
                                   ? toQt(descriptions_[size_t(row)])
                                   : QString());
}

bool FrmGlobalConfigLoad::LoadSelectedINI() {
    const QListWidgetItem* item = chosenItem();
    if (!item)
        return false;
    const std::string fileName = fromQt(item->text()) + ".ini";
    if (!kv::applyGlobalConfiguration(launcher_, fileName)) {
        launcher_.ui().message(kv::failedToLoadMessage(launcher_, fileName),
                               Icon::Exclamation);
        GlobalConfigurations_Load();
        return false;
    }
    emit configurationApplied();
    accept();
    return true;
}

QListWidgetItem* FrmGlobalConfigLoad::chosenItem() const {
    QListWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

void FrmGlobalConfigLoad::deleteSelected() {
    const QListWidgetItem* item = chosenItem();
    if (!item)
        return;
    if (launcher_.ui().message("Are you sure?", Icon::Question, Buttons::YesNo, {},
                               Answer::No) != Answer::Yes)
        return;
    kv::deleteGlobalConfiguration(launcher_, fromQt(item->text()));
    GlobalConfigurations_Load();
}

} // namespace kv::ui
