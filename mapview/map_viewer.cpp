#include "mapview/map_viewer.h"

#include "common/error_box.h"
#include "mapview/binary_map_reader.h"
#include "mapview/lnd_converter.h"
#include "mapview/lnd_reader.h"
#include "mapview/map_layers.h"
#include "platform/files.h"

#include <algorithm>

namespace kv::mapview {

namespace {

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

MapViewer::MapViewer(Ui& ui, Progress& progress, std::string programFolder)
    : ui_(ui), progress_(progress, stop_), programFolder_(std::move(programFolder)) {}

void MapViewer::begin() {
    stop_ = false;
    if (onBusyChanged)
        onBusyChanged(true);
}

void MapViewer::end(bool finished) {
    // "Stopped" only when a step saw the stop flag. A refused file has finished too: its box
    // says why, and a status reading "Stopped" would suggest the user broke something off.
    progress_.setStatus(finished ? "Ready" : "Stopped");
    if (onPictureChanged)
        onPictureChanged();
    if (onBusyChanged)
        onBusyChanged(false);
}

void MapViewer::sizePicture() {
    picture_.setSize(model_.mapWidth, model_.mapHeight, picture_.zoom());
}

bool MapViewer::openLnd(const std::string& path) {
    begin();
    model_.seaLevel = 100;
    caption_ = "VUV Ozarev - " + fileNameOf(path);
    heightSlider_ = 0;
    const LndLoadResult r = loadLndFile(path, programFolder_, model_, progress_);
    if (!r.status)
        showErrorBox(ui_, r.status.code, r.status.description, "OpenLnd");
    if (r.outcome == ReadOutcome::WrongFormat || r.outcome == ReadOutcome::TooLarge ||
        r.outcome == ReadOutcome::FileError) {
        if (r.outcome != ReadOutcome::FileError)
            ui_.message(readOutcomeText(r.outcome), Icon::Critical);
        // What was read before the refusal is no map: the check and the converter must
        // not work on it.
        model_ = MapModel{};
        picture_.clear();
        end(true);
        return false;
    }
    adoptLoadedModel();
    if (onBusyChanged)
        onBusyChanged(false);
    if (r.outcome == ReadOutcome::Stopped || stop_) {
        end(false);
        return true;
    }
    refreshAll();
    return true;
}

bool MapViewer::openBinaryMap(const std::string& path) {
    begin();
    progress_.setStatus("Loading file...");
    std::string bytes;
    if (platform::Status s = platform::readFile(path, bytes, kMapFileReadLimit); !s) {
        showErrorBox(ui_, s.code, s.description, "OpenBinaryMap");
        end(true);
        return false;
    }
    caption_ = "VUV Ozarev - " + fileNameOf(path);
    heightSlider_ = 0;
    readBinaryMap(bytes, model_);
    const std::string features = folderOf(path) + "Feat.bjo";
    std::string featureBytes;
    if (platform::fileExists(features) &&
        platform::readFile(features, featureBytes, kMapFileReadLimit))
        readFeatures(featureBytes, model_);
    else
        ui_.message("'Feat.bjo' was not found, unable to load features.", Icon::Exclamation);
    adoptLoadedModel();
    if (onBusyChanged)
        onBusyChanged(false);
    refreshAll();
    return true;
}

void MapViewer::setModel(MapModel model, const std::string& caption) {
    model_ = std::move(model);
    caption_ = caption;
    heightSlider_ = 0;
    adoptLoadedModel();
}

void MapViewer::adoptLoadedModel() {
    seaLevelSlider_ = model_.seaLevel;
    if (onSeaLevelLoaded)
        onSeaLevelLoaded(model_.seaLevel);
    sizePicture();
    picture_.clearBuffer();
    dataSetReported_ = false;
}

void MapViewer::reportUnknownDataSet() {
    dataSetReported_ = true;
    ui_.message("Unknown dataset: '" + model_.dataSet + "'", Icon::Exclamation);
}

bool MapViewer::drawLandscapeStep(bool reportDataSet) {
    if (model_.sourceMode == SourceMode::Kdg) {
        bool ok = true;
        if (layers.landscape)
            ok = drawTerrain(model_, picture_, progress_);
        if (ok && layers.textures)
            ok = drawBinaryTextures(model_, picture_, progress_);
        return ok;
    }
    if (layers.textures) {
        if (!isKnownDataSet(model_.dataSet)) {
            if (reportDataSet || !dataSetReported_)
                reportUnknownDataSet();
            return true;
        }
        return drawTextures(model_, picture_, progress_);
    }
    if (layers.landscape)
        return drawTerrain(model_, picture_, progress_);
    return true;
}

bool MapViewer::drawWaterStep() {
    return drawWater(model_, picture_, seaLevelSlider_, progress_);
}

void MapViewer::refreshAll() {
    drawAll(true);
}

void MapViewer::redraw() {
    drawAll(false);
}

void MapViewer::drawAll(bool reportDataSet) {
    if (!loaded())
        return;
    begin();
    // MapFile_refreshPreview in "kdg" mode: terrain, textures, objects.
    bool ok = drawLandscapeStep(reportDataSet);
    if (ok && layers.water && model_.sourceMode == SourceMode::Lnd)
        ok = drawWaterStep();
    if (ok && layers.objects)
        ok = drawObjects(model_, picture_, progress_);
    if (ok && layers.gateways && model_.sourceMode == SourceMode::Lnd)
        ok = drawGateways(model_, picture_, progress_);
    end(ok);
}

void MapViewer::refreshMap() {
    if (!loaded())
        return;
    begin();
    end(drawTerrain(model_, picture_, progress_));
}

void MapViewer::refreshWater() {
    if (!loaded())
        return;
    begin();
    bool ok = drawWaterStep();
    if (ok && layers.objects)
        ok = drawObjects(model_, picture_, progress_);
    end(ok);
}

void MapViewer::refreshTextures() {
    if (!loaded())
        return;
    if (model_.sourceMode == SourceMode::Kdg) {
        ui_.message("This function is enabled only for lnd files in beta version of VUVozarev");
        return;
    }
    if (!isKnownDataSet(model_.dataSet)) {
        reportUnknownDataSet();
        return;
    }
    begin();
    end(drawTextures(model_, picture_, progress_));
}

void MapViewer::refreshObjects() {
    if (!loaded())
        return;
    begin();
    end(drawObjects(model_, picture_, progress_));
}

void MapViewer::refreshGateways() {
    if (!loaded())
        return;
    begin();
    end(drawGateways(model_, picture_, progress_));
}

void MapViewer::refreshPicture() {
    progress_.setStatus("Refreshing picture...");
    picture_.repaintFromBuffer();
    progress_.setStatus("Ready");
    if (onPictureChanged)
        onPictureChanged();
}

void MapViewer::setZoom(bool on) {
    picture_.setZoom(on ? 2 : 1);
}

void MapViewer::setZoomStep(int zoom) {
    picture_.setZoom(zoom);
}

void MapViewer::setHeightSlider(int value) {
    const int delta = value - heightSlider_;
    heightSlider_ = value;
    for (int x = 0; x < model_.mapWidth; ++x)
        for (int y = 0; y < model_.mapHeight; ++y)
            if (MapTile* tile = model_.tiles.find(x, y))
                tile->height += delta;
}

void MapViewer::setSeaLevel(int value) {
    seaLevelSlider_ = value;
    model_.seaLevel = value;
}

PointerInfo MapViewer::pointerInfo(int pixelX, int pixelY) const {
    PointerInfo info;
    const int zoom = picture_.zoom();
    info.x = pixelX >= 0 ? pixelX / zoom : -((-pixelX + zoom - 1) / zoom);
    info.y = pixelY >= 0 ? pixelY / zoom : -((-pixelY + zoom - 1) / zoom);
    info.height = std::clamp(model_.tiles.at(info.x, info.y).height, 0, 255);
    for (const MapObject& o : model_.visibleObjects()) {
        if (o.x == info.x && o.y == info.y) {
            info.objectName = o.name;
            break;
        }
    }
    return info;
}

void MapViewer::click(int pixelX, int pixelY) {
    if (model_.sourceMode != SourceMode::Lnd)
        return;
    const PointerInfo info = pointerInfo(pixelX, pixelY);
    if (info.x < 0 || info.y < 0 || info.x >= model_.mapWidth || info.y >= model_.mapHeight)
        return;
    std::string text = "Height: " + std::to_string(info.height);
    for (const MapObject& o : model_.objects)
        if (o.x == info.x && o.y == info.y)
            text += "\r\nObject found: " + o.name;
    ui_.message(text);
}

int MapViewer::check(const MapCheckHooks& hooks) {
    return CheckForBugs_LoadedMap(model_, ui_, hooks);
}

void MapViewer::convert() {
    if (model_.sourceMode != SourceMode::Kdg) {
        ui_.message("Load a *.map file first!", Icon::Exclamation);
        return;
    }
    const auto target = ui_.saveFile("Save LND file", kLndFilter, {}, "Map.lnd");
    if (!target)
        return;
    if (platform::Status s = writeConvertedLnd(*target, model_); !s) {
        showErrorBox(ui_, s.code, s.description, "ConvertToLnd");
        return;
    }
    ui_.message("Done!", Icon::Information);
}

} // namespace kv::mapview
