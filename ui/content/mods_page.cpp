#include "ui/content/mods_page.h"

#include "content/mod_activation.h"
#include "content/mod_archive.h"
#include "ui/content/archive_file_list_view.h"
#include "ui/content/mod_archive_view.h"
#include "ui/content/mod_conflicts_view.h"
#include "ui/content/mod_extraction.h"
#include "ui/content/progress_dialog.h"
#include "ui/first_paint.h"
#include "ui/kdg/archive_info_panel.h"
#include "ui/qt_text.h"

#include <QAction>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace kv::ui {

namespace {

QAction* addEntry(QMenu* menu, const char* text, const char* objectName, bool enabled) {
    QAction* a = menu->addAction(QString::fromLatin1(text));
    a->setObjectName(QString::fromLatin1(objectName));
    a->setEnabled(enabled);
    return a;
}

} // namespace

ModsPage::ModsPage(content::ContentState& state, ContentEnvSource env, QWidget* parent)
    : QWidget(parent), state_(state), env_(std::move(env)) {
    setObjectName(QStringLiteral("MODs"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    delete_ = new QPushButton(toQt(state_.mods.deleteCaption), this);
    delete_->setObjectName(QStringLiteral("CmdDeleteKDG"));
    delete_->setEnabled(state_.mods.deleteEnabled);

    // Entries whose features are not here yet are shown, but disabled.
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("MnuKDG"));
    panelEntries_[0] = addEntry(menu_, "Show Description", "KDG_Show_Desc", true);
    panelEntries_[1] = addEntry(menu_, "Show KDG Info", "KDG_Show_Info", true);
    panelEntries_[2] = addEntry(menu_, "Show Map Info", "KDG_MAP_INFO", true);
    for (QAction* a : panelEntries_)
        a->setCheckable(true);
    addEntry(menu_, "Show Map Previews", "KDG_Show_Map_Previews", false);
    QAction* compat = addEntry(menu_, "Compatibility", "KDG_Compatibility", true);
    addEntry(menu_, "Apply Ini Config", "KDG_Apply_Ini", false);
    QAction* extractEntry = addEntry(menu_, "Extract to...", "KDG_EXTRACT", true);
    QAction* listEntry = addEntry(menu_, "Save List of Files...", "KDG_SaveListOfFiles", true);
    QAction* del = addEntry(menu_, "Delete", "KDG_Delete", true);
    addEntry(menu_, "Add Project Directory...", "KDG_Add_Project", false);

    modsMenu_ = new QMenu(QStringLiteral("MODs"), this);
    modsMenu_->setObjectName(QStringLiteral("MnuMODs"));
    QAction* disableAll = addEntry(modsMenu_, "Disable all MODs", "DisableAllMODs", true);
    QAction* disableUnsafe =
        addEntry(modsMenu_, "Disable unsafe MODs (Compatibility)", "DisableUnsafeMODs", true);
    auto* modsButton = new QToolButton(this);
    modsButton->setObjectName(QStringLiteral("TbMODs"));
    modsButton->setText(QStringLiteral("MODs"));
    modsButton->setPopupMode(QToolButton::InstantPopup);
    modsButton->setMenu(modsMenu_);

    archiveView_ = new ModArchiveView(env_().paths, this);

    conflicts_ = new ModConflictsView(this);

    auto* layout = new QVBoxLayout(this);
    auto* listAndConflicts = new QHBoxLayout;
    listAndConflicts->addWidget(list_, 1);
    listAndConflicts->addWidget(conflicts_, 1);
    layout->addLayout(listAndConflicts, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(modsButton);
    row->addStretch(1);
    row->addWidget(delete_);
    layout->addLayout(row);
    layout->addWidget(archiveView_, 1);
    archiveFiles_ = new ArchiveFileListView(this);
    layout->addWidget(archiveFiles_, 1);

    connect(list_, &QListWidget::itemChanged, this, &ModsPage::onItemChanged);
    connect(list_, &QListWidget::currentRowChanged, this, &ModsPage::onCurrentRowChanged);
    connect(list_, &QListWidget::customContextMenuRequested, this, &ModsPage::onContextMenu);
    connect(delete_, &QPushButton::clicked, this, &ModsPage::onDelete);
    connect(del, &QAction::triggered, this, &ModsPage::onDelete);
    connect(compat, &QAction::triggered, this,
            [this] { content::showCompatibilityNote(env_().ui); });
    connect(panelEntries_[0], &QAction::triggered, this,
            [this] { showLowerPanel("ModDescription"); });
    connect(panelEntries_[1], &QAction::triggered, this,
            [this] { showLowerPanel("ModCompilationInfo"); });
    connect(panelEntries_[2], &QAction::triggered, this, [this] { showLowerPanel("MapInfo"); });
    connect(extractEntry, &QAction::triggered, this, &ModsPage::extract);
    // After the extraction, which refills the list once it has read the archive.
    connect(extractEntry, &QAction::triggered, this,
            [this] { archiveFiles_->showItems(state_.archiveFiles); });
    connect(listEntry, &QAction::triggered, this,
            [this] { content::saveSelectedModFileList(state_, env_()); });
    showLowerPanel("");
    connect(disableAll, &QAction::triggered, this, [this] {
        content::DisableAllMODs(state_, env_());
        reload();
    });
    connect(disableUnsafe, &QAction::triggered, this, [this] {
        const content::ContentEnv env = env_();
        if (tables_) {
            content::DisableUnsafeMODs(state_, env, *tables_);
        } else {
            const kdg::NameTables tables = kdg::LoadNameTables(env.paths.launcherFolder);
            content::DisableUnsafeMODs(state_, env, tables);
        }
        reload();
    });
}

void ModsPage::setShellOpener(std::function<bool(const std::string&)> opener) {
    opener_ = std::move(opener);
    archiveView_->archivePanel()->setOpener([this](const QString& file) { opener_(fromQt(file)); });
}

void ModsPage::showSelection() {
    const content::ContentEnv env = env_();
    if (state_.mods.selectedEntry())
        content::loadSelectedModArchive(state_, env);
    archiveView_->showEntry(state_.mods.selectedEntry());
    archiveView_->showPreview(
        content::selectedModMapPreview(state_, env, previewFlag_ ? *previewFlag_ : true));
}

void ModsPage::showLowerPanel(const char* which) {
    content::ShowLowerPanel(state_, which);
    for (int i = 0; i < 3; ++i)
        panelEntries_[i]->setChecked(i == int(state_.lowerPanel));
    archiveView_->showPanel(state_.lowerPanel);
}

void ModsPage::extract() {
    extractSelectedModWithReport(this, state_, env_(), opener_);
}

void ModsPage::refresh() {
    content::refreshModList(state_, env_());
    listRebuilt_ = true;
    reload();
}

void ModsPage::reload() {
    showing_ = true;
    list_->clear();
    for (const auto& e : state_.mods.entries) {
        auto* item = new QListWidgetItem(toQt(e.name), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(e.checked ? Qt::Checked : Qt::Unchecked);
    }
    list_->setCurrentRow(state_.mods.selected);
    list_->setEnabled(state_.mods.enabled);
    delete_->setText(toQt(state_.mods.deleteCaption));
    delete_->setEnabled(state_.mods.deleteEnabled);
    // What is known of the selection; its archive is read again on the next click.
    archiveView_->showEntry(state_.mods.selectedEntry());
    showing_ = false;
    if (isVisible())
        lookForConflicts();
    else
        conflictsWaiting_ = true;
}

void ModsPage::lookForConflicts() {
    conflictsWaiting_ = false;
    conflicts_->recompute(state_, env_(), tables_, std::exchange(listRebuilt_, false));
}

void ModsPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (conflictsWaiting_)
        afterFirstPaint(*window(), [this] {
            if (conflictsWaiting_)
                lookForConflicts();
        });
}

void ModsPage::onItemChanged(QListWidgetItem* item) {
    if (showing_)
        return;
    list_->setEnabled(false);
    content::setModChecked(state_, env_(), list_->row(item), item->checkState() == Qt::Checked);
    reload();
}

void ModsPage::onCurrentRowChanged(int row) {
    if (showing_)
        return;
    content::selectMod(state_, env_(), row);
    delete_->setText(toQt(state_.mods.deleteCaption));
    delete_->setEnabled(state_.mods.deleteEnabled);
    showSelection();
}

void ModsPage::onContextMenu(const QPoint& pos) {
    if (QListWidgetItem* item = list_->itemAt(pos))
        list_->setCurrentItem(item);
    menu_->popup(list_->viewport()->mapToGlobal(pos));
}

void ModsPage::onDelete() {
    content::deleteMod(state_, env_());
    reload();
}

} // namespace kv::ui
