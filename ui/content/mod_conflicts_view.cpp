#include "ui/content/mod_conflicts_view.h"

#include "ui/qt_text.h"

#include <QHeaderView>
#include <QLabel>
#include <QStringList>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

QString alsoIn(const content::SharedEntry& entry) {
    QStringList holders;
    for (const std::string& mod : entry.mods)
        holders << toQt(mod);
    for (const std::string& original : entry.originals)
        holders << toQt(original) + QStringLiteral(" (original)");
    return holders.join(QStringLiteral(", "));
}

} // namespace

ModConflictsView::ModConflictsView(QWidget* parent)
    : QGroupBox(QStringLiteral("Conflicts"), parent),
      latest_(std::make_shared<std::atomic<std::uint64_t>>(0)) {
    setObjectName(QStringLiteral("Conflicts"));
    pool_.setMaxThreadCount(1);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("TreeConflicts"));
    tree_->setHeaderLabels({QStringLiteral("MOD / entry"), QStringLiteral("Also in")});
    // "Also in" is what the view is for: long entry names are shortened in the middle
    // rather than pushing it out of sight.
    tree_->header()->setSectionResizeMode(QHeaderView::Stretch);
    tree_->setTextElideMode(Qt::ElideMiddle);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("LblConflicts"));
    // Neither the texts nor the tree may widen the main window.
    status_->setWordWrap(true);
    tree_->setMinimumWidth(0);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addWidget(status_);
}

ModConflictsView::~ModConflictsView() {
    // The worker posts to this object: it must be done before the object goes.
    latest_->store(UINT64_MAX);
    pool_.waitForDone();
}

void ModConflictsView::recompute(const content::ContentState& state, const content::ContentEnv& env,
                                 const kdg::NameTables* tables, bool force) {
    std::string fingerprint = env.gameFolder;
    for (const content::ModEntry& e : state.mods.entries)
        fingerprint += (e.checked ? "\n+" : "\n-") + e.name;
    if (!force && fingerprint == fingerprint_)
        return;
    fingerprint_ = std::move(fingerprint);
    if (!tables) {
        tables_ =
            std::make_shared<const kdg::NameTables>(kdg::LoadNameTables(env.paths.launcherFolder));
        tablesSource_ = nullptr;
    } else if (!tables_ || tables != tablesSource_ ||
               tables_->files().size() != tables->files().size() ||
               tables_->types().size() != tables->types().size()) {
        // Filled once during start-up and never changed after: one copy serves every look
        // once they are there.
        tables_ = std::make_shared<const kdg::NameTables>(*tables);
        tablesSource_ = tables;
    }
    start(env.gameFolder, state.originals, tables_);
}

void ModConflictsView::start(std::string gameFolder, content::OriginalKdgs originals,
                             std::shared_ptr<const kdg::NameTables> tables) {
    const std::uint64_t generation = ++requested_;
    latest_->store(generation);
    status_->setText(QStringLiteral("Looking for shared entries..."));
    if (gameFolder.empty()) {
        showReport(generation, {});
        return;
    }
    pool_.start([this, generation, latest = latest_, gameFolder = std::move(gameFolder),
                 originals = std::move(originals), tables = std::move(tables)] {
        auto report = std::make_shared<content::ConflictReport>(content::findModConflicts(
            gameFolder, originals, *tables, [&] { return latest->load() != generation; }));
        if (report->stopped)
            return;
        QMetaObject::invokeMethod(
            this, [this, generation, report] { showReport(generation, *report); },
            Qt::QueuedConnection);
    });
}

void ModConflictsView::showReport(std::uint64_t generation, const content::ConflictReport& report) {
    if (generation != requested_)
        return; // overtaken by a newer request
    shown_ = generation;
    tree_->clear();
    int sharing = 0;
    for (const content::ModConflicts& mod : report.mods) {
        auto* modItem = new QTreeWidgetItem(tree_, {toQt(mod.mod)});
        if (mod.entries.empty())
            continue;
        ++sharing;
        modItem->setText(1, QStringLiteral("%1 shared").arg(mod.entries.size()));
        for (const content::SharedEntry& entry : mod.entries) {
            auto* item = new QTreeWidgetItem(modItem, {toQt(entry.name), alsoIn(entry)});
            item->setToolTip(0, item->text(0));
            item->setToolTip(1, item->text(1));
        }
    }
    tree_->expandAll();
    for (const content::DamagedArchive& d : report.damaged)
        new QTreeWidgetItem(
            tree_, {toQt(d.fileName), QStringLiteral("cannot be read: ") + toQt(d.reason)});
    status_->setText(sharing == 0 ? QStringLiteral("No active MOD shares an entry.")
                                  : QStringLiteral("%1 of %2 active MODs share entries.")
                                        .arg(sharing)
                                        .arg(report.mods.size()));
    emit updated();
}

} // namespace kv::ui
