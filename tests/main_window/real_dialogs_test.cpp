// Flows that open a dialog and then work, run through the real Qt dialogs: a scripted Ui
// cannot show that a dialog takes input or that a progress dialog comes at the right time.
#include "launcher/content_wiring.h"
#include "platform/files.h"
#include "platform/user_folders.h"
#include "tests/main_window/demo_window.h"
#include "tests/main_window/dialog_driver.h"
#include "tools/worldgen/content_files.h"
#include "tools/worldgen/map_demo.h"
#include "tools/worldgen/map_lnd_writer.h"
#include "ui/content/mods_page.h"
#include "ui/mapview/form1.h"

#include <QAction>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace kv::test {

namespace {

QApplication& privateConfigApplication() {
    static int argc = 1;
    static char name[] = "real_dialogs_tests";
    static char* argv[] = {name, nullptr};
    // The file dialogs keep their history under the configuration folder: a private one.
    static TempFolder config;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
    static auto* app = QApplication::instance() ? qApp : new QApplication(argc, argv);
    return *app;
}

// Made first, so that the window's application already has the private configuration folder.
struct PrivateConfigApplication {
    PrivateConfigApplication() { privateConfigApplication(); }
};

// The main window on the demo world with the program's own Qt dialogs.
struct RealWindow : PrivateConfigApplication, BasicDemoWindow<ui::QtUi> {
    RealWindow() { start(); }
    ui::ModsPage* mods() const { return window->findChild<ui::ModsPage*>(QStringLiteral("MODs")); }
    void selectMod(const char* name) const {
        const auto items = mods()->list()->findItems(QString::fromLatin1(name), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name;
        mods()->list()->setCurrentItem(items.front());
    }
    QAction* modEntry(const char* name) const {
        return mods()->contextMenu()->findChild<QAction*>(QString::fromLatin1(name));
    }
};

} // namespace

TEST(RealDialogs, ExtractToAsksForTheFolderFirstThenExtractsWithAProgressBar) {
    RealWindow w;
    w.selectMod("Islands");
    const std::string out = w.tmp / "out";
    ASSERT_TRUE(platform::createFolderTree(out));
    DialogDriver driver;
    // The first extraction starts in the home folder, never in the game's.
    driver.then("folder chosen", typeIntoFileDialog(w.tmp.path(), "out", platform::homeFolder()));
    driver.then("told", [](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box || !box->text().endsWith(QStringLiteral("Open this folder?")))
            return false;
        box->button(QMessageBox::No)->click();
        return true;
    });
    runFlow(driver, [&] { w.modEntry("KDG_EXTRACT")->trigger(); });
    EXPECT_EQ(driver.log, (std::vector<std::string>{"folder chosen", "progress shown", "told"}));
    std::string map;
    ASSERT_TRUE(platform::readFile(out + "/multiplay/maps/Game.map", map));
    EXPECT_EQ(map, worldgen::demoBinaryMap()[0].contents);
}

TEST(RealDialogs, AddingAnInstallationLocatesTheGameInTheFileDialog) {
    RealWindow w;
    const std::string second = w.tmp / "second/";
    ASSERT_TRUE(platform::createFolderTree(second));
    ASSERT_TRUE(platform::writeFileAtomic(second + "korvane.exe", "game"));
    auto* actions = w.window->findChild<QToolButton*>(QStringLiteral("TbKVPathActions"));
    ASSERT_NE(actions, nullptr);
    QAction* add = nullptr;
    for (QAction* a : actions->menu()->actions())
        if (a->text() == "Add...")
            add = a;
    ASSERT_NE(add, nullptr);
    DialogDriver driver;
    driver.then("told", pressEnterOn("Please locate 'Korvane.exe' file!"));
    driver.then("game chosen", typeIntoFileDialog(second, "korvane.exe", platform::homeFolder()));
    runFlow(driver, [&] { add->trigger(); });
    const auto& paths = w.launcher->installations.paths();
    EXPECT_NE(std::find(paths.begin(), paths.end(), second), paths.end());
}

TEST(RealDialogs, FTwoDeletesTheSettingsFileForGood) {
    RealWindow w;
    const std::string settings = w.launcher->settingsFilePath();
    ASSERT_TRUE(platform::fileExists(settings));
    auto* resolution = w.window->findChild<QWidget*>(QStringLiteral("CmbResolution"));
    ASSERT_NE(resolution, nullptr);
    DialogDriver driver;
    driver.then("kept", clickButton("Delete configuration file?", QMessageBox::Cancel));
    runFlow(driver, [&] { QTest::keyClick(resolution, Qt::Key_F2); });
    EXPECT_TRUE(platform::fileExists(settings));
    driver.then("deleted", clickButton("Delete configuration file?", QMessageBox::Ok));
    runFlow(driver, [&] { QTest::keyClick(resolution, Qt::Key_F2); });
    EXPECT_FALSE(platform::fileExists(settings));
    w.window->close();
    EXPECT_FALSE(platform::fileExists(settings));
}

TEST(RealDialogs, MapCheckQuestionsRepairNothingOnEnter) {
    privateConfigApplication();
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
    driver.then("reported", pressEnterOn("Map height must be even"));
    driver.then("declined", pressEnterOn("Fix error?", &questionDefault));
    runFlow(driver, [&] { QTest::mouseClick(check, Qt::LeftButton); });
    EXPECT_EQ(questionDefault, "No");
    EXPECT_EQ(form.viewer().model().mapHeight, 7);

    // The mouse still repairs.
    driver.then("reported", pressEnterOn("Map height must be even"));
    driver.then("repaired", clickButton("Fix error?", QMessageBox::Yes));
    driver.then("tiles reported", pressEnterOn("Wrong number of tiles!"));
    driver.then("tiles declined", pressEnterOn("Fix error?"));
    runFlow(driver, [&] { QTest::mouseClick(check, Qt::LeftButton); });
    EXPECT_EQ(form.viewer().model().mapHeight, 8);
}

TEST(RealDialogs, CreateAiLeadsThroughBothFileDialogsAndTheNameBox) {
    RealWindow w;
    const std::string slo = w.tmp.write("src/hunter.slo", "// hunter\r\nrun\r\n");
    const std::string vlo = w.tmp.write("src/hunter.vlo", worldgen::sampleVloText(0));
    auto* create = w.window->findChild<QPushButton*>(QStringLiteral("CmdCreateAI"));
    ASSERT_NE(create, nullptr);
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
    driver.then("no extras", clickButton("Does this AI require any additional files?\nPress "
                                         "'No' if you are unsure",
                                         QMessageBox::No));
    driver.then("done", pressEnterOn("Done!"));
    runFlow(driver, [&] { QTest::mouseClick(create, Qt::LeftButton); });
    std::string made;
    ASSERT_TRUE(
        platform::readFile(w.world.launcherFolder + "Mods/SkirmishAI/Hunter AI.kvai", made));
    EXPECT_EQ(made.rfind("1\r\nHunter AI\r\n2\r\n// hunter\r\nrun\r\n", 0), 0u) << made;
}

} // namespace kv::test
