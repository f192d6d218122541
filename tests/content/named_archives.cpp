#include "tests/content/named_archives.h"

#include "tools/worldgen/kdg_named_archive.h"

namespace kv::test {

kdg::NameTables writeNamedArchives(ContentWorld& w, const std::vector<ArchiveSketch>& archives) {
    std::vector<kdg::FileNameRow> rows;
    for (const ArchiveSketch& a : archives) {
        std::vector<worldgen::NamedKdgFile> files;
        for (const std::string& path : a.files) {
            const std::size_t slash = path.rfind('\\');
            if (slash == std::string::npos)
                files.push_back({path, "", "data"});
            else
                files.push_back({path.substr(slash + 1), path.substr(0, slash), "data"});
        }
        const worldgen::KdgSample sample = worldgen::namedFilesArchive(a.fileName, files);
        w.writeGame(a.fileName, worldgen::buildKdgArchive(sample.plan));
        rows.insert(rows.end(), sample.files.begin(), sample.files.end());
    }
    return kdg::NameTables(std::move(rows), {});
}

} // namespace kv::test
