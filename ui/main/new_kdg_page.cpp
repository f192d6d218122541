#include "ui/main/new_kdg_page.h"

#include "common/ui_port.h"
#include "launcher/launcher.h"
#include "kdg/project_creation.h"
#include "kdg/project_files.h"
#include "platform/files.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

std::optional<std::vector<int>> pickSeveral(QWidget* parent, const std::string& prompt,
                                            const std::vector<std::string>& choices) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("FrmAspects"));
    dialog.setWindowTitle(QStringLiteral("New KDG"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(toQt(prompt), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("LstAspects"));
    for (const std::string& choice : choices) {
        auto* item = new QListWidgetItem(toQt(choice), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<int> chosen;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            chosen.push_back(i);
    return chosen;
}

NewKdgPage::NewKdgPage(Launcher& launcher, QWidget* parent) : QWidget(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("NewKDG"));
    auto* layout = new QGridLayout(this);
    const auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    create_ = button("Create project folder...", "CmdCreateProject");
    add_ = button("Add file...", "CmdAddFile");
    remove_ = button("Remove file", "CmdRemoveFile");
    open_ = button("Open project folder", "CmdOpenProject");
    layout->addWidget(create_, 0, 0);
    layout->addWidget(open_, 0, 1);
    layout->addWidget(add_, 1, 0);
    layout->addWidget(remove_, 1, 1);

    layout->addWidget(new QLabel(QStringLiteral("Project files:"), this), 2, 0, 1, 2);
    files_ = new QListWidget(this);
    files_->setObjectName(QStringLiteral("LstProjectFiles"));
    layout->addWidget(files_, 3, 0, 1, 2);
    addonLev_ = new QLabel(this);
    addonLev_->setObjectName(QStringLiteral("LblAddonLev"));
    gamedescLev_ = new QLabel(this);
    gamedescLev_->setObjectName(QStringLiteral("LblGamedescLev"));
    layout->addWidget(addonLev_, 4, 0);
    layout->addWidget(gamedescLev_, 4, 1);
    layout->addWidget(new QLabel(QStringLiteral("Resource lists:"), this), 5, 0, 1, 2);
    krfs_ = new QListWidget(this);
    krfs_->setObjectName(QStringLiteral("LstKRFs"));
    layout->addWidget(krfs_, 6, 0, 1, 2);
    layout->setRowStretch(3, 1);

    connect(create_, &QPushButton::clicked, this, &NewKdgPage::createProject);
    connect(add_, &QPushButton::clicked, this, &NewKdgPage::addFile);
    connect(remove_, &QPushButton::clicked, this, &NewKdgPage::removeFile);
    connect(open_, &QPushButton::clicked, this, &NewKdgPage::openProject);
    connect(files_, &QListWidget::itemDoubleClicked, this, &NewKdgPage::openFile);
    connect(krfs_, &QListWidget::itemDoubleClicked, this, &NewKdgPage::openResourceList);
    reloadResourceLists();
    showProject();
}

void NewKdgPage::reloadResourceLists() {
    krfs_->clear();
    for (const platform::DirEntry& e :
         platform::listDirectory(launcher_.paths.underLauncher("Mods\\KRFs"), "*"))
        if (!e.isFolder)
            krfs_->addItem(toQt(e.name));
    krfs_->sortItems();
}

void NewKdgPage::showProject() {
    const bool set = project_.isSet();
    add_->setEnabled(set);
    remove_->setEnabled(set);
    files_->clear();
    for (const kdg::ProjectFile& f : project_.files)
        files_->addItem(toQt(f.subFolder.empty() ? f.name : f.subFolder + "\\" + f.name));
    addonLev_->setText(QStringLiteral("addon.lev: ") + toQt(project_.addonLev));
    gamedescLev_->setText(QStringLiteral("gamedesc.lev: ") + toQt(project_.gamedescLev));
}

void NewKdgPage::createProject() {
    const auto picker = [this](const std::string& prompt, const std::vector<std::string>& items) {
        return pickSeveral(window(), prompt, items);
    };
    bool complete = false;
    if (!kdg::CreateKdgProject(project_, launcher_.paths.launcherFolder, launcher_.ui(), picker,
                               &complete))
        return;
    // A project that could not be prepared whole is shown, but not opened for work.
    if (complete) {
        launcher_.ui().pumpEvents();
        launcher_.openInShell(project_.folder);
        launcher_.view().minimise();
    }
    create_->setToolTip(toQt(project_.folder));
    showProject();
}

void NewKdgPage::addFile() {
    kdg::AddFileDialog(project_, launcher_.paths.launcherFolder, launcher_.ui());
    showProject();
}

void NewKdgPage::removeFile() {
    const int row = files_->currentRow();
    if (row < 0 || !files_->currentItem() || !files_->currentItem()->isSelected()) {
        QApplication::beep();
        return;
    }
    kdg::removeProjectFile(project_, std::size_t(row), launcher_.ui());
    showProject();
}

void NewKdgPage::openProject() {
    if (!project_.isSet()) {
        create_->setToolTip(QStringLiteral("No directory"));
        launcher_.ui().message("Error", Icon::Exclamation);
        return;
    }
    launcher_.openInShell(project_.folder);
}

void NewKdgPage::openFile() {
    const int row = files_->currentRow();
    if (row < 0 || std::size_t(row) >= project_.files.size())
        return;
    const kdg::ProjectFile& file = project_.files[std::size_t(row)];
    if (launcher_.ui().message("Open '" + file.name + "' in the default editor?", Icon::Question,
                               Buttons::YesNo) == Answer::Yes)
        launcher_.openInShell(platform::resolvePath(project_.pathOf(file)));
}

void NewKdgPage::openResourceList() {
    if (QListWidgetItem* item = krfs_->currentItem())
        launcher_.openInShell(platform::resolvePath(
            launcher_.paths.underLauncher("Mods\\KRFs\\" + fromQt(item->text()))));
}

} // namespace kv::ui
