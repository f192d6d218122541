// Map reading and drawing speed. Reading a 250 x 250 LND map is measured side by side
// with `wc -l` counting the lines of the same file (the goal: within 10 times); drawing
// every layer of it should stay under 20 ms, reading a 255 x 255 binary map under 5 ms.
#include "mapview/binary_map_reader.h"
#include "mapview/lnd_reader.h"
#include "mapview/map_layers.h"
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
    picture.setSize(model.mapWidth, model.mapHeight, int(state.range(0)));
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
BENCHMARK(BM_DrawAllLayers250)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

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
