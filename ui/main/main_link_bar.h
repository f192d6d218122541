#pragma once
// The row of the main link: the link slides in from above at start-up, flashes three
// times and opens the community page when clicked.
#include <QWidget>

class QLabel;
class QTimer;

namespace kv {
class Launcher;
}

namespace kv::ui {

class MainLinkBar : public QWidget {
    Q_OBJECT
public:
    explicit MainLinkBar(Launcher& launcher, QWidget* parent = nullptr);

    QLabel* link() const { return link_; }
    // Shows the caption for the layout and the normal colours.
    void refresh(bool compact);
    // Places the link just above its row and starts the slide.
    void startAnimation();
    bool animating() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void slideStep();
    void flashStep();
    void colour(unsigned background, unsigned text);

    Launcher& launcher_;
    QLabel* link_ = nullptr;
    QTimer* slide_ = nullptr; // TimerLink
    QTimer* flash_ = nullptr; // TimerFlash
    int flashTicks_ = 0;
    bool flashed_ = false;      // showing the flash colours
    bool slideWaiting_ = false; // started, sliding once the window has painted
};

// 0x00BBGGRR, as the link settings store colours, as a style-sheet colour.
QString cssColour(unsigned bgr);

} // namespace kv::ui
