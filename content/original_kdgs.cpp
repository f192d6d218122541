#include "content/original_kdgs.h"

#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kv::content {

std::string OriginalKdgs::filePath(const Paths& paths) {
    return paths.underLauncher("Settings\\KVS\\OriginalKDGs.ini");
}

std::string OriginalKdgs::missingMessage(const Paths& paths) {
    return "Couldn't find '" + filePath(paths) + "', make sure it exists or reinstall KVS.";
}

bool OriginalKdgs::load(const Paths& paths) {
    names.clear();
    std::vector<std::string> lines;
    if (!platform::readTextLines(filePath(paths), lines))
        return false;
    for (const auto& line : lines)
        names.push_back(trimBlanksTabs(line));
    return true;
}

bool OriginalKdgs::isOriginalFile(std::string_view fileName) const {
    for (const auto& n : names)
        if (!n.empty() && equalsNoCase(n, fileName))
            return true;
    return false;
}

bool OriginalKdgs::isOriginalBase(std::string_view baseName) const {
    for (const auto& n : names)
        if (!n.empty() && equalsNoCase(withoutExtension(n), baseName))
            return true;
    return false;
}

} // namespace kv::content
