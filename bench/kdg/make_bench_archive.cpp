// kdg_make_bench_archive OUT.kdg TABLES_DIR SOURCE_DIR
// Packs every file below SOURCE_DIR into a KDG archive, one KRF section per top-level
// folder, and writes the Files.txt that names each entry and puts it back into its folder
// on extraction, so that the result matches a tar of SOURCE_DIR.
#include "tools/worldgen/kdg_name_tables.h"
#include "tools/worldgen/kdg_writer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: kdg_make_bench_archive OUT.kdg TABLES_DIR SOURCE_DIR\n", stderr);
        return 2;
    }
    const fs::path source = argv[3];
    std::vector<fs::path> paths;
    for (const auto& e : fs::recursive_directory_iterator(source))
        if (e.is_regular_file())
            paths.push_back(fs::relative(e.path(), source));
    std::sort(paths.begin(), paths.end());

    std::map<std::string, kv::worldgen::KdgSectionSpec> sections;
    std::vector<kv::kdg::FileNameRow> rows;
    for (const fs::path& rel : paths) {
        const std::string top = rel.has_parent_path() ? rel.begin()->string() : "root";
        auto& section = sections[top];
        section.nameHash = kv::worldgen::kdgNameHash(top + ".krf");
        kv::worldgen::KdgFileSpec f;
        f.typeId = 0x0E778391;
        f.nameHash = kv::worldgen::kdgNameHash(rel.generic_string());
        f.sourcePath = (source / rel).string();
        section.files.push_back(std::move(f));
        std::string group = rel.parent_path().generic_string();
        std::replace(group.begin(), group.end(), '/', '\\');
        char hex[16];
        std::snprintf(hex, sizeof hex, "%x", section.files.back().nameHash);
        rows.push_back({hex, rel.filename().string(), "DATA", group});
    }
    kv::worldgen::KdgArchiveSpec plan;
    plan.internalName = "bench";
    for (auto& [name, section] : sections)
        plan.sections.push_back(std::move(section));
    std::string error;
    if (!kv::worldgen::writeKdgArchive(argv[1], plan, &error)) {
        std::fprintf(stderr, "kdg_make_bench_archive: %s\n", error.c_str());
        return 1;
    }
    if (!kv::worldgen::writeNameTables(argv[2], rows, {})) {
        std::fputs("kdg_make_bench_archive: cannot write the name tables\n", stderr);
        return 1;
    }
    std::printf("%zu files in %zu sections\n", paths.size(), plan.sections.size());
    return 0;
}
