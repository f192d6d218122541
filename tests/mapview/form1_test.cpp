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
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
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
    QRect tileRect(int x, int y) const { return QRect(x * zoom, y * zoom, zoom, zoom); }

    QApplication& qapp = test::application(); // before any widget
    test::TempFolder folder, program;
    test::ScriptedUi ui;
    Form1 form{program.path(), &ui};
    int zoom = 1;
};

TEST_F(Form1Test, OpensDrawsAndShowsThePointerTile) {
    openHighlands();
    EXPECT_GT(zoom, 1);
    EXPECT_EQ(form.picture()->image().size(), QSize(64 * zoom, 64 * zoom));
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

// Smaller than the view at 1x, where it opens centred, and larger from 2x, where it pans.
constexpr int kMapWidth = 176, kMapHeight = 144;

// Neighbouring tiles differ in height, so a view that is off by one tile shows.
int heightAt(int x, int y) {
    return 20 + (x * 7 + y * 13) % 200;
}

QRgb greyOf(int level) {
    return qRgb(level, level, level);
}

// The picture area as a user drives it, on a shown window: wheel zoom and drags.
class MapViewTest : public Form1Test {
protected:
    MapViewTest() {
        folder.write("Test.lnd", worldgen::writeLndMap({.width = kMapWidth,
                                                        .height = kMapHeight,
                                                        .seaLevel = 10, // below every tile
                                                        .tileHeight = heightAt}));
        form.resize(420, 300);
        form.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(form.openLndFile(folder / "Test.lnd"));
        view = form.picture();
        EXPECT_TRUE(view->width() > kMapWidth && view->width() < 2 * kMapWidth &&
                    view->height() > kMapHeight && view->height() < 2 * kMapHeight);
        EXPECT_EQ(label("StatusZoom"), "1x");
        wheel({0, 0}, 120); // 2x, from the top-left corner
    }

    QAction* action(const char* name) {
        return form.findChild<QAction*>(QString::fromLatin1(name));
    }
    void wheel(QPoint at, int delta) {
        QWheelEvent event(at, view->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, view->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
    void drag(Qt::MouseButton button, QPoint from, QPoint to) {
        mouse(QEvent::MouseButtonPress, from, button, button);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
        mouse(QEvent::MouseMove, to, Qt::NoButton, button);
        mouse(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }
    // The tile the status bar names for a pointer position.
    QPoint tileUnder(QPoint at) {
        mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        const QString x = label("StatusX"), y = label("StatusY");
        return {x.mid(3).toInt(), y.mid(3).toInt()};
    }
    QRgb shown(QPoint at) { return view->grab().toImage().pixel(at); }

    MapPictureWidget* view = nullptr;
};

TEST_F(MapViewTest, WheelZoomKeepsTheTileUnderThePointer) {
    // In and out over every step that pans, with the zoom entry checked exactly at 2x.
    const int notches[] = {1, 1, 1, 1, 1, -1, -1, -1, 1, -1, -1};
    const int zooms[] = {3, 4, 6, 8, 8, 6, 4, 3, 4, 3, 2};
    const QPoint pointers[] = {{0, 0}, {57, 33}, {99, 79}};
    for (const QPoint at : pointers) {
        view->setOffset({0, 0});
        const QPoint tile = tileUnder(at);
        ASSERT_EQ(tile, QPoint(at.x() / 2, at.y() / 2)); // 2x, no offset
        for (std::size_t i = 0; i < std::size(notches); ++i) {
            wheel(at, 120 * notches[i]);
            SCOPED_TRACE(std::to_string(at.x()) + "," + std::to_string(at.y()) + " step " +
                         std::to_string(i));
            EXPECT_EQ(label("StatusZoom"), QStringLiteral("%1x").arg(zooms[i]));
            EXPECT_EQ(action("zoom")->isChecked(), zooms[i] == 2);
            EXPECT_EQ(tileUnder(at), tile);
            EXPECT_EQ(shown(at), greyOf(heightAt(tile.x(), tile.y())));
        }
        // After a pan the pointer may sit anywhere inside its tile; zooming out must not
        // round it into the next one.
        for (int shift : {1, 3, 7}) {
            view->setOffset({0, 0});
            wheel(at, 4 * 120);
            ASSERT_EQ(label("StatusZoom"), "8x");
            view->setOffset(view->offset() + QPoint(shift, shift));
            const QPoint panned = tileUnder(at);
            for (int step = 0; step < 4; ++step) {
                wheel(at, -120);
                EXPECT_EQ(tileUnder(at), panned) << at.x() << "," << at.y() << " shift " << shift;
            }
        }
    }
    // Where the map is smaller than the view it stays centred, wherever the pointer is.
    wheel({5, 5}, -120);
    EXPECT_EQ(label("StatusZoom"), "1x");
    EXPECT_EQ(view->offset(),
              QPoint((kMapWidth - view->width() - 1) / 2, (kMapHeight - view->height() - 1) / 2));
    // A fine-grained wheel zooms once per whole notch.
    wheel({10, 10}, 60);
    wheel({10, 10}, 60);
    EXPECT_EQ(label("StatusZoom"), "2x");
    // The zoom entry still chooses 1x or 2x, from any zoom.
    wheel({10, 10}, 2 * 120);
    action("zoom")->trigger();
    EXPECT_EQ(label("StatusZoom") + " " + label("StatusText"), "2x Zoom x2: out from 4x");
    EXPECT_EQ(form.picture()->image().size(), QSize(2 * kMapWidth, 2 * kMapHeight));
    action("zoom")->trigger();
    EXPECT_EQ(label("StatusZoom"), "1x");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MapViewTest, DragsPanWithinTheMapAndALeftClickStillAsks) {
    wheel({0, 0}, 2 * 120);
    ASSERT_EQ(label("StatusZoom"), "4x");
    // The middle button drags, and so does the left one while space is held.
    const std::tuple<Qt::MouseButton, QPoint, QPoint> drags[] = {
        {Qt::MiddleButton, {200, 150}, {140, 110}}, {Qt::LeftButton, {250, 180}, {200, 210}}};
    for (const auto& [button, from, to] : drags) {
        const QPoint before = view->offset();
        const QPoint grabbed = tileUnder(from);
        if (button == Qt::LeftButton)
            QTest::keyPress(view, Qt::Key_Space);
        drag(button, from, to);
        if (button == Qt::LeftButton)
            QTest::keyRelease(view, Qt::Key_Space);
        EXPECT_EQ(view->offset(), before - (to - from));
        EXPECT_EQ(tileUnder(to), grabbed);
        EXPECT_EQ(shown(to), greyOf(heightAt(grabbed.x(), grabbed.y())));
        // Zooming after a pan still keeps the pointer's tile.
        wheel(to, 120);
        EXPECT_EQ(tileUnder(to), grabbed);
        wheel(to, -120);
    }
    EXPECT_TRUE(ui.messages().empty());
    // The left button alone keeps its click: the height of the tile.
    const QPoint tile = tileUnder({20, 20});
    mouse(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {20, 20}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(ui.messageTexts(),
              std::vector<std::string>{"Height: " + std::to_string(heightAt(tile.x(), tile.y()))});
    // A pan stops at the map's edges: the view never shows beyond them.
    drag(Qt::MiddleButton, {280, 230}, {-5000, -5000});
    EXPECT_EQ(view->offset(),
              QPoint(4 * kMapWidth - view->width(), 4 * kMapHeight - view->height()));
    wheel({0, 0}, -120); // and so does a zoom out there
    EXPECT_EQ(view->offset(),
              QPoint(3 * kMapWidth - view->width(), 3 * kMapHeight - view->height()));
    drag(Qt::MiddleButton, {10, 10}, {5000, 5000});
    EXPECT_EQ(view->offset(), QPoint(0, 0));
}

} // namespace
} // namespace kv::ui
