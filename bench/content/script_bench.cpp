// Script customizing on a large script: 1 MB with 500 fields, parsed and applied with the
// last value of every field picked. Goal: parse + apply within 20 ms.
#include "common/dialogless_ui.h"
#include "content/line_syntax.h"
#include "content/script_apply.h"
#include "content/script_parser.h"
#include "tools/worldgen/script_samples.h"

#include <benchmark/benchmark.h>

namespace {

class SilentUi : public kv::DialoglessUi {
public:
    int messages = 0;
    kv::Answer message(const std::string&, kv::Icon, kv::Buttons, const std::string&) override {
        ++messages;
        return kv::Answer::Ok;
    }
};

void ParseAndApply(benchmark::State& state) {
    using namespace kv::content;
    const std::string script =
        kv::worldgen::largeCustomizableScript(size_t(state.range(0)), 1 << 20);
    SilentUi ui;
    for (auto _ : state) {
        NamedTexts named;
        ScriptCustomizing data{"Bench", "", {}};
        parseAnnotatedText(script, data, named, FolderVars{}, ui);
        for (ScriptField& f : data.fields)
            f.selected = 2;
        const AppliedScript r = applyFields(data.fields, script, ui);
        benchmark::DoNotOptimize(r.text.data());
        if (data.fields.size() != size_t(state.range(0)) ||
            r.replacements.size() != data.fields.size())
            state.SkipWithError("fields went missing");
    }
    if (ui.messages)
        state.SkipWithError("the script raised messages");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(script.size()));
}
BENCHMARK(ParseAndApply)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
