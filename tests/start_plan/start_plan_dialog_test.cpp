// "Preview start…" on the main window, through the real dialog: the player picks an AI,
// opens the preview, reads what the start would do, and nothing has changed.
#include "tests/automation/automation_world.h"
#include "tests/start_plan/plan_world.h"
#include "tests/support/qt_application.h"
#include "ui/main/main_window.h"
#include "ui/main/start_plan_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>

namespace kv::test {
namespace {

void pick(ui::Main& window, const char* comboName, const char* text) {
    auto* combo = window.findChild<QComboBox*>(QString::fromLatin1(comboName));
    ASSERT_NE(combo, nullptr) << comboName;
    const int index = combo->findText(QString::fromLatin1(text));
    ASSERT_GE(index, 0) << text;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

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

bool anyRow(const std::string& rows, const std::string& start, const std::string& part) {
    for (auto at = rows.find("\n" + start); at != std::string::npos;
         at = rows.find("\n" + start, at + 1))
        if (rows.substr(at, rows.find('\n', at + 1) - at).find(part) != std::string::npos)
            return true;
    return false;
}

TEST(StartPlanDialog, ShowsWhatTheStartWouldDoAndChangesNothing) {
    application();
    AutomationWorld w;
    ui::Main window(w.l());
    ASSERT_TRUE(w.start());
    window.show();
    pick(window, "ComboAI1", "Fortress");
    pick(window, "ComboAI3", "<Random>");
    const FolderSnapshot game = snapshot(w.world.gameFolder);
    const FolderSnapshot app = snapshot(w.world.launcherFolder);

    auto* preview = window.findChild<QPushButton*>(QStringLiteral("CmdPreviewStart"));
    ASSERT_NE(preview, nullptr);
    std::string shown;
    QString commandLine;
    bool randomNoted = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<ui::FrmStartPlan*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        shown = rows(dialog->steps());
        if (auto* line = dialog->findChild<QLineEdit*>(QStringLiteral("TxtPlanCommandLine")))
            commandLine = line->text();
        if (auto* note = dialog->findChild<QLabel*>(QStringLiteral("LblRandomNote")))
            randomNoted = note->isVisible();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    poll.start();
    QTest::mouseClick(preview, Qt::LeftButton);
    poll.stop();

    ASSERT_FALSE(shown.empty()) << "the preview did not open";
    EXPECT_TRUE(anyRow(shown, "copy|",
                       "FortressWalls.kdg|2048|player 1: Fortress (removed after the game); from "))
        << shown;
    EXPECT_TRUE(anyRow(shown, "write|", "player3.vlo|")) << shown;
    EXPECT_TRUE(anyRow(shown, "requirements|", "Advanced Bases")) << shown;
    EXPECT_TRUE(anyRow(shown, "registry|base||", "2 (REG_DWORD)")) << shown;
    EXPECT_EQ(commandLine, QStringLiteral(" -3DFX  "));
    EXPECT_TRUE(randomNoted);

    EXPECT_EQ(differences(game, snapshot(w.world.gameFolder)), std::vector<std::string>{});
    EXPECT_EQ(differences(app, snapshot(w.world.launcherFolder)), std::vector<std::string>{});
    EXPECT_TRUE(w.ui.messages().empty());
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
