#include "ui/qt_ui.h"

#include "ui/qt_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace kv::ui {

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton escape;
};

ButtonSet qtButtons(Buttons buttons) {
    using B = QMessageBox;
    switch (buttons) {
    case Buttons::OkCancel:
        return {B::Ok | B::Cancel, B::Cancel};
    case Buttons::AbortRetryIgnore:
        return {B::Abort | B::Retry | B::Ignore, B::Abort};
    case Buttons::YesNoCancel:
        return {B::Yes | B::No | B::Cancel, B::Cancel};
    case Buttons::YesNo:
        return {B::Yes | B::No, B::No};
    case Buttons::RetryCancel:
        return {B::Retry | B::Cancel, B::Cancel};
    case Buttons::Ok:
        break;
    }
    return {B::Ok, B::Ok};
}

QMessageBox::StandardButton toStandardButton(Answer answer) {
    switch (answer) {
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Abort:
        return QMessageBox::Abort;
    case Answer::Retry:
        return QMessageBox::Retry;
    case Answer::Ignore:
        return QMessageBox::Ignore;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

Answer toAnswer(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString titleOr(const std::string& title) {
    return title.empty() ? QStringLiteral("Korvane Starter") : toQt(title);
}

} // namespace

QString toQtFilter(const std::string& filter) {
    const QStringList parts = toQt(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

std::unique_ptr<QMessageBox> makeMessageBox(const std::string& text, Icon icon, Buttons buttons,
                                            const std::string& title, QWidget* parent,
                                            std::optional<Answer> defaultButton) {
    // Texts carry CR LF or a lone CR where the system's messages break lines; Qt wants LF.
    QString shown = toQt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    auto box = std::make_unique<QMessageBox>(qtIcon(icon), titleOr(title), shown,
                                             QMessageBox::NoButton, parent);
    // Texts come from peers, servers and description files too: markup in them is shown as
    // the characters it is, never rendered, and no link in them can be clicked.
    box->setTextFormat(Qt::PlainText);
    const ButtonSet set = qtButtons(buttons);
    box->setStandardButtons(set.buttons);
    box->setEscapeButton(set.escape);
    // A default the box does not have leaves Qt's own choice.
    if (defaultButton)
        if (auto* b = qobject_cast<QPushButton*>(box->button(toStandardButton(*defaultButton))))
            box->setDefaultButton(b);
    return box;
}

Answer QtUi::message(const std::string& text, Icon icon, Buttons buttons,
                     const std::string& title) {
    return toAnswer(makeMessageBox(text, icon, buttons, title, parent_)->exec());
}

Answer QtUi::messageWithDefault(const std::string& text, Icon icon, Buttons buttons,
                                const std::string& title, Answer defaultButton) {
    return toAnswer(makeMessageBox(text, icon, buttons, title, parent_, defaultButton)->exec());
}

std::optional<std::string> QtUi::input(const std::string& prompt, const std::string& title,
                                       const std::string& defaultText) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, titleOr(title), toQt(prompt),
                                                 QLineEdit::Normal, toQt(defaultText), &ok);
    if (!ok)
        return std::nullopt;
    return fromQt(answer);
}

std::optional<std::string> QtUi::openFile(const std::string& title, const std::string& filter,
                                          const std::string& initialFolder) {
    const QString file = QFileDialog::getOpenFileName(parent_, titleOr(title), toQt(initialFolder),
                                                      toQtFilter(filter));
    if (file.isEmpty())
        return std::nullopt;
    return fromQt(QDir::toNativeSeparators(file));
}

std::optional<std::string> QtUi::saveFile(const std::string& title, const std::string& filter,
                                          const std::string& initialFolder,
                                          const std::string& defaultName) {
    QString start = toQt(initialFolder);
    if (!defaultName.empty())
        start = QDir(start).filePath(toQt(defaultName));
    const QString file =
        QFileDialog::getSaveFileName(parent_, titleOr(title), start, toQtFilter(filter));
    if (file.isEmpty())
        return std::nullopt;
    return fromQt(QDir::toNativeSeparators(file));
}

std::optional<std::string> QtUi::pickFolder(const std::string& title,
                                            const std::string& initialFolder) {
    QString folder =
        QFileDialog::getExistingDirectory(parent_, titleOr(title), toQt(initialFolder));
    if (folder.isEmpty())
        return std::nullopt;
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return fromQt(folder);
}

std::optional<int> QtUi::choose(const std::string& title, const std::vector<std::string>& items,
                                int current) {
    QStringList list;
    for (const auto& item : items)
        list << toQt(item);
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(parent_, titleOr(title), titleOr(title), list, current, false, &ok);
    if (!ok)
        return std::nullopt;
    return int(list.indexOf(chosen));
}

void QtUi::pumpEvents() {
    QCoreApplication::processEvents();
}

} // namespace kv::ui
