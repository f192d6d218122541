// kvstool map: the viewer's statistics, check, conversion and drawing without a display.
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"

#include "mapview/binary_map_reader.h"
#include "mapview/lnd_converter.h"
#include "mapview/lnd_reader.h"
#include "mapview/map_check.h"
#include "mapview/map_statistics.h"
#include "mapview/map_viewer.h"
#include "mapview/png_writer.h"
#include "mapview/view_geometry.h"
#include "platform/files.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>

namespace kv::tool {

namespace {

using namespace kv::mapview;

const char kUsage[] = "usage: kvstool map info FILE\n"
                      "       kvstool map check FILE\n"
                      "       kvstool map convert MAP OUT.lnd\n"
                      "       kvstool map render FILE OUT.png [--layers terrain,water,textures,"
                      "objects,gateways] [--zoom 1|2|3|4|6|8] [--grid] [--sea-level N]\n";

const Area kArea("map", kUsage);

bool endsWithMap(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".map";
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Reads an LND file, or a binary map with the "Feat.bjo" beside it. Files are never
// rewritten here, so LF-only LND files are read as they are.
std::optional<MapModel> loadMap(const std::string& path) {
    std::string bytes;
    if (platform::Status s = platform::readFile(path, bytes, kMapFileReadLimit); !s) {
        kArea.failure(path + ": " + s.description);
        return std::nullopt;
    }
    MapModel model;
    if (endsWithMap(path)) {
        readBinaryMap(bytes, model);
        std::string features;
        if (platform::readFile(folderOf(path) + "Feat.bjo", features, kMapFileReadLimit))
            readFeatures(features, model);
        else
            std::fputs("'Feat.bjo' was not found, unable to load features.\n", stderr);
        return model;
    }
    NoProgress progress;
    const ReadOutcome outcome = readLnd(bytes, model, progress);
    if (outcome != ReadOutcome::Done) {
        kArea.failure(path + ": " + readOutcomeText(outcome));
        return std::nullopt;
    }
    return model;
}

int info(const std::string& path) {
    const auto model = loadMap(path);
    if (!model)
        return 1;
    const MapStatistics s = mapStatistics(*model);
    std::printf("Mode: %s\n", sourceModeName(model->sourceMode));
    if (!model->dataSet.empty())
        std::printf("DataSet: %s\n", model->dataSet.c_str());
    std::printf("MapHeight: %d\nMapWidth: %d\nTiles: %d\nSeaLevel: %d\nGateways: %d\n"
                "Objects: %d\n",
                s.mapHeight, s.mapWidth, s.area, s.seaLevel, s.gatewayCount, s.objectCount);
    for (std::size_t i = 0; i < s.names.size(); ++i)
        std::printf("%s\t%s\t%s\n", s.names[i].c_str(), s.positions[i].c_str(),
                    s.players[i].c_str());
    return 0;
}

int check(const std::string& path) {
    auto model = loadMap(path);
    if (!model)
        return 1;
    // The faults are printed by the hook; every repair offer is declined.
    struct QuietUi : DialoglessUi {
        Answer message(const std::string&, Icon, Buttons b, const std::string&) override {
            return b == Buttons::Ok ? Answer::Ok : Answer::No;
        }
    } ui;
    MapCheckHooks hooks;
    hooks.fault = [](const std::string& text) { std::printf("%s\n", text.c_str()); };
    if (CheckForBugs_LoadedMap(*model, ui, hooks) > 0)
        return 1;
    std::puts("No erros were found");
    return 0;
}

int convert(const std::string& mapPath, const std::string& lndPath) {
    const auto model = loadMap(mapPath);
    if (!model)
        return 1;
    if (model->sourceMode != SourceMode::Kdg) {
        std::fputs("Load a *.map file first!\n", stderr);
        return 1;
    }
    if (platform::Status s = writeConvertedLnd(lndPath, *model); !s) {
        kArea.failure(lndPath + ": " + s.description);
        return 1;
    }
    std::puts("Done!");
    return 0;
}

std::optional<ViewLayers> parseLayers(const std::string& list) {
    ViewLayers layers{false, false, false, false, false};
    std::stringstream in(list);
    for (std::string name; std::getline(in, name, ',');) {
        if (name == "terrain")
            layers.landscape = true;
        else if (name == "water")
            layers.water = true;
        else if (name == "textures")
            layers.textures = true;
        else if (name == "objects")
            layers.objects = true;
        else if (name == "gateways")
            layers.gateways = true;
        else
            return std::nullopt;
    }
    return layers;
}

int render(const std::vector<std::string>& args) {
    ViewLayers layers;
    int zoom = 1;
    bool grid = false;
    std::optional<int> seaLevel;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--layers" && hasValue) {
            const auto parsed = parseLayers(args[++i]);
            if (!parsed)
                return kArea.badValue("--layers", args[i]);
            layers = *parsed;
        } else if (args[i] == "--zoom" && hasValue) {
            zoom = std::atoi(args[++i].c_str());
            if (!isZoomStep(zoom) || std::to_string(zoom) != args[i])
                return kArea.badValue("--zoom", args[i]);
        } else if (args[i] == "--grid") {
            grid = true;
        } else if (args[i] == "--sea-level" && hasValue) {
            seaLevel = std::atoi(args[++i].c_str());
            if (std::to_string(*seaLevel) != args[i])
                return kArea.badValue("--sea-level", args[i]);
        } else {
            return kArea.usage("unknown option " + args[i]);
        }
    }
    auto model = loadMap(args[0]);
    if (!model)
        return 1;
    ConsoleUi ui;
    ui.showQuestions = false;
    NoProgress progress;
    MapViewer viewer(ui, progress, {});
    viewer.setModel(std::move(*model));
    viewer.layers = layers;
    viewer.setZoomStep(zoom);
    if (seaLevel)
        viewer.setSeaLevel(*seaLevel);
    viewer.refreshAll();
    if (platform::Status s =
            platform::writeFileAtomic(args[1], encodePng(viewer.picture().image(grid)));
        !s) {
        kArea.failure(args[1] + ": " + s.description);
        return 1;
    }
    return 0;
}

} // namespace

int runMapCommand(const std::vector<std::string>& args) {
    if (kArea.helpAsked(args))
        return 0;
    const std::string command = args.empty() ? std::string() : args[0];
    const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    int code = 2;
    if (command == "info" && rest.size() == 1)
        code = info(rest[0]);
    else if (command == "check" && rest.size() == 1)
        code = check(rest[0]);
    else if (command == "convert" && rest.size() == 2)
        code = convert(rest[0], rest[1]);
    else if (command == "render" && rest.size() >= 2)
        code = render(rest);
    return code == 2 ? kArea.usage() : code;
}

} // namespace kv::tool
