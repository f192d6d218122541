#pragma once
// Where the launcher's windows open. The main window opens inside the screen's available
// area and where the user left it; tool windows open centred over the main window and
// close with Escape. The places live in the per-user configuration folder, because the
// settings file's format is fixed and a window size is nobody's business but this desk's.
#include <QObject>
#include <QRect>
#include <QString>

class QMainWindow;
class QWidget;

namespace kv::ui {

// `wanted` made no larger than `available` and moved inside it.
QRect fitInto(QRect wanted, QRect available);
// The file of what the desktop remembers between runs: window places and the folders the
// file dialogs last used.
QString desktopStateFile();
// One remembered folder ("" when none); `key` names the dialog.
QString rememberedFolder(const QString& key);
void rememberFolder(const QString& key, const QString& folder);

// Places the main window before it is first shown: the remembered geometry and maximised
// state, kept on the screen, or else its size hint within the screen, centred.
void restorePlacement(QMainWindow& window);
void savePlacement(const QMainWindow& window);
// `wanted` no larger than the room the window has on its screen.
QSize withinScreen(const QWidget& window, QSize wanted);
// `tool` centred over `owner`, kept inside the screen.
void centreOver(QWidget& tool, const QWidget& owner);

// Centres `tool` over `owner` once and lets Escape close it. For a window that `owner`
// does not own, so that the watcher below cannot see it.
void placeToolWindow(QWidget& tool, const QWidget& owner);

// Watches the application's windows: every window `owner` owns is centred over it the
// first time it shows, and a window that is not a dialog gets Escape to close it, as
// dialogs have it already.
class ToolWindowPlacement : public QObject {
public:
    explicit ToolWindowPlacement(QWidget& owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool owns(const QWidget& window) const;
    QWidget& owner_;
};

} // namespace kv::ui
