#include "kdg/file_list.h"

#include "common/error_box.h"
#include "platform/text.h"

namespace kv::kdg {

std::vector<std::string> fileListLines(const KdgArchiveInfo& info) {
    std::vector<std::string> lines;
    lines.reserve(16 + info.Sections.size() + info.Entries.size());
    lines.push_back("File name:\t\t" + info.FileName);
    lines.push_back("Internal ID:\t\t" + info.InternalId);
    lines.push_back("Internal name:\t\t" + info.InternalName);
    lines.insert(lines.end(), 2, std::string());
    lines.push_back("Number of KRFs:\t\t" + std::to_string(info.Sections.size()));
    lines.insert(lines.end(), 2, std::string());
    lines.insert(lines.end(), info.Sections.begin(), info.Sections.end());
    lines.insert(lines.end(), 2, std::string());
    lines.push_back("Total Files in KDG:\t" + std::to_string(info.Entries.size()));
    lines.insert(lines.end(), 2, std::string());
    for (const KdgEntry& e : info.Entries)
        if (!e.IsEmpty)
            lines.push_back(e.Name + "\t\t(" + e.Section + ")");
    return lines;
}

std::string fileListName(const std::string& archiveFileName) {
    std::string base(platform::trimBlanksTabs(archiveFileName));
    if (const std::size_t dot = base.rfind('.'); dot != std::string::npos)
        base.erase(dot);
    return base + ".txt";
}

bool SaveFileList(const std::string& archivePath, const std::string& folderText,
                  const KdgArchiveInfo& info, Ui& ui) {
    const std::string folder(platform::trimBlanksTabs(folderText));
    if (platform::trimBlanksTabs(archivePath).empty() || folder.empty())
        return false;
    ui.message(info.Loaded ? "True" : "False");
    if (!info.Loaded)
        return false;
    ui.message(folder + info.FileName);
    if (platform::trimBlanksTabs(info.FileName).empty())
        return false;
    const platform::Status written =
        platform::writeTextLines(folder + fileListName(info.FileName), fileListLines(info));
    if (!written) {
        showErrorBox(ui, written.code, written.description, "SaveFileList");
        return false;
    }
    return true;
}

} // namespace kv::kdg
