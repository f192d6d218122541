#pragma once
// The "About" page: the version and the makers' addresses. Removed from the tab strip at
// creation and placed below the options.
#include <QWidget>

class QLabel;

namespace kv::ui {

class AboutPage : public QWidget {
    Q_OBJECT
public:
    explicit AboutPage(QWidget* parent = nullptr);
    QLabel* versionLabel() const { return version_; }

private:
    QLabel* version_;
};

} // namespace kv::ui
