#pragma once
// Shows a map picture at its pixel size, reports the pointer and clicks in picture pixels,
// and draws the position marker (a horizontal and a vertical line through a tile).
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

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    // The marker's pixel rectangle (one tile), or nothing to hide it.
    void setMarker(std::optional<QRect> tile);
    std::optional<QRect> marker() const { return marker_; }

signals:
    void pointerMoved(int x, int y);
    void clicked(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
    std::optional<QRect> marker_;
};

} // namespace kv::ui
