// The "Conflicts" view's look at a crowded game folder: 50 active archives of 5001 file
// records each, neighbours sharing most of their names, some named by the tables, the
// rest by hash and type. Budget: 300 ms for the whole look.
#include "common/paths.h"
#include "content/mod_conflicts.h"
#include "kdg/archive_reader.h"
#include "kdg/hex_text.h"
#include "tools/worldgen/content_files.h"
#include "tools/worldgen/kdg_writer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

using namespace kv;

constexpr int kArchives = 50;
constexpr int kEntries = 5001;
constexpr int kStride = 2000; // archive i holds names i*2000 ... i*2000+5000

struct CrowdedGame {
    std::string root;
    std::string game;
    content::OriginalKdgs originals;
    kdg::NameTables tables;

    CrowdedGame() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kvbench-XXXXXX").string();
        root = std::string(::mkdtemp(pattern.data())) + "/";
        game = root + "game/";
        std::filesystem::create_directories(game);
        const Paths paths = Paths::fromRoot(root + "kvs");
        worldgen::makeLauncherSkeleton(paths.launcherFolder, {"Game.kdg"});
        originals.load(paths);

        std::vector<kdg::FileNameRow> files;
        std::vector<kdg::TypeRow> types;
        for (std::uint32_t t = 0; t < 20; ++t)
            types.push_back(
                {"TYPE" + std::to_string(t), kdg::lowerHex(0x100 + t), "t" + std::to_string(t)});
        // The tables can name 5001 files: the first archives' files are named.
        for (int n = 0; n < kEntries; ++n)
            files.push_back({kdg::lowerHex(worldgen::kdgNameHash("file" + std::to_string(n))),
                             "file" + std::to_string(n) + ".dat", "DATA",
                             n % 3 == 0 ? "" : "group" + std::to_string(n % 7)});
        tables = kdg::NameTables(std::move(files), std::move(types));

        for (int a = 0; a < kArchives; ++a) {
            worldgen::KdgArchiveSpec plan;
            plan.internalName = "mod" + std::to_string(a);
            for (int s = 0; s < 10; ++s)
                plan.sections.push_back({0x5EC00000u + std::uint32_t(s), {}});
            for (int j = 0; j < kEntries; ++j) {
                const int n = a * kStride + j;
                worldgen::KdgFileSpec f;
                f.nameHash = worldgen::kdgNameHash("file" + std::to_string(n));
                f.typeId = 0x100 + std::uint32_t(n % 25);
                f.data = "map data"; // would be a map file if its data were read
                f.emptySlot = n % 97 == 0;
                plan.sections[std::size_t(j % 10)].files.push_back(std::move(f));
            }
            worldgen::writeKdgArchive(game + "Mod" + std::to_string(a) + ".kdg", plan);
        }
    }
    ~CrowdedGame() { std::filesystem::remove_all(root); }
};

void BM_ConflictsOfFiftyFullArchives(benchmark::State& state) {
    static const CrowdedGame world;
    for (auto _ : state) {
        const content::ConflictReport report =
            content::findModConflicts(world.game, world.originals, world.tables);
        if (report.mods.size() != kArchives || !report.damaged.empty() ||
            report.mods[0].entries.empty())
            state.SkipWithError("the archives were not compared");
        benchmark::DoNotOptimize(report.mods.data());
    }
}
BENCHMARK(BM_ConflictsOfFiftyFullArchives)->Unit(benchmark::kMillisecond);

// The share of the look that is reading the directories.
void BM_DirectoriesOfFiftyFullArchives(benchmark::State& state) {
    static const CrowdedGame world;
    for (auto _ : state) {
        for (int a = 0; a < kArchives; ++a) {
            kdg::KdgArchiveInfo info;
            if (!kdg::ReadArchiveDirectory(world.game + "Mod" + std::to_string(a) + ".kdg", info,
                                           world.tables))
                state.SkipWithError("archive not read");
            benchmark::DoNotOptimize(info.Entries.data());
        }
    }
}
BENCHMARK(BM_DirectoriesOfFiftyFullArchives)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
