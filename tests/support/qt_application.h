#pragma once
// The one QApplication of a widget test program, made on first use and never destroyed:
// Qt's own globals may be gone by the time statics are torn down.
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace kv::test {

// A message box that no step of the test answers would otherwise wait for the CTest
// timeout. One that stays open for ten seconds fails the running test with its text and is
// rejected, so the test goes on to its next check.
inline void answerForgottenBoxes() {
    static QPointer<QMessageBox> seen;
    static int seconds = 0;
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    seconds = box && box == seen ? seconds + 1 : 0;
    seen = box;
    if (seconds < 10)
        return;
    ADD_FAILURE() << "a message box nobody answers: " << box->text().toStdString();
    box->done(QMessageBox::Rejected);
    seconds = 0;
}

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "kv_widget_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = [] {
        auto* created = QApplication::instance() ? qApp : new QApplication(argc, argv);
        auto* watch = new QTimer(created);
        QObject::connect(watch, &QTimer::timeout, &answerForgottenBoxes);
        watch->start(1000);
        return created;
    }();
    return *app;
}

} // namespace kv::test
