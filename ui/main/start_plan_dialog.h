#pragma once
// "Preview start…": the plan of what the start button would do now, read-only. The
// start carries out a plan made the same way, so what is shown here is what happens.
#include "content/start_plan.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace kv::ui {

class FrmStartPlan : public QDialog {
    Q_OBJECT
public:
    explicit FrmStartPlan(const content::StartPlan& plan, QWidget* parent = nullptr);

    QTreeWidget* steps() const { return steps_; }

private:
    QTreeWidget* steps_ = nullptr;
    QLabel* randomNote_ = nullptr;
    QLineEdit* commandLine_ = nullptr;
};

} // namespace kv::ui
