#pragma once
// The map viewer window ("VUV Ozarev - " + file name): opens LND and binary maps, draws
// them in layers, zooms and pans the picture, shows the tile under the pointer and hosts the
// statistics, check and converter windows. The state and operations live in mapview::MapViewer.
#include "common/ui_port.h"
#include "mapview/map_viewer.h"
#include "ui/mapview/pumping_progress.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QSlider;
class QTimer;

namespace kv::ui {

class Form2;
class Form4;
class MapPictureWidget;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // `programFolder` keeps the original of an LND file that gets reformatted. Without a
    // `ui`, messages and file dialogs are Qt dialogs over this window.
    explicit Form1(std::string programFolder, Ui* ui = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    // Creates the viewer as an independent window that deletes itself when closed, shows
    // it and returns it (the main window's Tools entry "VUVozarev (beta)...").
    static Form1* showViewer(const std::string& programFolder, QWidget* parent = nullptr);

    // The open commands after their file dialog.
    bool openLndFile(const std::string& path);
    bool openBinaryMapFile(const std::string& path);

    mapview::MapViewer& viewer() { return viewer_; }
    MapPictureWidget* picture() const { return picture_; }
    Ui& ui() { return *ui_; }
    void setStatusText(const std::string& text);
    // The statistics window's position marker on a tile, or hidden.
    void markTile(std::optional<std::pair<int, int>> tile);
    bool busy() const { return busy_; }
    // A layer entry or a slider changed and the picture is not yet redrawn.
    bool redrawPending() const { return redrawPending_; }
    // Sets the view's zoom step, keeping the tile under `anchor` (a picture-area position).
    void zoomTo(int zoom, QPoint anchor);

    // Menu commands.
    void OpenLnd();
    void OpenBinaryMap();
    void showStatistics();
    void showCheck();
    void showConverter();
    void copyPicture();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildBody();
    void setBusy(bool busy);
    void updatePicture();
    void pointerMoved(int x, int y);
    void afterLoad();
    void redrawSoon();
    void redrawNow();
    void showSliderValues();

    std::unique_ptr<Ui> ownUi_;
    Ui* ui_;
    PumpingProgress progress_;
    mapview::MapViewer viewer_;
    MapPictureWidget* picture_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QMenu* refreshMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QAction* stopAction_ = nullptr;
    QSlider* heightSlider_ = nullptr;
    QSlider* seaSlider_ = nullptr;
    QLabel* heightValue_ = nullptr;
    QLabel* seaValue_ = nullptr;
    QAction* zoomAction_ = nullptr;
    QTimer* redrawTimer_ = nullptr;
    QListWidget* infoList_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* statusX_ = nullptr;
    QLabel* statusY_ = nullptr;
    QLabel* statusHeight_ = nullptr;
    QLabel* statusObject_ = nullptr;
    QLabel* statusZoom_ = nullptr;
    Form2* form2_ = nullptr;
    Form4* form4_ = nullptr;
    bool busy_ = false;
    bool closePending_ = false;
    bool redrawPending_ = false;
};

} // namespace kv::ui
