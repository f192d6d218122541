#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>

#include "app/screenshot.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane Starter"));
    QApplication::setApplicationDisplayName(QString()); // the title stays exactly as set

    QMainWindow window;
    window.setObjectName(QStringLiteral("Main"));
    window.setWindowTitle(QStringLiteral("Korvane Starter"));
    window.resize(640, 480);
    window.show();

    kv::app::scheduleScreenshotIfAsked(window);
    return app.exec();
}
