// The yardstick of the start-up benchmark: a bare Qt window of 800x600 with one label,
// shown by a program that does nothing else.
#include "ui/first_paint.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 600);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("A bare window"), &window));
    kv::ui::exitAfterFirstPaintIfAsked(window);
    window.show();
    return app.exec();
}
