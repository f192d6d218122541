#include "core/registry_access.h"

#include "common/ui_port.h"
#include "core/text_util.h"

namespace kv {

RegistryPath parseRegistryPath(std::string_view path) {
    RegistryPath out;
    if (path.substr(0, 5) != "HKEY_" || path.back() == '\\') {
        out.problem = RegistryPath::Problem::IncorrectFormat;
        return out;
    }
    const size_t slash = path.find('\\');
    const std::string_view rootName = path.substr(0, slash);
    if (slash != std::string_view::npos)
        out.subKey = std::string(path.substr(slash + 1));
    using platform::RegistryRoot;
    for (RegistryRoot root :
         {RegistryRoot::ClassesRoot, RegistryRoot::CurrentUser, RegistryRoot::LocalMachine,
          RegistryRoot::Users, RegistryRoot::PerformanceData, RegistryRoot::CurrentConfig,
          RegistryRoot::DynData}) {
        if (equalsNoCase(rootName, platform::registryRootName(root))) {
            out.root = root;
            return out;
        }
    }
    out.problem = RegistryPath::Problem::UnknownRoot;
    return out;
}

std::optional<RegistryPath> Registry::parse(std::string_view path) {
    RegistryPath p = parseRegistryPath(path);
    if (p.problem == RegistryPath::Problem::IncorrectFormat)
        ui_.message("Incorrect Format:\n\n" + std::string(path));
    if (p.problem != RegistryPath::Problem::None)
        return std::nullopt;
    return p;
}

void Registry::CreateKey(std::string_view path) {
    if (auto p = parse(path))
        result_ = backend_.createKey(p->root, p->subKey);
}

void Registry::SetStringValue(std::string_view path, std::string_view name,
                              std::string_view value) {
    if (auto p = parse(path))
        result_ = backend_.setString(p->root, p->subKey, name, value);
}

void Registry::SetDWordValue(std::string_view path, std::string_view name, std::uint32_t value) {
    if (auto p = parse(path))
        result_ = backend_.setDword(p->root, p->subKey, name, value);
}

} // namespace kv
