#pragma once
// The selected MOD's author: a homepage link and an e-mail link, shown when known.
#include <QWidget>

class QLabel;

namespace kv {
class Launcher;
}

namespace kv::ui {

class AuthorLinks : public QWidget {
    Q_OBJECT
public:
    explicit AuthorLinks(Launcher& launcher, QWidget* parent = nullptr);
    // Follows the MOD list's selection.
    void refresh();

private:
    Launcher& launcher_;
    QLabel* homepage_ = nullptr;
    QLabel* email_ = nullptr;
};

} // namespace kv::ui
