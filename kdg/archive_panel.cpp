#include "kdg/archive_panel.h"

#include "platform/files.h"
#include "platform/text.h"

namespace kv::kdg {

ArchivePanelData archivePanelData(const KdgArchiveInfo& info) {
    return {info.InternalId, info.InternalName, info.Sections};
}

std::optional<std::string> krfDocumentToOpen(const Paths& paths, const std::string& section) {
    if (section.empty())
        return std::nullopt;
    const std::string path = paths.underLauncher("Mods\\KRFs\\" + section);
    if (!platform::fileExists(path))
        return std::nullopt;
    return path;
}

std::optional<LowerPanel> lowerPanelNamed(std::string_view which) {
    if (platform::equalsNoCase(which, "ModDescription"))
        return LowerPanel::ModDescription;
    if (platform::equalsNoCase(which, "ModCompilationInfo"))
        return LowerPanel::ModCompilationInfo;
    if (platform::equalsNoCase(which, "MapInfo"))
        return LowerPanel::MapInfo;
    return std::nullopt;
}

} // namespace kv::kdg
