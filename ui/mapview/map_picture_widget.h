#pragma once
// The viewer's picture area: shows the map picture at its zoom from an offset, rendering
// only the pixels it shows; zooms with the wheel about the pointer, pans with the middle
// button or space + left button, and draws the position marker (a horizontal and a
// vertical line through a tile). Pointer positions are reported in picture pixels.
#include "mapview/map_picture.h"
#include "mapview/rgb_image.h"

#include <QImage>
#include <QWidget>

#include <optional>

namespace kv::ui {

QImage toQImage(const mapview::RgbImage& image);

class MapPictureWidget : public QWidget {
    Q_OBJECT
public:

    explicit MapPictureWidget(QWidget* parent = nullptr);

    // The picture shown (owned by the viewer); call pictureChanged() after it was drawn.
    void setPicture(const mapview::MapPicture* picture);
    void pictureChanged();
    // The whole picture at its zoom, grid included when shown (the clipboard's copy).
    QImage image() const;

    // The marker's tile, or nothing to hide it; marker() is its rectangle in picture
    // pixels at the current zoom.
    void setMarkerTile(std::optional<QPoint> tile);
    std::optional<QRect> marker() const;

    void setGridShown(bool on);
    bool gridShown() const { return grid_; }

    // The picture pixel at the widget's top-left corner.
    QPoint offset() const { return offset_; }
    void setOffset(QPoint offset);
    // The zoom of the picture changed from `from`: keeps the tile under `anchor` (a
    // widget position) where it was.
    void zoomChanged(int from, QPoint anchor);

signals:
    void pointerMoved(int x, int y); // a picture pixel under the pointer
    void pointerLeft();              // the pointer is no longer over the map
    void clicked(int x, int y);
    // One wheel notch: `direction` > 0 zooms in, < 0 out, about `anchor`.
    void zoomStepRequested(int direction, QPoint anchor);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void moveTo(QPoint offset);
    void updateCursor();

    const mapview::MapPicture* picture_ = nullptr;
    QSize mapSize_; // in tiles, when last drawn
    QPoint offset_;
    std::optional<QPoint> markerTile_;
    bool grid_ = false;
    bool spaceHeld_ = false;
    bool panning_ = false;
    QPoint panStart_, panStartOffset_;
    int wheelRest_ = 0;
    mutable mapview::RgbImage region_; // reused between paints
};

} // namespace kv::ui
