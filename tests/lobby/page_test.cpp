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

template <typename T> T* child(QWidget& parent, const char* name) {
    T* w = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

TEST(LobbyPage, JoiningThroughThePageAndTheUserDetailsWindow) {
    const std::uint16_t port = (application(), freePort());
    LobbyPeer host("Al", port), guest("Bea", port);
    ui::HostJoinPage page(*guest.launcher);
    page.show();
    page.refresh();
    auto userEntry = [&](const QString& text) -> QAction* {
        for (QAction* a : child<QToolButton>(page, "TbLobbyUser")->menu()->actions())
            if (a->text() == text)
                return a;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    };
    auto row = [&] {
        QTreeWidgetItem* item = child<QTreeWidget>(page, "ListView1")->topLevelItem(0);
        return item ? QStringList{item->text(0), item->text(1), item->text(2)} : QStringList{};
    };
    host.lobby().chooseHost();
    child<QRadioButton>(page, "Option7")->click();
    EXPECT_EQ(guest.state().mode, lobby::LobbyMode::Join);
    EXPECT_FALSE(userEntry("Connect")->isEnabled());

    auto* entry = child<QLineEdit>(page, "Text1");
    type(entry, "127.0.0.1");
    press(entry, Qt::Key_Return, "\r");
    EXPECT_EQ(row(), (QStringList{"127.0.0.1", "?", "?"}));
    EXPECT_TRUE(entry->text().isEmpty());
    // The same address again is refused.
    guest.state().controls.add = true;
    page.refresh();
    type(entry, "127.0.0.1");
    child<QPushButton>(page, "Command19")->click();
    EXPECT_EQ(guest.ui.messageTexts(), std::vector<std::string>{"'127.0.0.1' IP already exists"});

    ASSERT_TRUE(userEntry("Connect")->isEnabled());
    userEntry("Connect")->trigger();
    ASSERT_TRUE(waitUntil([&] { return row() == QStringList{"127.0.0.1", "Al", "OK"}; }, 10000))
        << row().join('|').toStdString();
    EXPECT_FALSE(child<QRadioButton>(page, "Option6")->isEnabled());

    // "User details" opens the real window with the host's folders once the host's answer
    // has come.
    QString shownFolder;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->objectName() == "ShowInfo") {
            shownFolder = dialog->findChild<QLabel*>("LblGameFolder")->text();
            dialog->reject();
        }
    });
    closer.start(20);
    userEntry("User details")->trigger();
    EXPECT_TRUE(waitUntil([&] { return !shownFolder.isEmpty(); }));
    closer.stop();
    std::string expected = host.world.gameFolder;
    std::replace(expected.begin(), expected.end(), '/', '\\');
    EXPECT_EQ(shownFolder.toStdString(), expected);
}

} // namespace
} // namespace kv::test
