#include "kdg/archive_panel.h"

#include "platform/files.h"

namespace kv::kdg {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

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
    if (equalsNoCase(which, "ModDescription"))
        return LowerPanel::ModDescription;
    if (equalsNoCase(which, "ModCompilationInfo"))
        return LowerPanel::ModCompilationInfo;
    if (equalsNoCase(which, "MapInfo"))
        return LowerPanel::MapInfo;
    return std::nullopt;
}

} // namespace kv::kdg
