#pragma once
// The "About" page: the version and the makers' address. Removed from the tab strip at
// creation and placed below the options.
#include <QWidget>

class QLabel;

namespace kv {
class Launcher;
}

namespace kv::ui {

class AboutPage : public QWidget {
    Q_OBJECT
public:
    AboutPage(Launcher& launcher, QWidget* parent = nullptr);
    QLabel* versionLabel() const { return version_; }

private:
    QLabel* version_;
};

} // namespace kv::ui
