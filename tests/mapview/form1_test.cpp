#include "ui/mapview/form1.h"
#include "ui/mapview/map_picture_widget.h"

#include "tests/support/qt_application.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/map_demo.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kv::ui {
namespace {

class Form1Test : public ::testing::Test {
protected:
    Form1Test() {
        for (const auto& f : worldgen::demoLndMaps())
            folder.write(f.name, f.contents);
        for (const auto& f : worldgen::demoBinaryMap())
            folder.write("maps/" + f.name, f.contents);
    }
    void trigger(const char* name) {
        QAction* action = form.findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    QString label(const char* name) {
        return form.findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    // Opens Highlands (64 x 64 tiles) in the unshown window: it opens at the largest zoom
    // that fits the picture area, which tests read back rather than assume.
    void openHighlands() {
        ui.answerFile(folder / "Highlands.lnd");
        trigger("OpenLnd");
        zoom = form.viewer().zoom();
    }
    // Where tile (x, y)'s centre is in the picture area.
    QPointF viewPoint(int x, int y) const {
        const QPoint offset = form.picture()->offset();
        return QPointF(x * zoom + zoom / 2 - offset.x(), y * zoom + zoom / 2 - offset.y());
    }
    QRect tileRect(int x, int y) const { return QRect(x * zoom, y * zoom, zoom, zoom); }

    QApplication& qapp = test::application(); // before any widget
    test::TempFolder folder, program;
    test::ScriptedUi ui;
    Form1 form{program.path(), &ui};
    int zoom = 1;
};

TEST_F(Form1Test, OpensDrawsAndShowsThePointerTile) {
    EXPECT_EQ(form.windowTitle(), "VUV Ozarev - ");
    openHighlands();
    EXPECT_THAT(ui.prompts(),
                ::testing::ElementsAre("open:Open LND file|LND files| *.lnd|All files|*.*"));
    EXPECT_EQ(form.windowTitle(), "VUV Ozarev - Highlands.lnd");
    EXPECT_GT(zoom, 1);
    EXPECT_EQ(form.picture()->image().size(), QSize(64 * zoom, 64 * zoom));
    EXPECT_EQ(form.findChild<QSlider*>("Slider2")->value(), 70);
    EXPECT_EQ(label("StatusText"), "Ready");
    EXPECT_FALSE(form.findChild<QAction*>("StopMenu")->isEnabled());
    EXPECT_EQ(form.picture()->image().pixel(20 * zoom, 30 * zoom), qRgb(255, 0, 0));

    QMouseEvent move(QEvent::MouseMove, viewPoint(20, 30), viewPoint(20, 30), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form.picture(), &move);
    EXPECT_EQ(
        label("StatusX") + label("StatusY") + label("StatusHeight"),
        QStringLiteral("X: 20Y: 30Height: %1").arg(form.viewer().model().tiles.at(20, 30).height));
    EXPECT_EQ(label("StatusObject"), "Object found: \"A0LightFactory\"");
    // Beside the map, and once the pointer has gone, no tile is named.
    for (const QPointF at : {viewPoint(64, 30), viewPoint(-1, 0), QPointF(-1, 0)}) {
        QMouseEvent beside(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form.picture(), &beside);
        EXPECT_EQ(label("StatusX") + label("StatusY") + label("StatusHeight"), "");
        QApplication::sendEvent(form.picture(), &move);
        EXPECT_EQ(label("StatusX"), "X: 20");
    }
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(form.picture(), &leave);
    EXPECT_EQ(label("StatusX") + label("StatusObject"), "");

    trigger("zoom");
    EXPECT_EQ(form.picture()->image().size(), QSize(128, 128));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Form1Test, StatisticsListsAreLinkedAndTheMarkerFollowsTheZoomAndGoesWithItsMap) {
    openHighlands();
    trigger("Statistics");
    QWidget* form2 = form.findChild<QWidget*>("Form2");
    ASSERT_NE(form2, nullptr);
    auto* names = form2->findChild<QListWidget*>("LstNames");
    auto* positions = form2->findChild<QListWidget*>("LstPositions");
    auto* players = form2->findChild<QListWidget*>("LstPlayers");
    ASSERT_EQ(names->count(), 8);
    EXPECT_EQ(positions->item(5)->text() + " " + players->item(5)->text(), "44 X 30 Player1");
    positions->setCurrentRow(1);
    EXPECT_EQ(std::pair(names->currentRow(), players->currentRow()), std::pair(1, 1));
    EXPECT_EQ(label("StatusText"), "\"A0FacMod1\"");
    ASSERT_TRUE(form.picture()->marker());
    EXPECT_EQ(*form.picture()->marker(), tileRect(20, 30));
    for (const QRect& at : {QRect(40, 60, 2, 2), QRect(20, 30, 1, 1)}) {
        trigger("zoom");
        ASSERT_TRUE(form.picture()->marker());
        EXPECT_EQ(*form.picture()->marker(), at);
    }
    form2->findChild<QPushButton*>("CmdCheck")->click();
    EXPECT_THAT(ui.messageTexts(), ::testing::ElementsAre("No erros were found"));
    form2->hide();
    EXPECT_FALSE(form.picture()->marker());
    form2->show();
    names->setCurrentRow(2);
    ASSERT_TRUE(form.picture()->marker());

    // Another map takes the marker away; a refused file is no map.
    ui.clear();
    ui.answerFile(folder / "Rivermouth.lnd");
    trigger("OpenLnd");
    EXPECT_FALSE(form.picture()->marker());
    ASSERT_GT(names->count(), 0);
    folder.write("Notes.lnd", "Just some notes\r\n");
    ui.answerFile(folder / "Notes.lnd");
    trigger("OpenLnd");
    EXPECT_THAT(ui.messageTexts(), ::testing::ElementsAre("Wrong file format!"));
    EXPECT_EQ(ui.messages().back().icon, Icon::Critical);
    EXPECT_EQ(label("StatusText"), "Ready");
    EXPECT_FALSE(form.viewer().loaded());
    EXPECT_EQ(names->count(), 0);
    ui.clear();
    form2->findChild<QPushButton*>("CmdCheck")->click();
    trigger("ConvertMenu");
    form.findChild<QWidget*>("Form4")->findChild<QPushButton*>("CmdConvert")->click();
    EXPECT_THAT(ui.messageTexts(),
                ::testing::ElementsAre("No map loaded", "Load a *.map file first!"));
}

// What the reader and the converter make is pinned by their own tests; here the list and
// the picture show it, and the conversion window reaches the converter.
TEST_F(Form1Test, BinaryMapInfoAndConversion) {
    ui.answerFile(folder / "maps/Game.map");
    trigger("OpenBinaryMap");
    auto* info = form.findChild<QListWidget*>("InfoList");
    ASSERT_EQ(info->count(), 2);
    EXPECT_EQ(info->item(1)->text(), "Width:96");
    const int binaryZoom = form.viewer().zoom();
    EXPECT_EQ(form.picture()->image().size(), QSize(96 * binaryZoom, 64 * binaryZoom));
    trigger("ConvertMenu");
    ui.answerFile(folder / "Converted.lnd");
    form.findChild<QWidget*>("Form4")->findChild<QPushButton*>("CmdConvert")->click();
    EXPECT_THAT(ui.messageTexts(), ::testing::ElementsAre("Done!"));
    EXPECT_TRUE(form.openLndFile(folder / "Converted.lnd"));
}

TEST_F(Form1Test, StopMenuWorksWhileAMapLoads) {
    bool stopWasEnabled = false;
    QTimer::singleShot(0, &form, [&] {
        QAction* stop = form.findChild<QAction*>("StopMenu");
        stopWasEnabled = stop->isEnabled() && !form.findChild<QMenu*>("OptionsMenu")->isEnabled();
        stop->trigger();
    });
    form.openLndFile(folder / "Highlands.lnd");
    EXPECT_TRUE(stopWasEnabled);
    EXPECT_EQ(label("StatusText"), "Stopped");
    EXPECT_TRUE(form.findChild<QMenu*>("OptionsMenu")->isEnabled());
}

} // namespace
} // namespace kv::ui
