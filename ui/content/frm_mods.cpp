#include "ui/content/frm_mods.h"

#include "common/ui_port.h"
#include "content/catalogue_scan.h"
#include "content/create_ai.h"
#include "launcher/content_wiring.h"
#include "content/manager_actions.h"
#include "content/mod_activation.h"
#include "content/mod_archive.h"
#include "launcher/launcher.h"
#include "launcher/links_file.h"
#include "ui/content/mod_extraction.h"
#include "ui/content/progress_dialog.h"
#include "ui/qt_text.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

QString yesNo(bool value) {
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

QPushButton* button(QWidget* parent, const char* text, const char* name) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel* detail(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText); // description files are foreign text
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLabel* link(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::RichText);
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    return l;
}

QPlainTextEdit* textBox(QWidget* parent, const char* name) {
    auto* t = new QPlainTextEdit(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setReadOnly(true);
    return t;
}

QTreeWidget* reportList(QWidget* parent, const char* name, const QStringList& columns) {
    auto* t = new QTreeWidget(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHeaderLabels(columns);
    t->setRootIsDecorated(false);
    t->header()->setStretchLastSection(false);
    t->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    return t;
}

// Shows a link only when its address is known.
void showLink(QLabel* label, const QString& text, const std::string& address,
              const std::string& author) {
    label->setVisible(!address.empty());
    label->setText(address.empty() ? QString() : QStringLiteral("<a href=\"x\">%1</a>").arg(text));
    label->setProperty("address", toQt(address));
    label->setProperty("author", toQt(author));
}

} // namespace

FrmMODs::FrmMODs(Launcher& launcher, QWidget* parent) : QDialog(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("FrmMODs"));
    setWindowTitle(QStringLiteral("MODs and AI manager"));
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("TabManager"));
    tabs->addTab(createAiSection(), QStringLiteral("AIs"));
    tabs->addTab(createRulesSection(), QStringLiteral("Rules"));
    tabs->addTab(createModsSection(), QStringLiteral("MODs (KDG files)"));
    layout->addWidget(tabs, 1);
    auto* close = button(this, "Close", "CmdClose");
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(720, 480);
    reload();
}

QWidget* FrmMODs::createAiSection() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    ais_ = reportList(page, "ListAI", {"AI", "Has INI", "Needs KDG(s)", "Customizing"});
    layout->addWidget(ais_, 1);
    auto* right = new QVBoxLayout;
    auto* form = new QFormLayout;
    aiAuthor_ = detail(page, "LblAuthor");
    aiMaxInstances_ = detail(page, "LblMaxInstances");
    aiConfiguration_ = detail(page, "LblConfiguration");
    aiCustomizing_ = detail(page, "LblCustomizing");
    aiRequired_ = new QListWidget(page);
    aiRequired_->setObjectName(QStringLiteral("LstRequiredKDGs"));
    aiDescription_ = textBox(page, "TxtDescription");
    form->addRow(QStringLiteral("Author:"), aiAuthor_);
    form->addRow(QStringLiteral("Max Instances:"), aiMaxInstances_);
    form->addRow(QStringLiteral("Configuration:"), aiConfiguration_);
    form->addRow(QStringLiteral("Customizing:"), aiCustomizing_);
    form->addRow(QStringLiteral("Required KDGs:"), aiRequired_);
    form->addRow(QStringLiteral("Description:"), aiDescription_);
    right->addLayout(form);
    aiEmail_ = link(page, "LblEmail");
    aiHomepage_ = link(page, "LblHomepage");
    right->addWidget(aiEmail_);
    right->addWidget(aiHomepage_);
    auto* buttons = new QHBoxLayout;
    auto* refresh = button(page, "Refresh", "CmdRefreshAI");
    auto* add = button(page, "Add AI...", "CmdAddAI");
    add->setToolTip(QStringLiteral("Make AI from slo and vlo files"));
    deleteAi_ = button(page, "Delete", "CmdDeleteAI");
    deleteAiConfig_ = button(page, "Delete configuration", "CmdDeleteAIConfig");
    for (QPushButton* b : {refresh, add, deleteAi_, deleteAiConfig_})
        buttons->addWidget(b);
    right->addLayout(buttons);
    layout->addLayout(right, 1);

    connect(ais_, &QTreeWidget::currentItemChanged, this, &FrmMODs::showAi);
    connect(refresh, &QPushButton::clicked, this, [this] {
        // A list a command file froze holds what the file loaded: a rescan would lose it.
        if (!launcher_.automation.aiFrozen)
            content::CustomAIList_fill(launcher_.content, kv::contentEnv(launcher_));
        changed();
    });
    connect(add, &QPushButton::clicked, this, [this] {
        if (content::createAiFile(launcher_.content, kv::contentEnv(launcher_)))
            changed();
    });
    connect(deleteAi_, &QPushButton::clicked, this, [this] {
        const QString name = selectedAi();
        if (!name.isEmpty() &&
            content::managerDeleteAi(launcher_.content, kv::contentEnv(launcher_),
                                     fromQt(name), launcher_.automation.aiFrozen))
            changed();
    });
    connect(deleteAiConfig_, &QPushButton::clicked, this, [this] {
        const QString name = selectedAi();
        if (!name.isEmpty() && content::managerDeleteAiDescription(
                                   launcher_.content, kv::contentEnv(launcher_), fromQt(name)))
            changed();
    });
    for (QLabel* l : {aiEmail_, aiHomepage_})
        connect(l, &QLabel::linkActivated, this, [this, l] {
            const std::string address = fromQt(l->property("address").toString());
            if (l == aiEmail_)
                writeToAddress(launcher_, address);
            else
                followAuthorHomepage(launcher_, fromQt(l->property("author").toString()), address);
        });
    return page;
}

QWidget* FrmMODs::createRulesSection() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    rules_ = new QListWidget(page);
    rules_->setObjectName(QStringLiteral("LstRules"));
    layout->addWidget(rules_, 1);
    auto* right = new QVBoxLayout;
    rulesDescription_ = textBox(page, "TxtDescriptionRules");
    right->addWidget(rulesDescription_, 1);
    deleteRules_ = button(page, "Delete", "CmdDeleteRules");
    right->addWidget(deleteRules_);
    layout->addLayout(right, 1);
    connect(rules_, &QListWidget::currentRowChanged, this, &FrmMODs::showRules);
    connect(deleteRules_, &QPushButton::clicked, this, [this] {
        if (QListWidgetItem* item = rules_->currentItem())
            if (content::managerDeleteRules(launcher_.content, kv::contentEnv(launcher_),
                                            fromQt(item->text())))
                changed();
    });
    return page;
}

QWidget* FrmMODs::createModsSection() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    mods_ = reportList(page, "ListMODs", {"KDG file", "Has INI", "Needs KDG(s)"});
    layout->addWidget(mods_, 1);
    auto* right = new QVBoxLayout;
    auto* form = new QFormLayout;
    modAuthor_ = detail(page, "LblModAuthor");
    modConfiguration_ = detail(page, "LblModConfiguration");
    modDescription_ = textBox(page, "TxtModDescription");
    modKeyLines_ = textBox(page, "TxtModKeyLines");
    form->addRow(QStringLiteral("Author:"), modAuthor_);
    form->addRow(QStringLiteral("Configuration:"), modConfiguration_);
    form->addRow(QStringLiteral("Keys:"), modKeyLines_);
    form->addRow(QStringLiteral("Description:"), modDescription_);
    right->addLayout(form);
    modEmail_ = link(page, "LblModEmail");
    modHomepage_ = link(page, "LblModHomepage");
    right->addWidget(modEmail_);
    right->addWidget(modHomepage_);
    auto* buttons = new QHBoxLayout;
    auto* refresh = button(page, "Refresh", "CmdRefreshMODs");
    deleteMod_ = button(page, "Delete", "CmdDeleteMOD");
    deleteModConfig_ = button(page, "Delete configuration", "CmdDeleteMODConfig");
    extractMod_ = button(page, "Extract...", "CmdExtractMOD");
    for (QPushButton* b : {refresh, deleteMod_, deleteModConfig_, extractMod_})
        buttons->addWidget(b);
    right->addLayout(buttons);
    layout->addLayout(right, 1);

    const auto row = [this] { return selectedModEntry(); };
    connect(mods_, &QTreeWidget::currentItemChanged, this, &FrmMODs::showMod);
    connect(refresh, &QPushButton::clicked, this, [this] {
        content::refreshModList(launcher_.content, kv::contentEnv(launcher_));
        changed();
    });
    connect(deleteMod_, &QPushButton::clicked, this, [this, row] {
        if (row() >= 0 &&
            content::managerDeleteMod(launcher_.content, kv::contentEnv(launcher_),
                                      std::size_t(row())))
            changed();
    });
    connect(deleteModConfig_, &QPushButton::clicked, this, [this, row] {
        if (row() >= 0 &&
            content::managerDeleteModDescription(launcher_.content, kv::contentEnv(launcher_),
                                                 std::size_t(row())))
            changed();
    });
    connect(extractMod_, &QPushButton::clicked, this, [this, row] {
        if (row() < 0)
            return;
        content::selectMod(launcher_.content, kv::contentEnv(launcher_), row());
        extractSelectedModWithReport(
            this, launcher_.content, kv::contentEnv(launcher_),
            [this](const std::string& folder) { return launcher_.openInShell(folder); });
    });
    for (QLabel* l : {modEmail_, modHomepage_})
        connect(l, &QLabel::linkActivated, this, [this, l] {
            const std::string address = fromQt(l->property("address").toString());
            if (l == modEmail_)
                writeToAddress(launcher_, address);
            else
                followAuthorHomepage(launcher_, fromQt(l->property("author").toString()), address);
        });
    return page;
}

void FrmMODs::reload() {
    const QString ai = selectedAi();
    ais_->clear();
    for (const content::AiRecord& r : launcher_.content.ais.records) {
        auto* item = new QTreeWidgetItem(ais_, {toQt(r.name), yesNo(r.info.loaded),
                                                yesNo(!r.info.requiredKdgs.empty()),
                                                yesNo(r.hasScriptCustomizing)});
        if (item->text(0) == ai)
            ais_->setCurrentItem(item);
    }
    rules_->clear();
    for (const content::RulesRecord& r : launcher_.content.rules.records)
        rules_->addItem(toQt(r.name));
    mods_->clear();
    // One row per archive, a file named only ".kdg" included; each row carries the index
    // of its entry, which every action acts on.
    const auto& entries = launcher_.content.mods.entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* item = new QTreeWidgetItem(
            mods_, {toQt(entries[i].name), yesNo(entries[i].descriptionLoaded), QString()});
        item->setData(0, Qt::UserRole, qulonglong(i));
        item->setData(0, Qt::UserRole + 1, toQt(entries[i].fileName));
    }
    showAi();
    showRules();
    showMod();
}

QString FrmMODs::selectedAi() const {
    const QTreeWidgetItem* item = ais_ ? ais_->currentItem() : nullptr;
    return item ? item->text(0) : QString();
}

void FrmMODs::showAi() {
    const content::AiRecord* r = launcher_.content.ais.find(fromQt(selectedAi()));
    const content::Description info = r ? r->info : content::Description{};
    aiAuthor_->setText(info.authorName.empty() ? QStringLiteral("Unknown") : toQt(info.authorName));
    aiMaxInstances_->setText(info.maxInstances == 0 ? QStringLiteral("Unknown")
                                                    : QString::number(info.maxInstances));
    aiConfiguration_->setText(yesNo(info.loaded));
    deleteAiConfig_->setEnabled(info.loaded);
    deleteAi_->setEnabled(r != nullptr);
    aiCustomizing_->setText(r && r->hasScriptCustomizing
                                ? QStringLiteral("Values: ") +
                                      QString::number(r->customizing.fields.size())
                                : QStringLiteral("N/A"));
    aiRequired_->clear();
    for (const std::string& kdg : info.requiredKdgs)
        aiRequired_->addItem(toQt(kdg));
    aiDescription_->setPlainText(toQt(info.description));
    showLink(aiEmail_, QStringLiteral("E-mail"), info.authorEmail, info.authorName);
    showLink(aiHomepage_, QStringLiteral("Homepage"), info.authorHomepage, info.authorName);
}

void FrmMODs::showRules() {
    const QListWidgetItem* item = rules_->currentItem();
    const content::RulesRecord* r =
        item ? launcher_.content.rules.find(fromQt(item->text())) : nullptr;
    rulesDescription_->setPlainText(r ? toQt(r->info.description) : QString());
    deleteRules_->setEnabled(r != nullptr);
}

int FrmMODs::selectedModEntry() const {
    const QTreeWidgetItem* item = mods_->currentItem();
    if (!item)
        return -1;
    // The list may have been rescanned under the window: the row's file decides.
    const auto& entries = launcher_.content.mods.entries;
    const std::string fileName = fromQt(item->data(0, Qt::UserRole + 1).toString());
    const qulonglong index = item->data(0, Qt::UserRole).toULongLong();
    if (index < entries.size() && entries[index].fileName == fileName)
        return int(index);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].fileName == fileName)
            return int(i);
    return -1;
}

void FrmMODs::showMod() {
    const int row = selectedModEntry();
    const auto& entries = launcher_.content.mods.entries;
    const content::ModEntry* e =
        row >= 0 && std::size_t(row) < entries.size() ? &entries[std::size_t(row)] : nullptr;
    modAuthor_->setText(e && !e->authorName.empty() ? toQt(e->authorName)
                                                    : QStringLiteral("Unknown"));
    modConfiguration_->setText(yesNo(e && e->descriptionLoaded));
    deleteModConfig_->setEnabled(e && e->descriptionLoaded);
    deleteMod_->setEnabled(e != nullptr);
    extractMod_->setEnabled(e != nullptr);
    modDescription_->setPlainText(e ? toQt(e->description) : QString());
    QStringList keys;
    if (e)
        for (const std::string& line : e->keyLines)
            keys << toQt(line);
    modKeyLines_->setPlainText(keys.join(QLatin1Char('\n')));
    const std::string author = e ? e->authorName : std::string();
    showLink(modEmail_, QStringLiteral("E-mail"), e ? e->authorEmail : std::string(), author);
    showLink(modHomepage_, QStringLiteral("Homepage"), e ? e->authorHomepage : std::string(),
             author);
}

void FrmMODs::changed() {
    kv::reapplySelections(launcher_, false);
    launcher_.view().refresh();
    reload();
}

} // namespace kv::ui
