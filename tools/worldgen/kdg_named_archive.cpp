#include "tools/worldgen/kdg_named_archive.h"

#include "kdg/hex_text.h"

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
        section.files.push_back(KdgFileSpec{0x0E778391u, hash, f.data, {}, false, 0, 0});
    }
    sample.plan.sections.push_back(std::move(section));
    return sample;
}

} // namespace kv::worldgen
