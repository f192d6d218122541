// The Tools menu entries and the main link of the real main window, on the demo world.
#include "launcher/content_wiring.h"
#include "launcher/links_file.h"
#include "platform/files.h"
#include "tests/main_window/demo_window.h"
#include "ui/main/main_link_bar.h"
#include "ui/main/tools_button.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QWindow>

#include <filesystem>

namespace kv::test {
namespace {

struct LinksWindow : DemoWindow {
    // `links` is written as the links file before the start, when not empty.
    explicit LinksWindow(const std::string& links = {}) {
        std::filesystem::remove(world.launcherFolder + "Settings/KVS/KVSLinks.ini");
        if (!links.empty())
            tmp.write("demo/launcher/Settings/KVS/KVSLinks.ini", links);
        start();
        tools = window->findChild<ui::ToolsButton*>(QStringLiteral("TbTools"));
        link = window->findChild<QLabel*>(QStringLiteral("LblMainLink"));
    }
    QAction* entry(const char* text) const {
        for (QAction* a : tools->menu()->actions())
            if (a->text() == QLatin1String(text))
                return a;
        ADD_FAILURE() << text;
        return nullptr;
    }
    bool waitForLink() const {
        return QTest::qWaitFor([&] { return link->y() == 0 && !link->styleSheet().isEmpty(); },
                               5000) &&
               QTest::qWaitFor([&] { return link->styleSheet() == normalStyle(); }, 5000);
    }
    QString normalStyle() const {
        const MainLinkSettings& s = launcher->mainLink;
        return QStringLiteral("background-color: %1; color: %2;")
            .arg(ui::cssColour(s.background), ui::cssColour(s.textColor));
    }

    ui::ToolsButton* tools = nullptr;
    QLabel* link = nullptr;
};

TEST(ToolsMenu, EntriesInOrderAndEachReachesItsAction) {
    LinksWindow w;
    QStringList texts;
    for (const QAction* a : w.tools->menu()->actions())
        texts << a->text();
    EXPECT_EQ(texts, (QStringList{"Check for updates", "Make compatible with 1.10 Patch",
                                  "VUVozarev (beta)...", "KV Script Help File",
                                  "Remove current configuration", "Change Nick",
                                  "Always on top Off", "Check for updates on Startup Off"}));

    // The update check is not there yet: the entry waits for it.
    EXPECT_FALSE(w.entry("Check for updates")->isEnabled());
    // While it runs, the entry is its Cancel and everything else is off.
    QString during;
    bool othersOff = false;
    w.tools->setUpdateCheck([&] {
        during = w.tools->menu()->actions().front()->text();
        othersOff = w.tools->isEnabled() && !w.entry("Change Nick")->isEnabled();
        for (QWidget* sibling :
             w.tools->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            othersOff = othersOff && (sibling == w.tools || !sibling->isEnabled());
    });
    ASSERT_TRUE(w.entry("Check for updates")->isEnabled());
    w.entry("Check for updates")->trigger();
    EXPECT_EQ(during, "Cancel update check");
    EXPECT_TRUE(othersOff);
    EXPECT_TRUE(w.entry("Change Nick")->isEnabled());

    // The entry names the state, and the window itself stays on top.
    const auto onTop = [&w] {
        return w.window->windowHandle() &&
               w.window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
    };
    EXPECT_FALSE(onTop());
    w.entry("Always on top Off")->trigger();
    EXPECT_TRUE(w.launcher->alwaysOnTop && onTop());
    w.entry("Always on top On")->trigger();
    EXPECT_FALSE(w.launcher->alwaysOnTop || onTop());
    EXPECT_NE(w.entry("Always on top Off"), nullptr);
    w.entry("Check for updates on Startup Off")->trigger();
    EXPECT_TRUE(w.launcher->updateAtStartup);
    EXPECT_NE(w.entry("Check for updates on Startup On"), nullptr);

    ASSERT_TRUE(w.entry("KV Script Help File")->isEnabled()); // the demo has scriptLang.rtf
    w.entry("KV Script Help File")->trigger();
    ASSERT_EQ(w.opened.size(), 1u);
    EXPECT_TRUE(w.opened[0].ends_with("scriptLang.rtf"));

    w.entry("VUVozarev (beta)...")->trigger();
    QWidget* viewer = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("Form1") && top->isVisible())
            viewer = top;
    EXPECT_NE(viewer, nullptr);
    EXPECT_TRUE(w.window->isMinimized());
    delete viewer;

    w.tools->run(QStringLiteral("Make it so"));
    EXPECT_EQ(w.ui.messageTexts(), std::vector<std::string>{"Unknown command."});
    EXPECT_EQ(w.ui.messages()[0].icon, Icon::Exclamation);
}

TEST(ToolsMenu, RestartEntriesEndOrCloseAndStartTheLauncherAgain) {
    LinksWindow w;
    const std::string probe =
        w.tmp.write("probe.sh", "#!/bin/sh\ntouch \"" + (w.tmp / "started") + "\"\n");
    std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
    w.tools->setRestartProgram(probe);
    const std::string settings = w.launcher->settingsFilePath();
    ASSERT_TRUE(platform::fileExists(settings));

    int processEnds = 0;
    w.window->setEndProcess([&] { ++processEnds; });
    QSignalSpy ended(w.tools, &ui::ToolsButton::endRequested);
    w.ui.answerMessage(Answer::No);
    w.entry("Remove current configuration")->trigger();
    EXPECT_EQ(ended.count(), 0);
    w.ui.answerMessage(Answer::Yes);
    w.entry("Remove current configuration")->trigger();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(processEnds, 1);
    EXPECT_FALSE(platform::fileExists(settings));
    EXPECT_FALSE(w.window->isVisible());
    // Ending at once saves nothing, even when the window is closed afterwards.
    w.window->close();
    EXPECT_FALSE(platform::fileExists(settings));
    EXPECT_TRUE(QTest::qWaitFor([&] { return platform::fileExists(w.tmp / "started"); }, 5000));
}

TEST(ToolsMenu, ChangeNickClosesTheWindowWithItsClosingSequence) {
    LinksWindow w;
    const std::string probe = w.tmp.write("probe.sh", "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(probe, std::filesystem::perms::owner_all);
    w.tools->setRestartProgram(probe);
    w.ui.answerMessage(Answer::Yes);
    w.ui.answerInput("Renamed");
    w.entry("Change Nick")->trigger();
    EXPECT_FALSE(w.window->isVisible());
    std::string text;
    ASSERT_TRUE(platform::readFile(w.launcher->settingsFilePath(), text));
    EXPECT_NE(text.find("Nickname=Renamed\r\n"), std::string::npos);
}

TEST(MainLink, SlidesInFlashesAndTakesTheFileColours) {
    LinksWindow w("MainLinkBackground = \"255\"\r\nmainlinktextcolor = \"65280\"\r\n"
                  "MainLinkURL = \"https://example.org/kv\"\r\n");
    EXPECT_LT(w.link->y(), 0); // still sliding in
    ASSERT_TRUE(w.waitForLink());
    EXPECT_EQ(w.link->styleSheet().toStdString(), "background-color: #ff0000; color: #00ff00;");
    // The start button keeps the default background (16757128, the decimal that counts).
    EXPECT_EQ(w.window->findChild<QPushButton*>(QStringLiteral("CmdStart"))->styleSheet(),
              "background-color: #88b1ff; color: #000000;");

    w.ui.answerMessage(Answer::No);
    QTest::mouseClick(w.link, Qt::LeftButton);
    EXPECT_TRUE(w.opened.empty());
    w.ui.answerMessage(Answer::Yes);
    QTest::mouseClick(w.link, Qt::LeftButton);
    EXPECT_EQ(w.opened, std::vector<std::string>{"https://example.org/kv"});
    EXPECT_TRUE(w.window->isMinimized());
}

TEST(MainLink, TheSelectedModsAuthorLinksShowWhenKnownAndAsk) {
    LinksWindow w;
    auto& entries = w.launcher->content.mods.entries;
    ASSERT_GE(entries.size(), 2u);
    entries[1].authorName = "Ole";
    entries[1].authorHomepage = "https://ole.example/";
    entries[1].authorEmail = "";
    auto* list = w.window->findChild<QListWidget*>(QStringLiteral("List1"));
    auto* homepage = w.window->findChild<QLabel*>(QStringLiteral("LblAuthorHomepage"));
    auto* email = w.window->findChild<QLabel*>(QStringLiteral("LblAuthorEmail"));
    list->setCurrentRow(1);
    EXPECT_TRUE(homepage->isVisibleTo(w.window.get()));
    EXPECT_FALSE(email->isVisibleTo(w.window.get()));
    w.ui.answerMessage(Answer::Yes);
    emit homepage->linkActivated(QStringLiteral("x"));
    // The About page's address is asked about alone.
    w.ui.answerMessage(Answer::Yes);
    emit w.window->findChild<QLabel*>(QStringLiteral("LblAboutEmail"))
        ->linkActivated(QStringLiteral("mailto"));
    EXPECT_EQ(
        w.ui.messageTexts(),
        (std::vector<std::string>{"Go to Ole's Homepage?\r\nhttps://ole.example/",
                                  "Open E-mail client to send an e-mail to "
                                  "starter@korvane.example ?\r\nmailto:starter@korvane.example"}));
    EXPECT_EQ(w.opened,
              (std::vector<std::string>{"https://ole.example/", "mailto:starter@korvane.example"}));
}

} // namespace
} // namespace kv::test
