#include "ui/main/start_plan_dialog.h"

#include "ui/qt_text.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

using content::PlanStep;
using content::StepKind;

enum Column { KindColumn, TargetColumn, SizeColumn, DetailsColumn };

// What the "File or value" column shows for a step.
QString targetText(const PlanStep& s) {
    switch (s.kind) {
    case StepKind::Message:
        return s.messages.empty() ? QString() : toQt(s.messages[0].text).simplified();
    case StepKind::Registry:
        return toQt(s.valueName);
    case StepKind::Stop:
        return QStringLiteral("The game is not started.");
    case StepKind::Requirements:
        return QStringLiteral("Alliances and base state");
    default:
        return toQt(s.target);
    }
}

QString detailsText(const PlanStep& s) {
    QStringList parts;
    // The verdict first: a long note or path would push it out of the visible column.
    if (s.unchanged)
        parts << QStringLiteral("already holds these bytes: left alone");
    // Then whose file it is: the paths are long.
    if (!s.note.empty() && s.kind != StepKind::CommandLine)
        parts << toQt(s.note);
    if (!s.source.empty())
        parts << QStringLiteral("from ") + toQt(s.source);
    if (s.kind == StepKind::Registry)
        parts << (s.dword ? QString::number(s.number) + QStringLiteral(" (REG_DWORD)")
                          : QLatin1Char('"') + toQt(s.bytes) + QStringLiteral("\" (REG_SZ)"));
    if (s.kind == StepKind::CommandLine)
        parts << QLatin1Char('[') + toQt(s.bytes) + QLatin1Char(']');
    if (s.kind == StepKind::Requirements)
        parts << toQt(describeStep(s)).section(QLatin1Char(':'), 1).trimmed();
    return parts.join(QStringLiteral("; "));
}

bool hasSize(const PlanStep& s) {
    return s.kind == StepKind::Delete || s.kind == StepKind::Write || s.kind == StepKind::Copy ||
           s.kind == StepKind::Rename;
}

} // namespace

FrmStartPlan::FrmStartPlan(const content::StartPlan& plan, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmStartPlan"));
    setWindowTitle(QStringLiteral("Preview start"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("What \"Start KV\" would do now, in this order. Nothing has been changed."),
        this));
    randomNote_ = new QLabel(
        QStringLiteral("\"<Random>\" was drawn for this preview only: every start draws again, "
                       "so the game may get another AI."),
        this);
    randomNote_->setObjectName(QStringLiteral("LblRandomNote"));
    randomNote_->setWordWrap(true);
    randomNote_->setVisible(plan.randomDrawn);
    layout->addWidget(randomNote_);

    steps_ = new QTreeWidget(this);
    steps_->setObjectName(QStringLiteral("TvwStartPlan"));
    steps_->setRootIsDecorated(false);
    steps_->setUniformRowHeights(true);
    steps_->setHeaderLabels({QStringLiteral("Step"), QStringLiteral("File or value"),
                             QStringLiteral("Size"), QStringLiteral("Details")});
    for (const PlanStep& s : plan.steps) {
        if (!content::isShownStep(s))
            continue;
        auto* item = new QTreeWidgetItem(steps_);
        // A write that finds its bytes already there changes nothing: say so where the
        // eye starts, not only at the end of the details.
        item->setText(KindColumn, s.unchanged ? QStringLiteral("left alone")
                                              : QString::fromLatin1(content::stepKindName(s.kind)));
        item->setText(TargetColumn, targetText(s));
        if (hasSize(s))
            item->setText(SizeColumn, QString::number(qulonglong(s.size)));
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(DetailsColumn, detailsText(s));
        item->setToolTip(TargetColumn, toQt(describeStep(s)));
        if (s.kind == StepKind::CommandLine) {
            commandLine_ = new QLineEdit(toQt(s.bytes), this);
            commandLine_->setToolTip(toQt(s.note));
        }
    }
    steps_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(steps_, 1);

    if (commandLine_) {
        commandLine_->setObjectName(QStringLiteral("TxtPlanCommandLine"));
        commandLine_->setReadOnly(true);
        // Leading and doubled blanks are part of the command line.
        commandLine_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        layout->addWidget(new QLabel(QStringLiteral("Command line:"), this));
        layout->addWidget(commandLine_);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(900, 480);
}

} // namespace kv::ui
