#include "ui/mapview/map_picture_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include <cstring>

namespace kv::ui {

QImage toQImage(const mapview::RgbImage& image) {
    QImage out(image.width(), image.height(), QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(out.scanLine(y), image.row(y), std::size_t(image.width()) * 3);
    return out;
}

MapPictureWidget::MapPictureWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setObjectName(QStringLiteral("Picture"));
}

void MapPictureWidget::setImage(const QImage& image) {
    image_ = image;
    setFixedSize(image_.size());
    update();
}

void MapPictureWidget::setMarker(std::optional<QRect> tile) {
    marker_ = tile;
    update();
}

void MapPictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
    if (marker_) {
        painter.setPen(QPen(Qt::yellow, 1));
        const QPoint c = marker_->center();
        painter.drawLine(0, c.y(), width(), c.y());
        painter.drawLine(c.x(), 0, c.x(), height());
    }
}

void MapPictureWidget::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved(event->position().toPoint().x(), event->position().toPoint().y());
}

void MapPictureWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked(event->position().toPoint().x(), event->position().toPoint().y());
}

} // namespace kv::ui
