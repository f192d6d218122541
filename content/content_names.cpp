#include "content/content_names.h"

#include "common/paths.h"
#include "content/text_util.h"

namespace kv::content {

namespace {

bool isControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7f;
}

} // namespace

bool isPlainContentName(std::string_view name) {
    // "." alone is the folder itself.
    if (name.empty() || name == "." || name.find("..") != std::string_view::npos)
        return false;
    for (char c : name)
        if (c == '/' || c == '\\' || c == ':' || isControl(c))
            return false;
    return true;
}

std::string pathInFolder(std::string_view folder, std::string_view fileName) {
    if (folder.empty() || !isPlainContentName(fileName))
        return {};
    return withTrailingSeparator(folder) + std::string(fileName);
}

std::string requiredArchiveRefusal(std::string_view name) {
    if (!isPlainContentName(name))
        return "it is not a plain file name";
    if (!endsWithNoCase(name, ".kdg"))
        return "it does not end in .kdg";
    return {};
}

std::string shownName(std::string_view name) {
    std::string shown;
    for (char c : name)
        shown += isControl(c) ? '?' : c;
    return shown;
}

std::string refusedNameMessage(std::string_view name, std::string_view source) {
    return "'" + shownName(name) + "' in " + std::string(source) +
           " is not used: a name may not hold '/', '\\', '..', ':' or control characters.";
}

} // namespace kv::content
