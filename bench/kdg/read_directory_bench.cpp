// Reading the directory of a full archive: 5001 file records in 50 KRF sections, most
// named by the tables, the rest by their map signatures or their type. Budget: 5 ms.
#include "kdg/archive_reader.h"
#include "tools/worldgen/kdg_writer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace {

using namespace kv;

struct BigArchive {
    std::string image;
    kdg::NameTables tables;
};

const BigArchive& bigArchive() {
    static const BigArchive archive = [] {
        const char* signatures[] = {"dint", "feat", "map ", "stru", "tagl", "ttyp", "game", "junk"};
        worldgen::KdgArchiveSpec plan;
        plan.internalName = "bench";
        plan.required = {{"korvane", 0}, {"NewMaps", 2}};
        std::vector<kdg::FileNameRow> files;
        std::vector<kdg::TypeRow> types;
        for (int t = 0; t < 40; ++t)
            types.push_back(
                {"TYPE" + std::to_string(t), std::to_string(1000 + t), "t" + std::to_string(t)});
        int n = 0;
        for (int s = 0; s < 50; ++s) {
            worldgen::KdgSectionSpec section{0x5EC00000u + std::uint32_t(s), {}};
            const int count = s == 0 ? 101 : 100;
            for (int i = 0; i < count; ++i, ++n) {
                worldgen::KdgFileSpec f;
                f.nameHash = worldgen::kdgNameHash("file" + std::to_string(n));
                f.typeId = 0x1000 + std::uint32_t(n % 45);
                f.data = std::string(signatures[n % 8]) + std::string(60 + n % 200, 'x');
                if (n % 3 != 0) { // two thirds named by the table
                    char hex[16];
                    std::snprintf(hex, sizeof hex, "%x", f.nameHash);
                    files.push_back({hex, "file" + std::to_string(n) + ".dat", "DATA",
                                     "group" + std::to_string(n % 7)});
                }
                f.emptySlot = n % 97 == 0;
                section.files.push_back(std::move(f));
            }
            plan.sections.push_back(std::move(section));
        }
        return BigArchive{worldgen::buildKdgArchive(plan),
                          kdg::NameTables(std::move(files), std::move(types))};
    }();
    return archive;
}

void BM_ReadDirectoryFromMemory(benchmark::State& state) {
    const BigArchive& a = bigArchive();
    for (auto _ : state) {
        kdg::KdgArchiveInfo info;
        if (!kdg::readArchiveImage(a.image, a.tables, info) || info.Entries.size() != 5001)
            state.SkipWithError("archive not read");
        benchmark::DoNotOptimize(info.Entries.data());
    }
}
BENCHMARK(BM_ReadDirectoryFromMemory)->Unit(benchmark::kMillisecond);

void BM_ReadDirectoryFromFile(benchmark::State& state) {
    const BigArchive& a = bigArchive();
    const std::string path =
        (std::filesystem::temp_directory_path() / "kdg_bench_directory.kdg").string();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(a.image.data(), 1, a.image.size(), f);
        std::fclose(f);
    }
    for (auto _ : state) {
        kdg::KdgArchiveInfo info;
        if (!kdg::LoadArchiveInfo(path, info, a.tables) || info.Entries.size() != 5001)
            state.SkipWithError("archive not read");
        benchmark::DoNotOptimize(info.Entries.data());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadDirectoryFromFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
