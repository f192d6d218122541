#pragma once
// Registry backend. On Windows this is the system registry; elsewhere a REGEDIT4-format
// text file that other programs (the game) can read. Result codes are Win32 error codes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kv::platform {

// The predefined root keys, in their conventional order.
enum class RegistryRoot {
    ClassesRoot,
    CurrentUser,
    LocalMachine,
    Users,
    PerformanceData,
    CurrentConfig,
    DynData,
};

namespace regerr {
inline constexpr long Success = 0;
inline constexpr long FileNotFound = 2; // the key does not exist
inline constexpr long AccessDenied = 5;
inline constexpr long InvalidParameter = 87;
inline constexpr long BadDatabase = 1009; // the store file is not a registry file
} // namespace regerr

using RegistryValue = std::variant<std::string, std::uint32_t>;

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    // Creates the key and any missing parents (or opens it when it exists).
    virtual long createKey(RegistryRoot root, std::string_view subKey) = 0;
    // Writing needs the key to exist already; a missing key gives FileNotFound.
    virtual long setString(RegistryRoot root, std::string_view subKey, std::string_view name,
                           std::string_view value) = 0;
    virtual long setDword(RegistryRoot root, std::string_view subKey, std::string_view name,
                          std::uint32_t value) = 0;
    virtual std::optional<RegistryValue> query(RegistryRoot root, std::string_view subKey,
                                               std::string_view name) = 0;
};

// The root key's name, "HKEY_CURRENT_USER" and so on.
std::string_view registryRootName(RegistryRoot root);

// The backend of this platform. `storePath` names the POSIX store file and is ignored on
// Windows. The default store is one per user, shared with the game:
// ${XDG_CONFIG_HOME:-~/.config}/KorvaneStarter/registry.reg
std::unique_ptr<RegistryBackend> makeRegistryBackend(const std::string& storePath);
std::string defaultRegistryStorePath();

} // namespace kv::platform
