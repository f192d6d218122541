#pragma once
// What the main window's lower panel shows for an archive, and which of its three pages
// is visible. The widgets only copy these values.
#include "common/paths.h"
#include "kdg/archive_info.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::kdg {

struct ArchivePanelData {
    std::string internalId;
    std::string internalName;
    std::vector<std::string> sections; // the KRF section list, in directory order
};

// The values ShowArchiveInfo puts into the panel.
ArchivePanelData archivePanelData(const KdgArchiveInfo& info);

// The document a double click on a KRF section opens: "Mods\KRFs\" + section under the
// launcher folder, only when that file exists.
std::optional<std::string> krfDocumentToOpen(const Paths& paths, const std::string& section);

enum class LowerPanel { ModDescription, ModCompilationInfo, MapInfo };

// "ModDescription", "ModCompilationInfo" or "MapInfo", without regard to case.
std::optional<LowerPanel> lowerPanelNamed(std::string_view which);

} // namespace kv::kdg
