#include "tools/worldgen/kdg_name_tables.h"

#include "common/paths.h"
#include "platform/files.h"

namespace kv::worldgen {

std::string filesTableText(const std::vector<kdg::FileNameRow>& rows) {
    std::string out;
    for (const kdg::FileNameRow& r : rows)
        out += r.hash + "," + r.name + "," + r.typeName + "," + r.group + "\r\n";
    return out;
}

std::string typesTableText(const std::vector<kdg::TypeRow>& rows) {
    std::string out;
    for (const kdg::TypeRow& r : rows)
        out += r.typeName + "," + r.typeId + "," + r.extension + "\r\n";
    return out;
}

platform::Status writeNameTables(const std::string& folder,
                                 const std::vector<kdg::FileNameRow>& files,
                                 const std::vector<kdg::TypeRow>& types) {
    if (platform::Status s =
            platform::writeFileAtomic(joinPath(folder, "Files.txt"), filesTableText(files));
        !s)
        return s;
    return platform::writeFileAtomic(joinPath(folder, "Types.txt"), typesTableText(types));
}

} // namespace kv::worldgen
