#include "tools/worldgen/kdg_named_archive.h"

#include "kdg/hex_text.h"
#include "tools/worldgen/content_files.h"
#include "tools/worldgen/kdg_writer.h"

namespace kv::worldgen {

KdgSample namedFilesArchive(const std::string& internalName,
                            const std::vector<NamedKdgFile>& files) {
    KdgSample sample;
    sample.plan.version = 5;
    sample.plan.internalName = internalName;
    const std::uint32_t sectionHash = kdgNameHash(internalName + "/" + internalName + ".krf");
    sample.files.push_back({kdg::lowerHex(sectionHash), internalName + ".krf", "KRF", ""});
    KdgSectionSpec section{sectionHash, {}};
    for (const NamedKdgFile& f : files) {
        // The same file in two archives has the same hash: that is how archives that
        // replace each other's files are told.
        const std::uint32_t hash = kdgNameHash(f.group + "/" + f.name);
        sample.files.push_back({kdg::lowerHex(hash), f.name, "MISCDATA", f.group});
        section.files.push_back(kdgFile(hash, f.data, 0x0E778391u));
    }
    sample.plan.sections.push_back(std::move(section));
    return sample;
}

kdg::NameTables writeNamedArchives(const std::string& folder,
                                   const std::vector<ArchiveSketch>& archives) {
    std::vector<kdg::FileNameRow> rows;
    for (const ArchiveSketch& a : archives) {
        std::vector<NamedKdgFile> files;
        for (const std::string& path : a.files) {
            const std::size_t slash = path.rfind('\\');
            if (slash == std::string::npos)
                files.push_back({path, "", "data"});
            else
                files.push_back({path.substr(slash + 1), path.substr(0, slash), "data"});
        }
        const KdgSample sample = namedFilesArchive(a.fileName, files);
        writeContentFile(folder + a.fileName, buildKdgArchive(sample.plan));
        rows.insert(rows.end(), sample.files.begin(), sample.files.end());
    }
    return kdg::NameTables(std::move(rows), {});
}

} // namespace kv::worldgen
