#pragma once
// The "New KDG" page: prepares the folder of a new KDG archive project.
#include <QWidget>

namespace kv::ui {

class NewKdgPage : public QWidget {
    Q_OBJECT
public:
    explicit NewKdgPage(QWidget* parent = nullptr);
};

} // namespace kv::ui
