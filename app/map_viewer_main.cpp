// kvmapview [MAP]: the map viewer on its own, for map makers and the desktop's "open
// with". An ".lnd" file opens as an LND map, anything else as a binary map.
#include "app/screenshot.h"
#include "core/launcher_folder.h"
#include "ui/mapview/form1.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane Starter"));
    QApplication::setApplicationDisplayName(QString());

    // Reformatted LND files keep their originals in the launcher's folder.
    const kv::LauncherFolderChoice folder =
        kv::chooseLauncherFolder(kv::ui::fromQt(QApplication::applicationDirPath()));
    kv::ui::Form1 viewer(folder.folder);
    viewer.show();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QString map = arguments.at(1);
        const std::string path = kv::ui::fromQt(QFileInfo(map).absoluteFilePath());
        if (map.endsWith(QStringLiteral(".lnd"), Qt::CaseInsensitive))
            viewer.openLndFile(path);
        else
            viewer.openBinaryMapFile(path);
    }
    kv::app::scheduleScreenshotIfAsked(viewer);
    return app.exec();
}
