// The "New KDG" page through the real dialogs: a project is created with its aspects,
// filled, and its level file comes and goes from the batch file.
#include "launcher/launcher.h"
#include "launcher/startup.h"
#include "kdg/project_builder.h"
#include "platform/files.h"
#include "tests/main_window/demo_window.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_world.h"
#include "ui/main/main_window.h"
#include "ui/main/new_kdg_page.h"
#include "ui/qt_ui.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>

namespace kv::test {
namespace {

namespace fs = std::filesystem;

// Answers the modal dialogs as they come up, one step each, and notes what they showed.
class DialogDriver {
public:
    using Step = std::function<void(QWidget* dialog)>;
    void then(Step step) { steps_.push_back(std::move(step)); }
    void start() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            // A mark on the dialog itself: a new dialog may reuse a closed one's address.
            if (!modal || steps_.empty() || modal->property("kvAnswered").toBool())
                return;
            modal->setProperty("kvAnswered", true);
            Step step = std::move(steps_.front());
            steps_.pop_front();
            step(modal);
        });
        timer_.start();
    }
    bool done() const { return steps_.empty(); }
    std::vector<std::string> seen;

    Step choose(const char* item) {
        return [this, item](QWidget* w) {
            auto* d = qobject_cast<QInputDialog*>(w);
            ASSERT_NE(d, nullptr);
            seen.push_back(d->labelText().toStdString());
            d->setTextValue(QString::fromLatin1(item));
            d->accept();
        };
    }
    Step file(std::string path) {
        return [this, path](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(d, nullptr);
            seen.push_back(d->windowTitle().toStdString());
            // Typed into the name field, as a user does: once the field has the focus the
            // dialog's selectFile() leaves it alone, which a fast build reaches first.
            auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromStdString(path));
            QMetaObject::invokeMethod(d, "accept", Qt::QueuedConnection);
        };
    }
    Step box() {
        return [this](QWidget* w) {
            auto* b = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(b, nullptr);
            seen.push_back(b->text().toStdString());
            b->accept();
        };
    }
    Step aspects(std::vector<int> rows) {
        return [this, rows](QWidget* w) {
            ASSERT_EQ(w->objectName(), QStringLiteral("FrmAspects"));
            auto* list = w->findChild<QListWidget*>(QStringLiteral("LstAspects"));
            seen.push_back("aspects:" + std::to_string(list->count()));
            for (int row : rows)
                list->item(row)->setCheckState(Qt::Checked);
            w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        };
    }

private:
    QTimer timer_;
    std::deque<Step> steps_;
};

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
    driver.then(driver.box());
    const std::string project = tmp / "My Mod";
    driver.then(driver.choose("Create directory stucture"));
    driver.then(driver.file(project));
    driver.then(driver.aspects({1, 2}));
    const std::string pie = tmp.write("gun.pie", "PIE");
    driver.then(driver.file(pie));
    driver.then(driver.choose("Weapon"));
    driver.then(driver.file(tmp.write("addon.lev", "LEV")));
    driver.then(driver.box());
    driver.then(driver.box());
    driver.start();

    page->findChild<QPushButton*>(QStringLiteral("CmdOpenProject"))->click();
    EXPECT_EQ(page->findChild<QPushButton*>(QStringLiteral("CmdCreateProject"))->toolTip(),
              "No directory");
    page->findChild<QPushButton*>(QStringLiteral("CmdCreateProject"))->click();
    EXPECT_EQ(page->project().folder, project) << ::testing::PrintToString(driver.seen);
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

    EXPECT_TRUE(driver.done());
    EXPECT_EQ(driver.seen, (std::vector<std::string>{
                               "Error", "Create directory with or without any files?",
                               "Enter name of new directory", "aspects:7", "Add file to KDG",
                               "Please choose the type of the pie file", "Add file to KDG",
                               "'addon.lev' added to the commandline", "Commandline was updated"}));
}

} // namespace
} // namespace kv::test
