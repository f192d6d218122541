// The update window and the download window through real Qt dialogs: tick, download,
// cancel, and the message boxes a user answers.
#include "common/paths.h"
#include "content/content_state.h"
#include "platform/files.h"
#include "tests/support/http_test_server.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_folder.h"
#include "ui/qt_ui.h"
#include "ui/update/download_dialog.h"
#include "ui/update/frm_update.h"
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
    // Ticking adds up; clicking shows the description.
    list->topLevelItem(0)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(w.window->findChild<QLabel*>("LblTotalSize")->text(), "Total size:   3.0 KBs");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->topLevelItem(0)).center());
    EXPECT_EQ(w.window->findChild<QTextEdit*>("TxtDescription")->toPlainText(), "About Fast");

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

} // namespace
} // namespace kv::ui
