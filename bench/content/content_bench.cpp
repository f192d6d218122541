// Catalogue scan of a large AI library and one full install for eight players.
#include "common/dialogless_ui.h"
#include "common/paths.h"
#include "content/catalogue_scan.h"
#include "content/install.h"
#include "platform/files.h"
#include "tools/worldgen/content_files.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

// Answers every question with its first button and remembers nothing.
class SilentUi : public kv::DialoglessUi {
public:
    int messages = 0;
    kv::Answer message(const std::string&, kv::Icon, kv::Buttons b, const std::string&) override {
        ++messages;
        return b == kv::Buttons::YesNo ? kv::Answer::Yes : kv::Answer::Ok;
    }
};

struct World {
    std::string root;
    kv::Paths paths;
    std::string game;

    explicit World(int ais, size_t aiBytes) {
        std::string pattern = (std::filesystem::temp_directory_path() / "kvbench-XXXXXX").string();
        root = std::string(::mkdtemp(pattern.data())) + "/";
        paths = kv::Paths::fromRoot(root + "kvs");
        game = root + "game/";
        kv::worldgen::makeLauncherSkeleton(paths.launcherFolder, {"Game.kdg"});
        kv::worldgen::makeGameSkirmishFolder(game);
        kv::worldgen::DescriptionSpec d;
        d.description = "A benchmark AI\\nwith two lines";
        d.authorHomepage = "http://example.org/ai";
        d.basesState = 2;
        for (int i = 0; i < ais; ++i) {
            const std::string name = "AI " + std::to_string(i);
            kv::worldgen::writeContentFile(paths.aiFolder + name + ".kvai",
                                           kv::worldgen::sampleAiFile(name, aiBytes));
            if (i % 2 == 0)
                kv::worldgen::writeContentFile(paths.aiIniFolder + name + ".ini",
                                               kv::worldgen::descriptionFileText(d));
        }
        kv::worldgen::writeRulesSet(paths.launcherFolder, "Hard", "hard");
    }
    ~World() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

void CatalogueScan1000(benchmark::State& st) {
    World world(1000, 50 * 1024);
    SilentUi ui;
    kv::content::ContentState state;
    const kv::content::ContentEnv env{world.paths, world.game, ui};
    for (auto _ : st) {
        kv::content::CustomAIList_fill(state, env);
        benchmark::DoNotOptimize(state.ais.records.size());
    }
    if (state.ais.records.size() != 1000 || ui.messages != 0)
        st.SkipWithError("catalogue incomplete");
}
BENCHMARK(CatalogueScan1000)->Unit(benchmark::kMillisecond);

// `rotate`: every install gives each player another AI, so every script is rewritten;
// otherwise the choices stay and unchanged scripts are left in place.
void installEightPlayers(benchmark::State& st, bool rotate) {
    World world(16, 50 * 1024);
    SilentUi ui;
    kv::content::ContentState state;
    const kv::content::ContentEnv env{world.paths, world.game, ui};
    kv::content::CustomAIList_fill(state, env);
    kv::content::CustomRulesList_fill(state, env);
    state.choices.selectRules("Hard");
    int round = 0;
    for (auto _ : st) {
        for (int p = 0; p < 8; ++p)
            state.choices.selectAI(p, "AI " + std::to_string((p + (rotate ? round : 0)) % 16));
        ++round;
        if (!kv::content::makeSloVlo(state, env, {1}))
            st.SkipWithError("install failed");
    }
}

void MakeSloVloEightPlayers(benchmark::State& st) {
    installEightPlayers(st, false);
}
void MakeSloVloEightPlayersAllChanged(benchmark::State& st) {
    installEightPlayers(st, true);
}
BENCHMARK(MakeSloVloEightPlayers)->Unit(benchmark::kMillisecond);
BENCHMARK(MakeSloVloEightPlayersAllChanged)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
