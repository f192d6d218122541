#include "ui/window_placement.h"

#include "platform/user_folders.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace kv::ui {

namespace {

const char* const placedProperty = "kvPlaced";
const char* const escapeClosesProperty = "kvEscapeCloses";

QRect availableArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// Before its first show a window has no frame; a window manager then adds a title bar
// above the geometry given. Leave room for one, so that the bottom row stays on screen.
QMargins frameRoom(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    if (frame != inner)
        return {inner.left() - frame.left(), inner.top() - frame.top(),
                frame.right() - inner.right(), frame.bottom() - inner.bottom()};
    return {4, 32, 4, 4};
}

QRect clientArea(const QWidget& window) {
    return availableArea(window).marginsRemoved(frameRoom(window));
}

QSettings desktopState() {
    return QSettings(desktopStateFile(), QSettings::IniFormat);
}

} // namespace

QRect fitInto(QRect wanted, QRect available) {
    wanted.setSize(wanted.size().boundedTo(available.size()));
    if (wanted.right() > available.right())
        wanted.moveRight(available.right());
    if (wanted.bottom() > available.bottom())
        wanted.moveBottom(available.bottom());
    if (wanted.left() < available.left())
        wanted.moveLeft(available.left());
    if (wanted.top() < available.top())
        wanted.moveTop(available.top());
    return wanted;
}

QString desktopStateFile() {
    return toQt(platform::userConfigFolder()) + QStringLiteral("/KorvaneStarter/window.ini");
}

QString rememberedFolder(const QString& key) {
    return desktopState().value(QStringLiteral("Folders/") + key).toString();
}

void rememberFolder(const QString& key, const QString& folder) {
    desktopState().setValue(QStringLiteral("Folders/") + key, folder);
}

void restorePlacement(QMainWindow& window) {
    const QSettings state = desktopState();
    const QRect area = clientArea(window);
    const QRect stored = state.value(QStringLiteral("Main/geometry")).toRect();
    if (stored.isValid() && stored.intersects(area)) {
        window.setGeometry(fitInto(stored, area));
    } else {
        QRect wanted(QPoint(), window.size());
        wanted.moveCenter(area.center());
        window.setGeometry(fitInto(wanted, area));
    }
    if (state.value(QStringLiteral("Main/maximised")).toBool())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void savePlacement(const QMainWindow& window) {
    QSettings state = desktopState();
    state.setValue(QStringLiteral("Main/geometry"), window.normalGeometry());
    state.setValue(QStringLiteral("Main/maximised"), window.isMaximized());
}

QSize withinScreen(const QWidget& window, QSize wanted) {
    return wanted.boundedTo(clientArea(window).size());
}

void centreOver(QWidget& tool, const QWidget& owner) {
    QRect wanted(QPoint(), tool.size());
    wanted.moveCenter(owner.geometry().center());
    // The inner geometry: move() would place the frame, off by the frame's margins.
    tool.setGeometry(fitInto(wanted, clientArea(owner)));
}

void placeToolWindow(QWidget& tool, const QWidget& owner) {
    tool.setProperty(placedProperty, true);
    centreOver(tool, owner);
    // Dialogs close on Escape already.
    tool.setProperty(escapeClosesProperty, !qobject_cast<QDialog*>(&tool));
}

ToolWindowPlacement::ToolWindowPlacement(QWidget& owner) : QObject(&owner), owner_(owner) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool ToolWindowPlacement::owns(const QWidget& window) const {
    for (const QWidget* w = window.parentWidget(); w; w = w->parentWidget())
        if (w == &owner_)
            return true;
    return false;
}

bool ToolWindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType())
        return false;
    // Escape reaches the focused control first; a popup (a list opened, a completer) is a
    // window of its own, so its Escape never closes the window under it.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier ||
            !window->property(escapeClosesProperty).toBool())
            return false;
        window->close();
        return true;
    }
    if (event->type() != QEvent::Show)
        return false;
    auto* window = static_cast<QWidget*>(watched);
    const Qt::WindowType type = window->windowType();
    if (!window->isWindow() || (type != Qt::Window && type != Qt::Dialog) ||
        window->property(placedProperty).toBool() || !owns(*window))
        return false;
    placeToolWindow(*window, owner_);
    return false;
}

} // namespace kv::ui
