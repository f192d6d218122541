#include "ui/main/main_link_bar.h"

#include "launcher/launcher.h"
#include "launcher/links_file.h"
#include "ui/first_paint.h"
#include "ui/qt_text.h"

#include <QColor>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace kv::ui {

namespace {

// 120 twips at the classic 15 twips per pixel.
constexpr int kSlideStepPixels = 8;

} // namespace

QString cssColour(unsigned bgr) {
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff)).name();
}

MainLinkBar::MainLinkBar(Launcher& launcher, QWidget* parent)
    : QWidget(parent), launcher_(launcher) {
    setObjectName(QStringLiteral("MainLinkBar"));
    link_ = new QLabel(this);
    link_->setObjectName(QStringLiteral("LblMainLink"));
    link_->setCursor(Qt::PointingHandCursor);
    link_->installEventFilter(this);
    slide_ = new QTimer(this);
    slide_->setObjectName(QStringLiteral("TimerLink"));
    slide_->setInterval(30);
    flash_ = new QTimer(this);
    flash_->setObjectName(QStringLiteral("TimerFlash"));
    flash_->setInterval(70);
    connect(slide_, &QTimer::timeout, this, &MainLinkBar::slideStep);
    connect(flash_, &QTimer::timeout, this, &MainLinkBar::flashStep);
}

QSize MainLinkBar::sizeHint() const {
    return {link_->sizeHint().width(), link_->sizeHint().height()};
}

QSize MainLinkBar::minimumSizeHint() const {
    return {0, link_->sizeHint().height()};
}

void MainLinkBar::resizeEvent(QResizeEvent*) {
    link_->resize(width(), height());
}

void MainLinkBar::refresh(bool compact) {
    const MainLinkSettings& s = launcher_.mainLink;
    link_->setText(toQt(s.caption(compact)));
    if (!animating())
        colour(s.background, s.textColor);
}

void MainLinkBar::colour(unsigned background, unsigned text) {
    link_->setStyleSheet(QStringLiteral("background-color: %1; color: %2;")
                             .arg(cssColour(background), cssColour(text)));
}

bool MainLinkBar::animating() const {
    return slideWaiting_ || slide_->isActive() || flash_->isActive();
}

void MainLinkBar::startAnimation() {
    link_->move(0, -link_->height());
    flashTicks_ = 0;
    flashed_ = false;
    // The slide's steps begin once the window is in sight: they must not delay its first
    // paint.
    slideWaiting_ = true;
    afterFirstPaint(*window(), [this] {
        slideWaiting_ = false;
        slide_->start();
    });
}

void MainLinkBar::slideStep() {
    const int top = link_->y() + kSlideStepPixels;
    if (top < 0) {
        link_->move(0, top);
        return;
    }
    link_->move(0, 0);
    slide_->stop();
    const MainLinkSettings& s = launcher_.mainLink;
    colour(s.backgroundFlash, s.background);
    flashed_ = true;
    flash_->start();
}

void MainLinkBar::flashStep() {
    if (flashTicks_ > 1)
        flash_->stop();
    ++flashTicks_;
    const MainLinkSettings& s = launcher_.mainLink;
    flashed_ = !flashed_;
    if (flashed_)
        colour(s.backgroundFlash, s.textFlash);
    else
        colour(s.background, s.textColor);
}

bool MainLinkBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == link_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        followMainLink(launcher_);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kv::ui
