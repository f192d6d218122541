// The update check as the launcher's window runs it: the one-shot start-up timer, the
// silent check's question, and the Tools menu entry, on the demo world.
#include "launcher/launcher.h"
#include "launcher/startup.h"
#include "platform/registry.h"
#include "tests/support/http_test_server.h"
#include "tests/support/qt_application.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_world.h"
#include "ui/main/main_window.h"
#include "ui/update/frm_update.h"
#include "ui/update/update_controller.h"

#include <QtWidgets>

#include <gtest/gtest.h>

namespace kv::ui {
namespace {

using kv::test::application;

TEST(MainWindowUpdates, StartupTimerAsksAndToolsMenuChecks) {
    application();
    test::TempFolder tmp;
    test::HttpTestServer server;
    server.serve("/Config.ini", "[KVS]:\r\n{\r\nVersion = \"2.145\"\r\nURL = \"" +
                                    server.url("/KVStarter.exe") + "\"\r\n}\r\n");
    demo::DemoWorld world;
    std::string error;
    ASSERT_TRUE(demo::writeDemoWorld(tmp / "demo", false, world, error)) << error;
    ASSERT_TRUE(demo::setDemoSettings(world, {{"CheckForUpdatesOnSturtUpOn", "-1"},
                                              {"UpdateServer", server.url("/Config.ini")}}));
    test::ScriptedUi ui;
    auto registry = platform::makeRegistryBackend(tmp / "registry.reg");
    Launcher launcher(world.launcherFolder, ui, *registry, [](const std::string&) { return true; });
    Main window(launcher);
    auto* updates = new UpdateController(launcher, &window);
    window.setUpdates(updates);
    ASSERT_TRUE(runStartup(launcher, ""));
    window.show();

    QTimer* timer = updates->startupTimer();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 4000);
    EXPECT_EQ(launcher.updateServer, server.url("/Config.ini"));

    // Fired early: the silent check asks, and "Yes" shows the window.
    ui.answerMessage(Answer::Yes);
    timer->start(1);
    for (int i = 0; i < 200 && !updates->window(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_NE(updates->window(), nullptr);
    EXPECT_TRUE(updates->window()->isVisible());
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(ui.messageTexts(),
              std::vector<std::string>{"There are new downloads available, would you like to see "
                                       "a list of available downloads?"});
    auto* list = updates->window()->findChild<QTreeWidget*>("LstUpdates");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Korvane Starter 2.145");

    // The Tools menu entry checks again, without asking.
    updates->window()->hide();
    ui.clear();
    QMenu* tools = window.findChild<QMenu*>("MnuTools");
    QAction* check = tools->actions().front();
    ASSERT_EQ(check->text(), "Check for updates");
    EXPECT_TRUE(check->isEnabled());
    check->trigger();
    EXPECT_TRUE(updates->window()->isVisible());
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(window.findChild<QToolButton*>("TbTools")->isEnabled());

    // A server that trickles: while the check runs its entry is "Cancel update check", and
    // choosing it ends the check at once, without a word.
    server.trickle("/Config.ini");
    QString during;
    QTimer::singleShot(300, [&] {
        during = check->text();
        check->trigger();
    });
    QElapsedTimer clock;
    clock.start();
    check->trigger();
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_EQ(during, "Cancel update check");
    EXPECT_EQ(check->text(), "Check for updates");
    EXPECT_TRUE(ui.messages().empty());

    // Closing the main window during an install ends the install at once and closes the
    // update and download windows, so nothing keeps the process alive.
    server.serve("/Config.ini", "[MISC]:\r\n{\r\n[Big]:\r\n{\r\nURL = \"" + server.url("/big.map") +
                                    "\"\r\nLocalPath = \"Maps\"\r\n}\r\n}\r\n");
    server.trickle("/big.map");
    check->trigger();
    ASSERT_TRUE(updates->window()->isVisible());
    updates->session().checkAll(true);
    bool downloading = false;
    QTimer::singleShot(300, [&] {
        downloading = window.findChild<QDialog*>("FrmDownload")->isVisible();
        window.close();
    });
    clock.restart();
    updates->window()->findChild<QPushButton*>("CmdDownload")->click();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(downloading);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(updates->window()->isVisible());
    EXPECT_FALSE(window.findChild<QDialog*>("FrmDownload")->isVisible());
    EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().front();
}

} // namespace
} // namespace kv::ui
