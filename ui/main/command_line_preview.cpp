#include "ui/main/command_line_preview.h"

#include "launcher/installation_actions.h"
#include "launcher/launch_buttons.h"
#include "launcher/launcher.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace kv::ui {

namespace {

constexpr int kPreviewColumns = 64;

} // namespace

CommandLinePreview::CommandLinePreview(Launcher& launcher, QWidget* parent)
    : QGroupBox(QStringLiteral("Command line"), parent), launcher_(launcher) {
    setObjectName(QStringLiteral("FraCommandLine"));
    new QGridLayout(this);
    commandLine_ = addRow(QStringLiteral("Game:"), QStringLiteral("TxtCommandLine"),
                          QStringLiteral("CmdCopyCommandLine"));
#ifndef _WIN32
    // Here the game may be a Windows program that Wine runs.
    invocation_ = addRow(QStringLiteral("Runs:"), QStringLiteral("TxtInvocation"),
                         QStringLiteral("CmdCopyInvocation"));
#endif
    reload();
}

QLineEdit* CommandLinePreview::addRow(const QString& label, const QString& name,
                                      const QString& copyName) {
    auto* grid = static_cast<QGridLayout*>(layout());
    const int row = grid->rowCount();
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setReadOnly(true);
    // Leading and doubled blanks are part of the command line; a fixed font shows them.
    field->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Wide enough for a whole single-player command line with the debug switch.
    field->setMinimumWidth(
        field->fontMetrics().horizontalAdvance(QString(kPreviewColumns, QLatin1Char('x'))) +
        2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
    auto* copy = new QPushButton(QStringLiteral("Copy"), this);
    copy->setObjectName(copyName);
    copy->setToolTip(QStringLiteral("Copy to the clipboard"));
    connect(copy, &QPushButton::clicked, this,
            [field] { QApplication::clipboard()->setText(field->text()); });
    grid->addWidget(new QLabel(label, this), row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(copy, row, 2);
    return field;
}

void CommandLinePreview::reload() {
    // Without a game there is no program to run; a made-up path would only mislead.
    const LaunchPreview preview =
        hasGameInstallation(launcher_) ? launchPreview(launcher_) : LaunchPreview{};
    const auto show = [](QLineEdit* field, const std::string& text) {
        field->setText(toQt(text));
        field->setCursorPosition(0); // the beginning: the program, and "wine" when it runs it
        field->setToolTip(field->text());
    };
    show(commandLine_, preview.commandLine);
    if (invocation_)
        show(invocation_, preview.invocation);
}

} // namespace kv::ui
