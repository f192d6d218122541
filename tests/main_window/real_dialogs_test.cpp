// Flows that open a dialog and then work, run through the real Qt dialogs: a scripted Ui
// cannot show that a dialog takes input or that a progress dialog comes at the right time.
#include "kdg/archive_reader.h"
#include "kdg/project_builder.h"
#include "launcher/content_wiring.h"
#include "platform/files.h"
#include "platform/user_folders.h"
#include "tests/main_window/demo_window.h"
#include "tools/worldgen/content_files.h"
#include "tools/worldgen/map_demo.h"
#include "tools/worldgen/map_lnd_writer.h"
#include "ui/content/archive_file_list_view.h"
#include "ui/content/mods_page.h"
#include "ui/main/new_kdg_page.h"
#include "ui/mapview/form1.h"

#include <QTest>
#include <QtWidgets>

#include <deque>
#include <filesystem>

namespace kv::test {
namespace {

// Answers the modal dialogs of one flow in order, the way a user does: with keys typed
// into the dialog on top. Also notes when a progress dialog appears, so a test can tell
// whether it came before or after the dialogs that ask.
class DialogDriver : public QObject {
public:
    // A step acts on the dialog on top and says whether it was the dialog it expected.
    using Step = std::function<bool(QWidget* modal)>;

    DialogDriver() {
        qApp->installEventFilter(this);
        connect(&timer_, &QTimer::timeout, this, &DialogDriver::tick);
        timer_.start(10);
    }
    ~DialogDriver() override { qApp->removeEventFilter(this); }

    void then(const char* what, Step step) { steps_.push_back({what, std::move(step)}); }
    // Runs `flow` while the driver answers its dialogs; the flow must use every step.
    void run(const std::function<void()>& flow) {
        flow();
        EXPECT_TRUE(steps_.empty()) << "dialogs not shown after "
                                    << (log.empty() ? "" : log.back());
    }
    std::vector<std::string> log; // the steps done and "progress shown", in order

private:
    void tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || qobject_cast<QProgressDialog*>(modal))
            return;
        if (modal != unmatched_) {
            unmatched_ = modal;
            unmatchedFor_.start();
        }
        if (!steps_.empty() && modal->isVisible() && steps_.front().second(modal)) {
            log.push_back(steps_.front().first);
            steps_.pop_front();
            unmatched_ = nullptr;
        } else if (steps_.empty() || unmatchedFor_.elapsed() > 3000) {
            // A dialog no step takes would otherwise wait for ever: the test fails at once
            // and the flow goes on without it.
            const auto* box = qobject_cast<QMessageBox*>(modal);
            ADD_FAILURE() << "waiting for \"" << (steps_.empty() ? "" : steps_.front().first)
                          << "\", found: " << modal->windowTitle().toStdString() << ": "
                          << (box ? box->text().toStdString() : std::string());
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            unmatched_ = nullptr;
        }
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QProgressDialog*>(watched))
            log.push_back("progress shown");
        return false;
    }

    std::deque<std::pair<std::string, Step>> steps_;
    QTimer timer_;
    QWidget* unmatched_ = nullptr; // the dialog on top that the next step has not taken
    QElapsedTimer unmatchedFor_;
};
using Step = DialogDriver::Step;

// The file dialog on top, sent to `folder`: `name` typed into its name field, then Enter.
// Only a name is typed: a typed "/" would send the dialog to the root folder. `opensIn`,
// when given, is where the dialog must have opened.
Step typeIntoFileDialog(std::string folder, std::string name, std::string opensIn = {}) {
    return [folder, name, opensIn](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* edit = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!edit)
            return false;
        if (!opensIn.empty()) {
            EXPECT_EQ(QDir::cleanPath(dialog->directory().absolutePath()).toStdString(),
                      QDir::cleanPath(QString::fromStdString(opensIn)).toStdString());
        }
        dialog->setDirectory(QString::fromStdString(folder));
        edit->clear();
        QTest::keyClicks(edit, QString::fromStdString(name));
        // Never let a flow write anywhere but where the test meant.
        const QStringList chosen = dialog->selectedFiles();
        const QString expected = QDir(QString::fromStdString(folder))
                                     .absoluteFilePath(QString::fromStdString(name));
        if (chosen.size() != 1 || QDir::cleanPath(chosen[0]) != QDir::cleanPath(expected)) {
            ADD_FAILURE() << "the dialog would choose " << chosen.join(',').toStdString();
            dialog->reject();
            return true;
        }
        QTest::keyClick(edit, Qt::Key_Return);
        return true;
    };
}

// A message box with this text ("*" and its end, when the start varies): Enter presses its
// default button, or `button` is clicked.
Step onBox(std::string text, QMessageBox::StandardButton button = QMessageBox::NoButton,
           std::string* seenDefault = nullptr) {
    return [text, button, seenDefault](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        const QString want = QString::fromStdString(text);
        if (!box || !(want.startsWith('*') ? box->text().endsWith(want.mid(1)) : box->text() == want))
            return false;
        if (seenDefault && box->defaultButton())
            *seenDefault = box->defaultButton()->text().remove('&').toStdString();
        if (button == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Return);
        else
            QTest::mouseClick(box->button(button), Qt::LeftButton);
        return true;
    };
}

// Made first, so that the window's application already has the private configuration
// folder: the file dialogs keep their history under it.
struct PrivateConfigApplication {
    PrivateConfigApplication() {
        static TempFolder config;
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
        application();
    }
};

// The main window on the demo world with the program's own Qt dialogs.
struct RealWindow : PrivateConfigApplication, BasicDemoWindow<ui::QtUi> {
    RealWindow() { start(); }
    ui::ModsPage* mods() const { return find<ui::ModsPage>("MODs"); }
    void selectMod(const char* name) const {
        const auto items = mods()->list()->findItems(QString::fromLatin1(name), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name;
        mods()->list()->setCurrentItem(items.front());
    }
};

TEST(RealDialogs, ExtractToAsksForTheFolderFirstThenExtractsWithAProgressBar) {
    RealWindow w;
    w.selectMod("Islands");
    const std::string out = w.tmp / "out";
    ASSERT_TRUE(platform::createFolderTree(out));
    DialogDriver driver;
    // The first extraction starts in the home folder, never in the game's.
    driver.then("folder chosen", typeIntoFileDialog(w.tmp.path(), "out", platform::homeFolder()));
    driver.then("told", onBox("*Open this folder?", QMessageBox::Yes));
    driver.run([&] { w.mods()->contextMenu()->findChild<QAction*>("KDG_EXTRACT")->trigger(); });
    EXPECT_EQ(driver.log, (std::vector<std::string>{"folder chosen", "progress shown", "told"}));
    EXPECT_EQ(w.tmp.read("out/multiplay/maps/Game.map"), worldgen::demoBinaryMap()[0].contents);
    EXPECT_EQ(w.opened, std::vector<std::string>{out + "/"});

    // The page lists the extracted archive's stored files, each keyed by its archive row.
    kdg::KdgArchiveInfo info;
    ASSERT_TRUE(kdg::LoadArchiveInfo(w.world.gameFolder + "Islands.kdg", info,
                                     w.launcher->content.nameTables));
    const ui::ArchiveFileListView* files = w.mods()->archiveFiles();
    QStringList shown, stored;
    for (std::size_t row = 0; row < info.Entries.size(); ++row) {
        if (QListWidgetItem* item = files->itemWithKey(QStringLiteral("item%1").arg(row)))
            shown << item->text() + QString::number(files->row(item));
        if (!info.Entries[row].IsEmpty)
            stored << QString::fromStdString(info.Entries[row].Name) + QString::number(stored.size());
    }
    EXPECT_EQ(shown, stored);
    EXPECT_TRUE(files->isVisibleTo(w.mods()) && files->count() == stored.size() &&
                !files->findItems(QStringLiteral("Game.map"), Qt::MatchExactly).isEmpty());
}

TEST(RealDialogs, FTwoDeletesTheSettingsFileForGood) {
    RealWindow w;
    const std::string settings = w.launcher->settingsFilePath();
    ASSERT_TRUE(platform::fileExists(settings));
    auto* resolution = w.find<QWidget>("CmbResolution");
    DialogDriver driver;
    driver.then("kept", onBox("Delete configuration file?", QMessageBox::Cancel));
    driver.run([&] { QTest::keyClick(resolution, Qt::Key_F2); });
    EXPECT_TRUE(platform::fileExists(settings));
    driver.then("deleted", onBox("Delete configuration file?", QMessageBox::Ok));
    driver.run([&] { QTest::keyClick(resolution, Qt::Key_F2); });
    EXPECT_FALSE(platform::fileExists(settings));
    w.window->close();
    EXPECT_FALSE(platform::fileExists(settings));
}

TEST(RealDialogs, MapCheckQuestionsRepairNothingOnEnter) {
    PrivateConfigApplication app;
    TempFolder tmp;
    worldgen::LndMapSpec plan;
    plan.gateways = {{1, 1, 4, 1}};
    plan.height = 7;
    ASSERT_TRUE(platform::writeFileAtomic(tmp / "Odd.lnd", worldgen::writeLndMap(plan)));
    ui::Form1 form(tmp / "program/");
    form.show();
    ASSERT_TRUE(form.openLndFile(tmp / "Odd.lnd"));
    form.showCheck();
    auto* check = form.findChild<QPushButton*>(QStringLiteral("CmdCheck"));
    ASSERT_NE(check, nullptr);

    std::string questionDefault;
    DialogDriver driver;
    driver.then("reported", onBox("Map height must be even"));
    driver.then("declined", onBox("Fix error?", QMessageBox::NoButton, &questionDefault));
    driver.run([&] { QTest::mouseClick(check, Qt::LeftButton); });
    EXPECT_EQ(questionDefault, "No");
    EXPECT_EQ(form.viewer().model().mapHeight, 7);

    // The mouse still repairs.
    driver.then("reported", onBox("Map height must be even"));
    driver.then("repaired", onBox("Fix error?", QMessageBox::Yes));
    driver.then("tiles reported", onBox("Wrong number of tiles!"));
    driver.then("tiles declined", onBox("Fix error?"));
    driver.run([&] { QTest::mouseClick(check, Qt::LeftButton); });
    EXPECT_EQ(form.viewer().model().mapHeight, 8);
}

TEST(RealDialogs, CreateAiLeadsThroughBothFileDialogsAndTheNameBox) {
    RealWindow w;
    w.tmp.write("src/hunter.slo", "// hunter\r\nrun\r\n");
    w.tmp.write("src/hunter.vlo", worldgen::sampleVloText(0));
    DialogDriver driver;
    driver.then("script chosen", typeIntoFileDialog(w.tmp / "src", "hunter.slo"));
    driver.then("variables chosen", typeIntoFileDialog(w.tmp / "src", "hunter.vlo"));
    driver.then("named", [](QWidget* modal) {
        auto* box = qobject_cast<QInputDialog*>(modal);
        if (!box)
            return false;
        auto* edit = box->findChild<QLineEdit*>();
        EXPECT_EQ(edit->text(), "hunter"); // the script file's title
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("Hunter AI"));
        QTest::keyClick(edit, Qt::Key_Return);
        return true;
    });
    driver.then("no extras", onBox("*Press 'No' if you are unsure", QMessageBox::No));
    driver.then("done", onBox("Done!"));
    driver.run([&] { QTest::mouseClick(w.find<QPushButton>("CmdCreateAI"), Qt::LeftButton); });
    const std::string made = w.tmp.read("demo/launcher/Mods/SkirmishAI/Hunter AI.kvai");
    EXPECT_EQ(made.rfind("1\r\nHunter AI\r\n2\r\n// hunter\r\nrun\r\n", 0), 0u) << made;
}

// The input dialog that asks `label`, answered with `item`.
Step choose(const char* label, const char* item) {
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
Step file(const char* title, std::string path) {
    return [title, path](QWidget* modal) {
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

// A project is created with its aspects, filled, and its level file comes and goes from
// the batch file.
TEST(RealDialogs, NewKdgProjectIsCreatedFilledAndItsBatchFileFollowsTheLevelFiles) {
    RealWindow w;
    namespace fs = std::filesystem;
    TempFolder& tmp = w.tmp;
    auto* page = w.find<ui::NewKdgPage>("NewKDG");
    const auto button = [page](const char* name) {
        return page->findChild<QPushButton*>(QString::fromLatin1(name));
    };

    // Without a project the open button says so.
    DialogDriver driver;
    driver.then("no project", onBox("Error"));
    const std::string project = tmp / "My Mod";
    driver.then("how",
                choose("Create directory with or without any files?", "Create directory stucture"));
    driver.then("where", file("Enter name of new directory", project));
    driver.then("aspects", [](QWidget* modal) { // seven offered, two ticked
        if (modal->objectName() != QStringLiteral("FrmAspects"))
            return false;
        auto* list = modal->findChild<QListWidget*>(QStringLiteral("LstAspects"));
        EXPECT_EQ(list->count(), 7);
        list->item(1)->setCheckState(Qt::Checked);
        list->item(2)->setCheckState(Qt::Checked);
        modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        return true;
    });
    driver.then("pie", file("Add file to KDG", tmp.write("gun.pie", "PIE")));
    driver.then("type", choose("Please choose the type of the pie file", "Weapon"));
    driver.then("lev", file("Add file to KDG", tmp.write("addon.lev", "LEV")));
    driver.then("added", onBox("'addon.lev' added to the commandline"));
    driver.then("removed", onBox("Commandline was updated"));

    button("CmdOpenProject")->click();
    EXPECT_EQ(button("CmdCreateProject")->toolTip(), "No directory");
    button("CmdCreateProject")->click();
    EXPECT_EQ(page->project().folder, project) << ::testing::PrintToString(driver.log);
    EXPECT_EQ(w.opened, std::vector<std::string>{project});
    EXPECT_TRUE(fs::exists(project + "/krf/Stats.krf"));
    EXPECT_FALSE(fs::exists(project + "/krf/multiRes.krf"));
    EXPECT_TRUE(fs::exists(project + "/MakeKDG.exe"));

    button("CmdAddFile")->click();
    EXPECT_EQ(tmp.read("My Mod/components/weapons/gun.pie"), "PIE");
    EXPECT_TRUE(fs::exists(project + "/krf/PieStats.krf"));
    button("CmdAddFile")->click();
    EXPECT_NE(tmp.read("My Mod/Create KDG file now!.bat").find("korvane  -a addon.lev -w"),
              std::string::npos);

    auto* files = page->findChild<QListWidget*>(QStringLiteral("LstProjectFiles"));
    ASSERT_EQ(files->count(), 2);
    files->setCurrentRow(1);
    driver.run([&] { button("CmdRemoveFile")->click(); });
    EXPECT_EQ(tmp.read("My Mod/Create KDG file now!.bat"),
              kdg::MakeKDGCommandLine(page->project()) + "\r\n");
    EXPECT_EQ(files->count(), 1);
    EXPECT_FALSE(fs::exists(project + "/addon.lev"));
}

} // namespace
} // namespace kv::test
