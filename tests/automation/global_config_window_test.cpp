// `FrmGlobalConfigLoad` deleting through the real "Are you sure?" box; the main window's
// label and locks.
#include "launcher/startup.h"
#include "platform/files.h"
#include "tests/automation/automation_world.h"
#include "tests/support/qt_application.h"
#include "ui/automation/global_config_window.h"
#include "ui/main/main_window.h"
#include "ui/qt_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

template <class T> T* child(const QObject* in, const char* name) {
    return in->findChild<T*>(QString::fromLatin1(name));
}

int rowOf(const QListWidget* list, const char* text) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text)
            return i;
    return -1;
}

TEST(GlobalConfigWindow, DeleteAsksAndRemovesTheConfigurationAndItsSettings) {
    application();
    ui::QtUi qtUi;
    AutomationWorld w(&qtUi);
    ASSERT_TRUE(w.start("-globalini Duel.ini")); // the active configuration, with its settings
    ui::FrmGlobalConfigLoad window(w.l());
    qtUi.setParent(&window);
    window.show();
    auto* list = child<QListWidget>(&window, "List1");
    list->setCurrentRow(rowOf(list, "Duel"));
    auto* remove = child<QPushButton>(&window, "CmdDelete");
    ASSERT_TRUE(platform::fileExists(w.app("Settings/Duel.ini")));

    // First answer No, then Yes.
    for (const auto button : {QMessageBox::No, QMessageBox::Yes}) {
        QString asked;
        QTimer::singleShot(0, [&asked, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            asked = box->text();
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
            box->button(button)->click();
        });
        QTest::mouseClick(remove, Qt::LeftButton);
        EXPECT_EQ(asked, QStringLiteral("Are you sure?"));
        EXPECT_EQ(platform::fileExists(w.app("Mods/Global INIs/Duel.ini")),
                  button == QMessageBox::No);
        EXPECT_EQ(platform::fileExists(w.app("Settings/Duel.ini")), button == QMessageBox::No);
    }
    ASSERT_EQ(list->count(), 1); // the demo's "Vanilla"
    EXPECT_EQ(rowOf(list, "Duel"), -1);
    EXPECT_FALSE(w.l().automation.labelVisible);
    closeMainWindow(w.l());
    EXPECT_FALSE(platform::fileExists(w.app("Settings/Duel.ini")));
}

// The locked players' lists cannot be changed; the label names the configuration.
TEST(GlobalConfigWindow, MainWindowShowsTheLabelAndTheLocks) {
    application();
    AutomationWorld w;
    ui::Main window(w.l());
    ASSERT_TRUE(w.start("-globalini Duel.ini"));
    window.show();
    auto* label = child<QLabel>(&window, "LblGlobalConfig");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isVisible() && label->text() == QStringLiteral("Duel.ini"));
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(window.findChild<QComboBox*>(QStringLiteral("ComboAI%1").arg(p))->isEnabled(),
                  p >= 2)
            << p;
    EXPECT_EQ(child<QComboBox>(&window, "ComboAI1")->currentText(), QStringLiteral("Raider"));
}

} // namespace
} // namespace kv::test
