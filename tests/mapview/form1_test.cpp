#include "ui/mapview/form1.h"
#include "ui/mapview/map_picture_widget.h"

#include "tests/support/qt_application.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/map_demo.h"
#include "tools/worldgen/map_lnd_writer.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QWheelEvent>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kv::ui {
namespace {

class Form1Test : public ::testing::Test {
protected:
    Form1Test() {
        for (const auto& f : worldgen::demoLndMaps())
            folder.write(f.name, f.contents);
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

    QApplication& qapp = test::application(); // before any widget
    test::TempFolder folder, program;
    test::ScriptedUi ui;
    Form1 form{program.path(), &ui};
    int zoom = 1;
};

TEST_F(Form1Test, OpensDrawsAndShowsThePointerTile) {
    openHighlands();
    EXPECT_EQ(form.picture()->image().size(), QSize(64 * zoom, 64 * zoom));
    EXPECT_EQ(label("StatusText"), "Ready");
    EXPECT_EQ(form.picture()->image().pixel(20 * zoom, 30 * zoom), qRgb(255, 0, 0));
    // On a tile the status bar names it; beside the map no tile is named.
    for (const QPointF at : {viewPoint(20, 30), viewPoint(64, 30), viewPoint(-1, 0)}) {
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form.picture(), &move);
        EXPECT_EQ(
            label("StatusX") + label("StatusY") + label("StatusHeight") + label("StatusObject"),
            at != viewPoint(20, 30) ? QString()
                                    : QStringLiteral("X: 20Y: 30Height: %1Object found: "
                                                     "\"A0LightFactory\"")
                                          .arg(form.viewer().model().tiles.at(20, 30).height));
    }
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Form1Test, StatisticsListsAreLinkedAndTheMarkerGoesWithItsMap) {
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
    EXPECT_EQ(form.picture()->marker(), QRect(20 * zoom, 30 * zoom, zoom, zoom));

    // Another map takes the marker away; a refused file is no map.
    ui.answerFile(folder / "Rivermouth.lnd");
    trigger("OpenLnd");
    EXPECT_FALSE(form.picture()->marker());
    ASSERT_GT(names->count(), 0);
    folder.write("Notes.lnd", "Just some notes\r\n");
    ui.answerFile(folder / "Notes.lnd");
    trigger("OpenLnd");
    EXPECT_THAT(ui.messageTexts(), ::testing::ElementsAre("Wrong file format!"));
    EXPECT_FALSE(form.viewer().loaded());
    EXPECT_EQ(names->count(), 0);
}

// Neighbouring tiles differ in height, so a view that is off by one tile shows.
int heightAt(int x, int y) {
    return 20 + (x * 7 + y * 13) % 200;
}

// On a shown window, larger than the view from 2x: the wheel zooms about the pointer.
TEST_F(Form1Test, WheelZoomKeepsTheTileUnderThePointer) {
    folder.write("Test.lnd",
                 worldgen::writeLndMap({.width = 176, .height = 144, .tileHeight = heightAt}));
    form.resize(420, 300);
    form.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form.openLndFile(folder / "Test.lnd"));
    MapPictureWidget* view = form.picture();
    const auto send = [view](QEvent&& event) { QApplication::sendEvent(view, &event); };
    const QPoint at(57, 33);
    const auto wheel = [&](int notches) {
        send(QWheelEvent(at, view->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120 * notches),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false));
    };
    const auto tileUnder = [&] {
        send(QMouseEvent(QEvent::MouseMove, at, view->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier));
        return label("StatusX") + label("StatusY");
    };
    wheel(1);
    view->setOffset({0, 0});
    QString tile = tileUnder(), zooms;
    ASSERT_EQ(tile, "X: 28Y: 16"); // 2x, no offset
    for (int notches : {1, 1, 1, 1, -1, -1, -1, -1}) {
        wheel(notches);
        zooms += label("StatusZoom") + " ";
        EXPECT_EQ(tileUnder(), tile) << zooms.toStdString();
        if (zooms.endsWith("8x ")) { // a pan puts the pointer off its tile's centre: zooming
            view->setOffset(view->offset() + QPoint(3, 3)); // out must not round it into
            tile = tileUnder();                             // the next tile
        }
    }
    EXPECT_EQ(zooms, "3x 4x 6x 8x 6x 4x 3x 2x ");
}

} // namespace
} // namespace kv::ui
