// The update window and the download window through real Qt dialogs (tick, download,
// cancel, the message boxes a user answers), and the update check as the launcher's window
// runs it: the one-shot start-up timer, the silent check's question, the Tools menu entry.
#include "common/paths.h"
#include "content/content_state.h"
#include "launcher/launcher.h"
#include "launcher/startup.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "tests/support/http_test_server.h"
#include "tests/support/qt_application.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_world.h"
#include "ui/main/main_window.h"
#include "ui/qt_ui.h"
#include "ui/update/download_dialog.h"
#include "ui/update/frm_update.h"
#include "ui/update/update_controller.h"
#include "update/update_session.h"

#include <QTest>
#include <QtWidgets>
#include <gtest/gtest.h>

namespace kv::ui {
namespace {

using kv::test::application;

struct AppFirst {
    AppFirst() { application(); }
};

// Answers every message box with its default button and keeps its text.
struct BoxWatcher {
    std::vector<std::string> texts;
    QTimer timer;
    BoxWatcher() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.push_back(box->text().toStdString());
                box->accept();
            }
        });
        timer.start(20);
    }
};

struct UpdateWindowWorld {
    AppFirst app;
    test::TempFolder temp;
    test::HttpTestServer server;
    Paths paths = Paths::fromRoot(temp / "kvs");
    QtUi ui;
    content::ContentState content;
    DownloadDialog download;
    std::unique_ptr<FrmUpdate> window;
    std::unique_ptr<update::UpdateSession> session;

    UpdateWindowWorld() {
        temp.write("kvs/kvstarter", "launcher");
        update::UpdateEnv env(paths, ui, content);
        env.downloadWindow = &download;
        env.executable = temp / "kvs/kvstarter";
        env.serverSetting = server.url("/Config.ini");
        env.transfer.idleTimeoutMs = 20000;
        env.showWindow = [this] {
            window = std::make_unique<FrmUpdate>(*session);
            window->show();
        };
        session = std::make_unique<update::UpdateSession>(std::move(env));
    }
    QTreeWidget* list() const { return window->findChild<QTreeWidget*>("LstUpdates"); }
    void clickDownload() {
        QTest::mouseClick(window->findChild<QPushButton*>("CmdDownload"), Qt::LeftButton);
    }
};

std::string aiRecord(const std::string& title, const std::string& url, int size) {
    return "[SCRIPT]:\r\n{\r\nTitle = \"" + title + "\"\r\nURL = \"" + url + "\"\r\nSize = \"" +
           std::to_string(size) + "\"\r\nDescription = \"About " + title + "\"\r\n}\r\n";
}

TEST(FrmUpdateWindow, TickDownloadAndCancel) {
    UpdateWindowWorld w;
    w.server.serve("/Fast.kvai", std::string(3072, 'f'));
    w.server.neverAnswer("/Slow.kvai");
    w.server.serve(
        "/Config.ini",
        "[AI]:\r\n{\r\n" +
            aiRecord("Fast", w.server.url("/Fast.kvai"), 3072) +
            aiRecord("Slow", w.server.url("/Slow.kvai"), 2048) + "}\r\n");
    w.temp.write("kvs/Mods/SkirmishAI/Slow.kvai", "old slow AI");
    w.session->DoAutoUpdate(false);
    ASSERT_TRUE(w.window && w.window->isVisible());
    QTreeWidget* list = w.list();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    // No key is known: the window says the offers are not signed.
    EXPECT_TRUE(w.window->findChild<QLabel*>("LblUnsigned")->isVisible());
    list->topLevelItem(0)->setCheckState(0, Qt::Checked);

    BoxWatcher boxes;
    w.clickDownload();
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"Done."});
    EXPECT_EQ(w.temp.read("kvs/Mods/SkirmishAI/Fast.kvai"), std::string(3072, 'f'));
    EXPECT_FALSE(w.download.isVisible());

    // The slow one: the download window shows, closing it is Cancel, the old file stays.
    QTest::mouseClick(w.window->findChild<QPushButton*>("CmdUncheckAll"), Qt::LeftButton);
    w.list()->topLevelItem(1)->setCheckState(0, Qt::Checked);
    bool sawWindow = false;
    QTimer::singleShot(300, [&] {
        sawWindow =
            w.download.isVisible() &&
            w.download.findChild<QLabel*>("LblDownload")->text() == "Downloading 'Slow' (2 Kb)";
        w.download.close();
    });
    boxes.texts.clear();
    w.clickDownload();
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(boxes.texts, (std::vector<std::string>{"Failed to install new AI.", "Done."}));
    EXPECT_EQ(w.temp.read("kvs/Mods/SkirmishAI/Slow.kvai"), "old slow AI");
}

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

    // Fired early: the silent check asks, and "Yes" shows the window.
    ui.answerMessage(Answer::Yes);
    timer->start(1);
    for (int i = 0; i < 200 && !updates->window(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(updates->window() && updates->window()->isVisible());
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(ui.messageTexts(),
              std::vector<std::string>{"There are new downloads available, would you like to see "
                                       "a list of available downloads?"});
    auto* list = updates->window()->findChild<QTreeWidget*>("LstUpdates");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "Korvane Starter 2.145");

    // The Tools menu entry checks again. A server that trickles: while the check runs its entry is "Cancel update check", and
    // choosing it ends the check at once, without a word.
    ui.clear();
    QAction* check = window.findChild<QMenu*>("MnuTools")->actions().front();
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
