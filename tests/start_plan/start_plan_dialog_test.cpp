// The preview dialog's rows: what a reader of "Preview start…" sees first.
#include "tests/support/qt_application.h"
#include "ui/main/start_plan_dialog.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>

namespace kv::test {
namespace {

// The rows of the preview, each as "\nkind|file or value|size|details".
std::string rows(const QTreeWidget* tree) {
    std::string out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << tree->topLevelItem(i)->text(c);
        out += "\n" + cells.join(QLatin1Char('|')).toStdString();
    }
    return out;
}

// A long note must not hide that a write changes nothing: the verdict leads the row.
TEST(StartPlanDialog, AWriteThatChangesNothingSaysSoFirst) {
    application();
    content::StartPlan plan;
    content::PlanStep& step = plan.steps.emplace_back();
    step.kind = content::StepKind::Write;
    step.target = "multiplay/skirmish/player1.slo";
    step.unchanged = true;
    step.note = std::string(400, 'n');
    const ui::FrmStartPlan dialog(plan);
    const std::string shown = rows(dialog.steps());
    EXPECT_EQ(shown.rfind("\nleft alone|multiplay/skirmish/player1.slo|0|already holds these "
                          "bytes: left alone; nnn",
                          0),
              0u)
        << shown;
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 1);
}

} // namespace
} // namespace kv::test
