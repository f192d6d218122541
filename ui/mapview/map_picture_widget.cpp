#include "ui/mapview/map_picture_widget.h"

#include "mapview/view_geometry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cstring>

namespace kv::ui {

namespace {

QPoint toQt(mapview::PixelPoint p) {
    return {p.x, p.y};
}
mapview::PixelPoint fromQt(QPoint p) {
    return {p.x(), p.y()};
}

} // namespace

QImage toQImage(const mapview::RgbImage& image) {
    QImage out(image.width(), image.height(), QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(out.scanLine(y), image.row(y), std::size_t(image.width()) * 3);
    return out;
}

MapPictureWidget::MapPictureWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setObjectName(QStringLiteral("Picture"));
    // Space + left button pans, so the picture takes the keyboard focus (the wheel too).
    setFocusPolicy(Qt::WheelFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapPictureWidget::setPicture(const mapview::MapPicture* picture) {
    picture_ = picture;
    pictureChanged();
}

void MapPictureWidget::pictureChanged() {
    const QSize mapSize = picture_ ? QSize(picture_->mapWidth(), picture_->mapHeight()) : QSize();
    if (mapSize != mapSize_) {
        mapSize_ = mapSize;
        moveTo(offset_); // another map may be smaller
    }
    update();
}

QImage MapPictureWidget::image() const {
    return picture_ ? toQImage(picture_->image(grid_)) : QImage();
}

void MapPictureWidget::setMarkerTile(std::optional<QPoint> tile) {
    markerTile_ = tile;
    update();
}

std::optional<QRect> MapPictureWidget::marker() const {
    if (!markerTile_ || !picture_)
        return std::nullopt;
    const int z = picture_->zoom();
    return QRect(markerTile_->x() * z, markerTile_->y() * z, z, z);
}

void MapPictureWidget::setGridShown(bool on) {
    grid_ = on;
    update();
}

void MapPictureWidget::setOffset(QPoint offset) {
    moveTo(offset);
}

void MapPictureWidget::moveTo(QPoint offset) {
    const int w = picture_ ? picture_->pixelWidth() : 0;
    const int h = picture_ ? picture_->pixelHeight() : 0;
    const QPoint limited =
        toQt(mapview::clampOffset(fromQt(offset), w, h, width(), height()));
    if (limited != offset_) {
        offset_ = limited;
        update();
    }
}

void MapPictureWidget::zoomChanged(int from, QPoint anchor) {
    if (!picture_)
        return;
    // Near the picture's edge the limit may move the anchored tile a little: the view
    // never shows beyond the map.
    moveTo(
        toQt(mapview::offsetZoomedAbout(fromQt(offset_), fromQt(anchor), from, picture_->zoom())));
    update();
}

void MapPictureWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    const QColor background = palette().color(QPalette::Dark);
    if (!picture_) {
        painter.fillRect(area, background);
        return;
    }
    const mapview::Rgb back =
        mapview::rgbClamped(background.red(), background.green(), background.blue());
    picture_->renderRegion(
        {area.x() + offset_.x(), area.y() + offset_.y(), area.width(), area.height()}, grid_, back,
        region_);
    painter.drawImage(area.topLeft(), toQImage(region_));
    if (const auto rect = marker()) {
        painter.setPen(QPen(Qt::yellow, 1));
        const QPoint c = rect->center() - offset_;
        const int right = picture_->pixelWidth() - offset_.x();
        const int bottom = picture_->pixelHeight() - offset_.y();
        painter.drawLine(-offset_.x(), c.y(), right, c.y());
        painter.drawLine(c.x(), -offset_.y(), c.x(), bottom);
    }
}

void MapPictureWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (panning_)
        setOffset(panStartOffset_ - (at - panStart_));
    const QPoint p = at + offset_;
    // Beside the map there is no tile to describe.
    if (picture_ && QRect(0, 0, picture_->pixelWidth(), picture_->pixelHeight()).contains(p))
        emit pointerMoved(p.x(), p.y());
    else
        emit pointerLeft();
}

void MapPictureWidget::leaveEvent(QEvent* event) {
    emit pointerLeft();
    QWidget::leaveEvent(event);
}

void MapPictureWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool pan =
        event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_);
    if (pan) {
        panning_ = true;
        panStart_ = at;
        panStartOffset_ = offset_;
        updateCursor();
        return;
    }
    if (event->button() == Qt::LeftButton)
        emit clicked(at.x() + offset_.x(), at.y() + offset_.y());
}

void MapPictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (panning_ && !(event->buttons() & (Qt::MiddleButton | Qt::LeftButton))) {
        panning_ = false;
        updateCursor();
    }
}

void MapPictureWidget::wheelEvent(QWheelEvent* event) {
    // Fine-grained wheels send parts of a notch; a step is taken per whole notch.
    wheelRest_ += event->angleDelta().y();
    const QPoint anchor = event->position().toPoint();
    for (; wheelRest_ >= 120; wheelRest_ -= 120)
        emit zoomStepRequested(1, anchor);
    for (; wheelRest_ <= -120; wheelRest_ += 120)
        emit zoomStepRequested(-1, anchor);
    event->accept();
}

void MapPictureWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            spaceHeld_ = true;
            updateCursor();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void MapPictureWidget::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat()) {
            spaceHeld_ = false;
            updateCursor();
        }
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void MapPictureWidget::focusOutEvent(QFocusEvent* event) {
    spaceHeld_ = false; // its release goes elsewhere
    updateCursor();
    QWidget::focusOutEvent(event);
}

void MapPictureWidget::resizeEvent(QResizeEvent* event) {
    moveTo(offset_);
    QWidget::resizeEvent(event);
}

void MapPictureWidget::updateCursor() {
    if (panning_)
        setCursor(Qt::ClosedHandCursor);
    else if (spaceHeld_)
        setCursor(Qt::OpenHandCursor);
    else
        unsetCursor();
}

} // namespace kv::ui
