#pragma once
// The Registry module: registry paths as texts ("HKEY_CURRENT_USER\Korvane Starter")
// over the platform's registry backend, keeping the last call's result code.
#include "platform/registry.h"

#include <optional>
#include <string>
#include <string_view>

namespace kv {

class Ui;

struct RegistryPath {
    enum class Problem { None, IncorrectFormat, UnknownRoot };
    Problem problem = Problem::None;
    platform::RegistryRoot root = platform::RegistryRoot::CurrentUser;
    std::string subKey;
};

// Splits root and sub-key. Refuses a path that does not begin with "HKEY_" or ends with
// "\"; a root alone has an empty sub-key.
RegistryPath parseRegistryPath(std::string_view path);

class Registry {
public:
    Registry(platform::RegistryBackend& backend, Ui& ui) : backend_(backend), ui_(ui) {}

    void CreateKey(std::string_view path);
    void SetStringValue(std::string_view path, std::string_view name, std::string_view value);
    void SetDWordValue(std::string_view path, std::string_view name, std::uint32_t value);

    // The return value of the last registry call.
    long resultCode() const { return result_; }
    platform::RegistryBackend& backend() { return backend_; }

private:
    std::optional<RegistryPath> parse(std::string_view path);

    platform::RegistryBackend& backend_;
    Ui& ui_;
    long result_ = platform::regerr::Success;
};

} // namespace kv
