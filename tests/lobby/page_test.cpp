// The "Host/Join Game" page driven the way a user does it, joining a host of this process.
#include "tests/lobby/lobby_world.h"
#include "tests/support/qt_application.h"
#include "ui/main/host_join_page.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace kv::test {
namespace {

// Key presses as the keyboard delivers them.
void press(QWidget* w, int key, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &up);
}
void type(QWidget* w, const QString& text) {
    for (QChar c : text)
        press(w, c.unicode(), QString(c));
}

struct PageDriver {
    PageDriver() : port((application(), freePort())), host("Al", port), guest("Bea", port) {
        page = std::make_unique<ui::HostJoinPage>(*guest.launcher);
        page->show();
        page->refresh();
    }
    template <typename T> T* find(const char* name) {
        T* w = page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAction* userEntry(const QString& text) {
        for (QAction* a : find<QToolButton>("TbLobbyUser")->menu()->actions())
            if (a->text() == text)
                return a;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    QStringList row(int i) {
        QTreeWidgetItem* item = find<QTreeWidget>("ListView1")->topLevelItem(i);
        return item ? QStringList{item->text(0), item->text(1), item->text(2)} : QStringList{};
    }
    std::uint16_t port;
    LobbyPeer host;
    LobbyPeer guest;
    std::unique_ptr<ui::HostJoinPage> page;
};

TEST(LobbyPage, JoiningThroughThePageAndTheUserDetailsWindow) {
    PageDriver d;
    d.host.lobby().chooseHost();
    d.find<QRadioButton>("Option7")->click();
    EXPECT_EQ(d.guest.state().mode, lobby::LobbyMode::Join);
    EXPECT_EQ(d.find<QLineEdit>("Text2")->text(), "127.0.0.1");
    EXPECT_FALSE(d.userEntry("Connect")->isEnabled());

    auto* entry = d.find<QLineEdit>("Text1");
    type(entry, "127.0.0.1");
    press(entry, Qt::Key_Return, "\r");
    EXPECT_EQ(d.row(0), (QStringList{"127.0.0.1", "?", "?"}));
    EXPECT_TRUE(entry->text().isEmpty());
    // The same address again is refused.
    d.guest.state().controls.add = true;
    d.page->refresh();
    type(entry, "127.0.0.1");
    d.find<QPushButton>("Command19")->click();
    EXPECT_EQ(d.guest.ui.messageTexts(), std::vector<std::string>{"'127.0.0.1' IP already exists"});
    d.guest.ui.clear();

    ASSERT_TRUE(d.userEntry("Connect")->isEnabled());
    d.userEntry("Connect")->trigger();
    ASSERT_TRUE(waitUntil(
        [&] {
            return d.row(0) == QStringList{"127.0.0.1", "Al", "OK"} &&
                   !d.guest.state().users[0].gameFolder.empty();
        },
        10000))
        << d.row(0).join('|').toStdString();
    EXPECT_FALSE(d.find<QRadioButton>("Option6")->isEnabled());
    EXPECT_TRUE(d.userEntry("Disconnect")->isEnabled());

    // "User details" opens the real window with the host's folders.
    QString shownFolder;
    bool sawWindow = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "ShowInfo")
            return;
        sawWindow = true;
        shownFolder = dialog->findChild<QLabel*>("LblGameFolder")->text();
        dialog->reject();
    });
    closer.start(20);
    d.userEntry("User details")->trigger();
    // The window opens when the host's answer has come.
    EXPECT_TRUE(waitUntil([&] { return sawWindow; }));
    closer.stop();
    std::string expected = d.host.world.gameFolder;
    std::replace(expected.begin(), expected.end(), '/', '\\');
    EXPECT_EQ(shownFolder.toStdString(), expected);

}

} // namespace
} // namespace kv::test
