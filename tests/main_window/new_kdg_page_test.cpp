// The "New KDG" page through the real dialogs: a project is created with its aspects,
// filled, and its level file comes and goes from the batch file.
#include "kdg/project_builder.h"
#include "tests/main_window/demo_window.h"
#include "tests/main_window/dialog_driver.h"
#include "ui/main/new_kdg_page.h"

#include <QDialogButtonBox>
#include <QInputDialog>
#include <QListWidget>
#include <QPushButton>

#include <filesystem>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

// The input dialog that asks `label`, answered with `item`.
DialogDriver::Step choose(const char* label, const char* item) {
    return [label, item](QWidget* modal) {
        auto* d = qobject_cast<QInputDialog*>(modal);
        if (!d || d->labelText() != QLatin1String(label))
            return false;
        d->setTextValue(QString::fromLatin1(item));
        d->accept();
        return true;
    };
}

// The file dialog titled `title`, answered with `path` typed into its name field: the
// folder dialog of a new project takes a name that does not exist yet.
DialogDriver::Step file(const char* title, std::string path) {
    return [title, path = std::move(path)](QWidget* modal) {
        auto* d = qobject_cast<QFileDialog*>(modal);
        if (!d || d->windowTitle() != QLatin1String(title))
            return false;
        auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        EXPECT_NE(name, nullptr);
        if (name)
            name->setText(QString::fromStdString(path));
        QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
        return true;
    };
}

// The aspects of a new project: seven offered, `rows` ticked.
DialogDriver::Step aspects(std::vector<int> rows) {
    return [rows](QWidget* modal) {
        if (modal->objectName() != QStringLiteral("FrmAspects"))
            return false;
        auto* list = modal->findChild<QListWidget*>(QStringLiteral("LstAspects"));
        EXPECT_EQ(list->count(), 7);
        for (int row : rows)
            list->item(row)->setCheckState(Qt::Checked);
        modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        return true;
    };
}

TEST(NewKdgPage, ProjectIsCreatedFilledAndItsBatchFileFollowsTheLevelFiles) {
    BasicDemoWindow<ui::QtUi> w;
    w.start();
    TempFolder& tmp = w.tmp;
    auto* page = w.find<ui::NewKdgPage>("NewKDG");
    ASSERT_NE(page, nullptr);
    auto* krfs = page->findChild<QListWidget*>(QStringLiteral("LstKRFs"));
    EXPECT_EQ(krfs->count(), 16);

    // Without a project the open button says so.
    DialogDriver driver;
    driver.then("no project", pressEnterOn("Error"));
    const std::string project = tmp / "My Mod";
    driver.then("how",
                choose("Create directory with or without any files?", "Create directory stucture"));
    driver.then("where", file("Enter name of new directory", project));
    driver.then("aspects", aspects({1, 2}));
    driver.then("pie", file("Add file to KDG", tmp.write("gun.pie", "PIE")));
    driver.then("type", choose("Please choose the type of the pie file", "Weapon"));
    driver.then("lev", file("Add file to KDG", tmp.write("addon.lev", "LEV")));
    driver.then("added", pressEnterOn("'addon.lev' added to the commandline"));
    driver.then("removed", pressEnterOn("Commandline was updated"));

    page->findChild<QPushButton*>(QStringLiteral("CmdOpenProject"))->click();
    EXPECT_EQ(page->findChild<QPushButton*>(QStringLiteral("CmdCreateProject"))->toolTip(),
              "No directory");
    page->findChild<QPushButton*>(QStringLiteral("CmdCreateProject"))->click();
    EXPECT_EQ(page->project().folder, project) << ::testing::PrintToString(driver.log);
    EXPECT_EQ(w.opened, std::vector<std::string>{project});
    EXPECT_TRUE(fs::exists(project + "/krf/Stats.krf"));
    EXPECT_FALSE(fs::exists(project + "/krf/multiRes.krf"));
    EXPECT_TRUE(fs::exists(project + "/MakeKDG.exe"));

    page->findChild<QPushButton*>(QStringLiteral("CmdAddFile"))->click();
    EXPECT_EQ(tmp.read("My Mod/components/weapons/gun.pie"), "PIE");
    EXPECT_TRUE(fs::exists(project + "/krf/PieStats.krf"));
    page->findChild<QPushButton*>(QStringLiteral("CmdAddFile"))->click();
    EXPECT_NE(tmp.read("My Mod/Create KDG file now!.bat").find("korvane  -a addon.lev -w"),
              std::string::npos);

    auto* files = page->findChild<QListWidget*>(QStringLiteral("LstProjectFiles"));
    ASSERT_EQ(files->count(), 2);
    files->setCurrentRow(1);
    page->findChild<QPushButton*>(QStringLiteral("CmdRemoveFile"))->click();
    EXPECT_EQ(tmp.read("My Mod/Create KDG file now!.bat"),
              kdg::MakeKDGCommandLine(page->project()) + "\r\n");
    EXPECT_EQ(files->count(), 1);
    EXPECT_FALSE(fs::exists(project + "/addon.lev"));

    EXPECT_TRUE(driver.done()) << ::testing::PrintToString(driver.log);
}

} // namespace
} // namespace kv::test
