// Writes the generated seeds of every fuzz target: small, well-formed inputs of each
// format, so that a run starts inside the format instead of at its first byte.
//   kv_fuzz_seeds CORPUS_FOLDER   -> CORPUS_FOLDER/<target>/seed-<name>
#include "common/dialogless_ui.h"
#include "launcher/launcher.h"
#include "launcher/settings_file.h"
#include "platform/registry.h"
#include "platform/registry_file.h"
#include "platform/text.h"
#include "tools/worldgen/content_files.h"
#include "tools/worldgen/kdg_writer.h"
#include "tools/worldgen/map_binary_writer.h"
#include "tools/worldgen/map_lnd_writer.h"

#include <cstdio>
#include <string>

namespace {

using namespace kv::worldgen;

class SilentUi final : public kv::DialoglessUi {
public:
    kv::Answer message(const std::string&, kv::Icon, kv::Buttons, const std::string&) override {
        return kv::Answer::Cancel;
    }
};

int failures = 0;

void seed(const std::string& corpus, const std::string& target, const std::string& name,
          const std::string& bytes) {
    if (!writeContentFile(corpus + "/" + target + "/seed-" + name, bytes)) {
        std::fprintf(stderr, "kv_fuzz_seeds: cannot write %s/%s\n", target.c_str(), name.c_str());
        ++failures;
    }
}

void archives(const std::string& corpus) {
    const std::string target = "kdg_read_archive_fuzzer";
    KdgArchiveSpec v5;
    v5.internalName = "SeedMod";
    v5.internalId = 7;
    v5.required = {{"Base.kdg", 1}};
    v5.sections = {
        {0x10, {kdgFile(0x1, "Names list", 1), kdgFile(0x0, "zero", 2)}},
        {0x41414141, {kdgFile(0x41414141, "up", 0xe778391), kdgEmptySlot(2, 1)}}};
    seed(corpus, target, "v5", buildKdgArchive(v5));
    KdgArchiveSpec v4;
    v4.version = 4;
    v4.sections = {{0x1, {kdgFile(0x1, "text", 1), kdgFile(0x99, "unnamed", 7)}}};
    seed(corpus, target, "v4", buildKdgArchive(v4));
}

void maps(const std::string& corpus) {
    LndMapSpec lnd;
    lnd.width = 4;
    lnd.height = 4;
    lnd.tileHeight = [](int x, int y) { return (x + y) * 40; };
    lnd.objects = {{"\"A0PowMod1\"", 0, 64, -64}, {"\"OilResource\"", 1, -128, 128}};
    lnd.gateways = {{0, 0, 3, 0}};
    seed(corpus, "fuzz_lnd_reader", "crlf", writeLndMap(lnd));
    lnd.lfOnly = true;
    lnd.seaLevel = 40;
    seed(corpus, "fuzz_lnd_reader", "lf", writeLndMap(lnd));

    BinaryMapSpec binary;
    binary.width = 4;
    binary.height = 4;
    binary.tile = [](int x, int y) {
        return BinaryTile{std::uint8_t(x + y), std::uint8_t(x * 16), std::uint8_t(y * 30)};
    };
    seed(corpus, "fuzz_binary_map", "map", writeBinaryMap(binary));
    seed(corpus, "fuzz_binary_map", "features", writeFeatures({oilOnTile(1, 0), oilOnTile(3, 2)}));
}

void texts(const std::string& corpus) {
    seed(corpus, "content_ai_file_fuzz", "ai", sampleAiFile("Seed AI", 600));
    DescriptionSpec description;
    description.requiredKdgs = {"Base.kdg"};
    description.maxInstances = 2;
    description.basesState = 1;
    description.alliances = true;
    description.extraLines = {"CopyFile(\"$(AIDir)a.txt\", \"$(GameDir)b.txt\")",
                              "Key = $(LauncherDir)value ; comment"};
    seed(corpus, "content_line_syntax_fuzz", "description", descriptionFileText(description));
    seed(corpus, "content_line_syntax_fuzz", "vlo", sampleVloText(0));

    SilentUi ui;
    auto registry = kv::platform::makeRegistryBackend("/nonexistent/kv-seeds/registry.reg");
    kv::Launcher launcher("/nonexistent/kv-seeds/", ui, *registry, {});
    launcher.nick = "Seed";
    seed(corpus, "core_settings_fuzz", "settings",
         kv::platform::joinLinesCrLf(kv::formatSettings(launcher)));

    kv::platform::RegFile store;
    auto& key = store.addKey("HKEY_LOCAL_MACHINE\\Software\\Seed");
    store.setValue(key, "text", kv::platform::encodeRegString("say \"hi\" C:\\x"));
    store.setValue(key, "number", kv::platform::encodeRegDword(300));
    store.setValue(key, "", "hex:01,02");
    seed(corpus, "registry_file_fuzz", "store", kv::platform::formatRegFile(store));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: kv_fuzz_seeds CORPUS_FOLDER\n", stderr);
        return 2;
    }
    archives(argv[1]);
    maps(argv[1]);
    texts(argv[1]);
    return failures == 0 ? 0 : 1;
}
