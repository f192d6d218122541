// Map reading and drawing speed. Reading a 250 x 250 LND map is measured side by side
// with `wc -l` counting the lines of the same file (the goal: within 10 times); drawing
// every layer of it should stay under 20 ms, reading a 255 x 255 binary map under 5 ms.
// A redraw of that map at 8x (2000 x 2000 pixels) is measured for what a window shows
// next to the whole picture.
#include "mapview/binary_map_reader.h"
#include "mapview/lnd_reader.h"
#include "mapview/map_layers.h"
#include "mapview/picture_render.h"
#include "platform/files.h"
#include "tools/worldgen/map_binary_writer.h"
#include "tools/worldgen/map_lnd_writer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace kv::mapview;

const std::string& lndPath() {
    static const std::string path = [] {
        kv::worldgen::LndMapSpec plan;
        plan.width = plan.height = 250;
        plan.seaLevel = 90;
        plan.tileHeight = [](int x, int y) { return kv::worldgen::hillHeight(x, y, 250, 250); };
        plan.texture = [](int x, int y) { return 1 + (x * 3 + y) % 91; };
        for (int i = 0; i < 400; ++i)
            plan.objects.push_back({"\"A0LightFactory\"", i % 8,
                                    kv::worldgen::worldXOfTile(i % 250, 250),
                                    kv::worldgen::worldYOfTile(i * 7 % 250, 250)});
        for (int i = 0; i < 40; ++i)
            plan.gateways.push_back({i * 6, 10, i * 6 + 5, 40});
        const std::string file =
            (std::filesystem::temp_directory_path() / "kv_bench_250.lnd").string();
        kv::platform::writeFileAtomic(file, kv::worldgen::writeLndMap(plan));
        return file;
    }();
    return path;
}

std::string folderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string() + "/";
}

void BM_ReadLnd250(benchmark::State& state) {
    const std::string& path = lndPath();
    kv::NoProgress progress;
    for (auto _ : state) {
        MapModel model;
        const LndLoadResult r = loadLndFile(path, folderOf(path), model, progress);
        if (r.outcome != ReadOutcome::Done)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(model.tiles.at(249, 249).height);
    }
}
BENCHMARK(BM_ReadLnd250)->Unit(benchmark::kMillisecond);

void BM_WcLines250(benchmark::State& state) {
    const std::string command = "wc -l < '" + lndPath() + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("wc failed");
    }
}
BENCHMARK(BM_WcLines250)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same count without the process start of `wc`: read the file, count line feeds.
void BM_CountLines250(benchmark::State& state) {
    for (auto _ : state) {
        std::string text;
        kv::platform::readFile(lndPath(), text);
        benchmark::DoNotOptimize(std::count(text.begin(), text.end(), '\n'));
    }
}
BENCHMARK(BM_CountLines250)->Unit(benchmark::kMillisecond);

MapModel& bigModel() {
    static MapModel model = [] {
        MapModel m;
        kv::NoProgress progress;
        std::string text;
        kv::platform::readFile(lndPath(), text);
        readLnd(text, m, progress);
        return m;
    }();
    return model;
}

void BM_DrawAllLayers250(benchmark::State& state) {
    MapModel& model = bigModel();
    MapPicture picture;
    picture.setSize(model.mapWidth, model.mapHeight, 1); // layers draw tiles at any zoom
    kv::NoProgress progress;
    for (auto _ : state) {
        drawTerrain(model, picture, progress);
        drawWater(model, picture, 90, progress);
        drawTextures(model, picture, progress);
        drawObjects(model, picture, progress);
        drawGateways(model, picture, progress);
        benchmark::DoNotOptimize(picture.image().bytes().data());
    }
}
BENCHMARK(BM_DrawAllLayers250)->Unit(benchmark::kMillisecond);

// The region of the 8x picture a window of width x height pixels shows, centred; a
// 2000 x 2000 region is the whole picture.
PixelRect centredRegion(const benchmark::State& state) {
    const int width = int(state.range(0)), height = int(state.range(1));
    return {(2000 - width) / 2, (2000 - height) / 2, width, height};
}

// Every layer drawn into the tiles, then the pixels at 8x with the grid.
void BM_Redraw8x(benchmark::State& state) {
    MapModel& model = bigModel();
    MapPicture picture;
    picture.setSize(model.mapWidth, model.mapHeight, 8);
    kv::NoProgress progress;
    const PixelRect region = centredRegion(state);
    RgbImage shown;
    for (auto _ : state) {
        drawTerrain(model, picture, progress);
        drawWater(model, picture, 90, progress);
        drawObjects(model, picture, progress);
        drawGateways(model, picture, progress);
        picture.renderRegion(region, true, {}, shown);
        benchmark::DoNotOptimize(shown.bytes().data());
    }
}
BENCHMARK(BM_Redraw8x)
    ->Args({600, 480})   // the viewer's first size
    ->Args({1280, 960})  // a large window
    ->Args({2000, 2000}) // the whole picture
    ->Unit(benchmark::kMillisecond);

// Only the pixels, as a pan or a wheel zoom repaints them without redrawing a layer.
void BM_Render8x(benchmark::State& state) {
    MapModel& model = bigModel();
    MapPicture picture;
    picture.setSize(model.mapWidth, model.mapHeight, 8);
    kv::NoProgress progress;
    drawTerrain(model, picture, progress);
    const PixelRect region = centredRegion(state);
    RgbImage shown;
    for (auto _ : state) {
        picture.renderRegion(region, true, {}, shown);
        benchmark::DoNotOptimize(shown.bytes().data());
    }
}
BENCHMARK(BM_Render8x)
    ->Args({600, 480})
    ->Args({1280, 960})
    ->Args({2000, 2000})
    ->Unit(benchmark::kMillisecond);

// The whole picture block by block, as files and the clipboard get it.
void BM_WholePicture8x(benchmark::State& state) {
    MapModel& model = bigModel();
    MapPicture picture;
    picture.setSize(model.mapWidth, model.mapHeight, 8);
    kv::NoProgress progress;
    drawTerrain(model, picture, progress);
    for (auto _ : state) {
        const RgbImage whole = picture.image(true);
        benchmark::DoNotOptimize(whole.bytes().data());
    }
}
BENCHMARK(BM_WholePicture8x)->Unit(benchmark::kMillisecond);

void BM_ReadBinary255(benchmark::State& state) {
    kv::worldgen::BinaryMapSpec plan;
    plan.width = plan.height = 255;
    plan.tile = [](int x, int y) {
        return kv::worldgen::BinaryTile{std::uint8_t(x % 90), std::uint8_t((x + y) % 3 * 72),
                                        std::uint8_t(x ^ y)};
    };
    const std::string bytes = kv::worldgen::writeBinaryMap(plan);
    std::vector<kv::worldgen::OilFeature> oil;
    for (int i = 1; i < 100; ++i)
        oil.push_back(kv::worldgen::oilOnTile(i * 2, i));
    const std::string features = kv::worldgen::writeFeatures(oil);
    for (auto _ : state) {
        MapModel model;
        readBinaryMap(bytes, model);
        readFeatures(features, model);
        benchmark::DoNotOptimize(model.tiles.at(254, 254).height);
    }
}
BENCHMARK(BM_ReadBinary255)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
