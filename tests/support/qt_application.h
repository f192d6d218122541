#pragma once
// The one QApplication of a widget test program, made on first use and never destroyed:
// Qt's own globals may be gone by the time statics are torn down.
#include <QApplication>

namespace kv::test {

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "kv_widget_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = QApplication::instance() ? qApp : new QApplication(argc, argv);
    return *app;
}

} // namespace kv::test
