#pragma once
// The map viewer's state and operations: loading, the view layers, sliders, pointer
// information, check and conversion. The viewer window mirrors this object; it reaches
// the user only through the Ui port and reports long work through Progress.
#include "common/progress.h"
#include "common/ui_port.h"
#include "mapview/map_check.h"
#include "mapview/map_model.h"
#include "mapview/map_picture.h"

#include <functional>
#include <optional>
#include <string>

namespace kv::mapview {

// The view menu's checked entries.
struct ViewLayers {
    bool landscape = true; // ShowLandscape
    bool water = true;     // Water
    bool textures = false; // ShowTextures
    bool objects = true;   // ShowObjects
    bool gateways = true;  // showGateways
};

// What the status bar shows for the tile under the pointer.
struct PointerInfo {
    int x = 0, y = 0;
    int height = 0;         // limited to 0 … 255
    std::string objectName; // empty when no object lies there
};

class MapViewer {
public:
    // `programFolder` receives the kept copy of an LND file that gets reformatted.
    MapViewer(Ui& ui, Progress& progress, std::string programFolder);

    const MapModel& model() const { return model_; }
    MapModel& model() { return model_; }
    const MapPicture& picture() const { return picture_; }
    bool loaded() const { return model_.sourceMode != SourceMode::None; }
    const std::string& caption() const { return caption_; }

    ViewLayers layers;

    // Window hooks: menus disabled while busy; the picture changed; the sea-level slider
    // must show a new value.
    std::function<void(bool busy)> onBusyChanged;
    std::function<void()> onPictureChanged;
    std::function<void(int)> onSeaLevelLoaded;

    // OpenLnd / OpenBinaryMap after the file dialog. True when a map was read.
    bool openLnd(const std::string& path);
    bool openBinaryMap(const std::string& path);

    // Shows a model read elsewhere (the command line, tests); nothing is drawn yet.
    void setModel(MapModel model, const std::string& caption = {});

    void refreshAll(); // refreshAll_Click
    // refreshAll after a layer entry or a slider changed: an unknown data set is reported
    // once per map, not at every step of a slider.
    void redraw();
    void refreshMap();                   // RefreshTerrain
    void refreshWater();                 // waterRefresh
    void refreshTextures();              // refreshtexturesMenu
    void refreshObjects();               // refreshObjects
    void refreshGateways();              // refreshGateways
    void refreshPicture();               // refreshPicture: repaint from the colour buffer
    void requestStop() { stop_ = true; } // StopMenu

    void setZoom(bool on);      // the zoom entry: 2 or 1
    void setZoomStep(int zoom); // any of the window's zoom steps; the tiles are kept
    int zoom() const { return picture_.zoom(); }
    void setHeightSlider(int value); // Slider1: shifts every height by the change
    int heightSlider() const { return heightSlider_; }
    void setSeaLevel(int value); // Slider2
    int seaLevelSlider() const { return seaLevelSlider_; }

    // The tile under a picture pixel.
    PointerInfo pointerInfo(int pixelX, int pixelY) const;
    // Click on the picture ("lnd" mode): the height and object box, when inside the map.
    void click(int pixelX, int pixelY);

    int check(const MapCheckHooks& hooks = {}); // CheckForBugs_LoadedMap
    void convert();                             // the converter window's write button

private:
    // The window's progress plus this viewer's stop flag.
    class StopAwareProgress : public Progress {
    public:
        StopAwareProgress(Progress& outer, const bool& stop) : outer_(outer), stop_(stop) {}
        void setStatus(const std::string& text) override { outer_.setStatus(text); }
        void setProgress(std::uint64_t c, std::uint64_t t) override { outer_.setProgress(c, t); }
        bool stopRequested() override { return stop_ || outer_.stopRequested(); }

    private:
        Progress& outer_;
        const bool& stop_;
    };

    void begin();
    void end(bool finished);
    void sizePicture();
    void adoptLoadedModel();
    void drawAll(bool reportDataSet);
    bool drawLandscapeStep(bool reportDataSet);
    void reportUnknownDataSet();
    bool drawWaterStep();

    Ui& ui_;
    bool stop_ = false;
    StopAwareProgress progress_;
    std::string programFolder_;
    MapModel model_;
    MapPicture picture_;
    std::string caption_;
    int heightSlider_ = 0;
    int seaLevelSlider_ = 100;
    bool dataSetReported_ = false;
};

inline constexpr const char* kLndFilter = "LND files| *.lnd|All files|*.*";
inline constexpr const char* kMapFilter = "MAP files| *.map|All files|*.*";

} // namespace kv::mapview
