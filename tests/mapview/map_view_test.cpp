// The viewer's picture area as a user drives it: wheel zoom, drags, sliders, layer entries,
// and grid, through real Qt events on an offscreen window.
#include "ui/mapview/form1.h"
#include "ui/mapview/map_picture_widget.h"

#include "mapview/map_layers.h"
#include "tests/support/qt_application.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/map_lnd_writer.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace kv::ui {
namespace {

// Smaller than the view at 1x, where it opens centred, and larger from 2x, where it pans.
constexpr int kMapWidth = 176, kMapHeight = 144;
constexpr QPoint kFactoryTile{30, 40};

// Neighbouring tiles differ in height, so a view that is off by one tile shows.
int heightAt(int x, int y) {
    return 20 + (x * 7 + y * 13) % 200;
}
QRgb greyOf(int level) {
    return qRgb(level, level, level);
}

class MapViewTest : public ::testing::Test {
protected:
    MapViewTest() {
        const worldgen::LndObjectSpec factory{"\"A0LightFactory\"", 0,
                                              worldgen::worldXOfTile(kFactoryTile.x(), kMapWidth),
                                              worldgen::worldYOfTile(kFactoryTile.y(), kMapHeight)};
        folder.write("Test.lnd", worldgen::writeLndMap({.width = kMapWidth,
                                                        .height = kMapHeight,
                                                        .seaLevel = 10, // below every tile
                                                        .tileHeight = heightAt,
                                                        .objects = {factory}}));
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
    static QPoint at2x(QPoint tile) { return tile * 2; }

    QAction* action(const char* name) {
        return form.findChild<QAction*>(QString::fromLatin1(name));
    }
    QString label(const char* name) {
        return form.findChild<QLabel*>(QString::fromLatin1(name))->text();
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
    void waitForRedraw() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.redrawPending() && !form.busy(); }, 5000));
    }

    QApplication& qapp = test::application(); // before any widget
    test::TempFolder folder, program;
    test::ScriptedUi ui;
    Form1 form{program.path(), &ui};
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
    const struct {
        Qt::MouseButton button;
        QPoint from, to;
    } drags[] = {{Qt::MiddleButton, {200, 150}, {140, 110}},
                 {Qt::LeftButton, {250, 180}, {200, 210}}};
    for (const auto& d : drags) {
        const QPoint before = view->offset();
        const QPoint grabbed = tileUnder(d.from);
        const bool space = d.button == Qt::LeftButton; // space + left button pans too
        if (space)
            QTest::keyPress(view, Qt::Key_Space);
        drag(d.button, d.from, d.to);
        if (space)
            QTest::keyRelease(view, Qt::Key_Space);
        EXPECT_EQ(view->offset(), before - (d.to - d.from));
        EXPECT_EQ(tileUnder(d.to), grabbed);
        EXPECT_EQ(shown(d.to), greyOf(heightAt(grabbed.x(), grabbed.y())));
        // Zooming after a pan still keeps the pointer's tile.
        wheel(d.to, 120);
        EXPECT_EQ(tileUnder(d.to), grabbed);
        wheel(d.to, -120);
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

    // A map smaller than the view opens at the largest step at which it fits, centred, and
    // stays there.
    folder.write("Small.lnd",
                 worldgen::writeLndMap({.width = 40, .height = 30, .tileHeight = heightAt}));
    ASSERT_TRUE(form.openLndFile(folder / "Small.lnd"));
    int fit = 1;
    while (fit < 8 && 40 * (fit + 1) <= view->width() && 30 * (fit + 1) <= view->height())
        ++fit;
    fit = fit == 5 ? 4 : fit == 7 ? 6 : fit; // the zoom steps are 1, 2, 3, 4, 6 and 8
    EXPECT_EQ(label("StatusZoom"), QStringLiteral("%1x").arg(fit));
    const QPoint centred((40 * fit - view->width()) / 2, (30 * fit - view->height()) / 2);
    for (int round = 0; round < 2; ++round) {
        EXPECT_NEAR(view->offset().x(), centred.x(), 1);
        EXPECT_NEAR(view->offset().y(), centred.y(), 1);
        const QPoint middle = tileUnder(view->rect().center());
        EXPECT_NEAR(middle.x(), 20, 1);
        EXPECT_NEAR(middle.y(), 15, 1);
        drag(Qt::MiddleButton, {200, 150}, {120, 70});
    }
}

TEST_F(MapViewTest, SlidersAndLayerEntriesRedrawAtOnce) {
    const QPoint tile{5, 5}; // height 120
    auto* heightSlider = form.findChild<QSlider*>("Slider1");
    auto* seaSlider = form.findChild<QSlider*>("Slider2");
    auto blue = [](int level) { return qRgb(0, 0, mapview::kWaterBase + level); };
    const struct {
        QSlider* slider;
        int value;
        const char* valueLabel;
        QRgb expected;
    } steps[] = {
        {heightSlider, 15, "LblHeightValue", greyOf(135)},
        {seaSlider, 136, "LblSeaValue", blue(136)},
        {seaSlider, 100, "LblSeaValue", greyOf(135)}, // the water recedes
        {heightSlider, -30, "LblHeightValue", blue(100)},
    };
    for (const auto& s : steps) {
        s.slider->setValue(s.value);
        EXPECT_EQ(label(s.valueLabel), QString::number(s.value));
        waitForRedraw();
        EXPECT_EQ(shown(at2x(tile)), s.expected) << s.valueLabel << " " << s.value;
    }
    // The keyboard moves the slider like the mouse does.
    seaSlider->setFocus();
    QTest::keyClick(seaSlider, Qt::Key_Up);
    EXPECT_EQ(label("LblSeaValue"), "101");
    waitForRedraw();
    EXPECT_EQ(shown(at2x(tile)), blue(101));

    // Layer entries too: the factory's red goes and comes back.
    for (QRgb expected : {greyOf(heightAt(30, 40) - 30), qRgb(255, 0, 0)}) {
        action("ShowObjects")->trigger();
        waitForRedraw();
        EXPECT_EQ(shown(at2x(kFactoryTile)), expected);
    }
    EXPECT_EQ(label("StatusText"), "Ready");
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MapViewTest, GridEntryShowsTileBordersFromFourTimes) {
    // Where the grid is drawn is pinned by the picture's own tests; here only that the
    // entry reaches the view and its copy, and that the view asks for it from 4x.
    action("ShowGrid")->trigger();
    const QRgb ground = greyOf(heightAt(3, 3));
    for (int zoom : {2, 4}) {
        if (zoom == 4)
            wheel({0, 0}, 2 * 120);
        EXPECT_EQ(view->grab().toImage().pixel(3 * zoom, 4 * zoom - 1) == ground, zoom < 4);
        EXPECT_EQ(view->image().pixel(3 * zoom, 4 * zoom - 1) == ground, zoom < 4);
    }
}

} // namespace
} // namespace kv::ui
