#include "platform/registry.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace kv::platform {

namespace {

// The access mask the launcher has always opened keys with for writing (KEY_WRITE).
constexpr REGSAM kWriteAccess = 0x20006;

HKEY rootHandle(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users:
        return HKEY_USERS;
    case RegistryRoot::PerformanceData:
        return HKEY_PERFORMANCE_DATA;
    case RegistryRoot::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case RegistryRoot::DynData:
        return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000006));
    }
    return nullptr;
}

class SystemRegistry : public RegistryBackend {
public:
    long createKey(RegistryRoot root, std::string_view subKey) override {
        HKEY key = nullptr;
        const std::string sub(subKey);
        const LONG result = ::RegCreateKeyA(rootHandle(root), sub.c_str(), &key);
        if (result == ERROR_SUCCESS)
            ::RegCloseKey(key);
        return result;
    }

    long setString(RegistryRoot root, std::string_view subKey, std::string_view name,
                   std::string_view value) override {
        // The data length is the text's length; no terminating zero is counted.
        return setValue(root, subKey, name, REG_SZ, reinterpret_cast<const BYTE*>(value.data()),
                        DWORD(value.size()));
    }

    long setDword(RegistryRoot root, std::string_view subKey, std::string_view name,
                  std::uint32_t value) override {
        const DWORD data = value;
        return setValue(root, subKey, name, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data);
    }

    std::optional<RegistryValue> query(RegistryRoot root, std::string_view subKey,
                                       std::string_view name) override {
        HKEY key = nullptr;
        const std::string sub(subKey), valueName(name);
        if (::RegOpenKeyExA(rootHandle(root), sub.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::nullopt;
        DWORD type = 0, size = 0;
        std::optional<RegistryValue> out;
        if (::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) ==
            ERROR_SUCCESS) {
            std::vector<BYTE> data(size + 1, 0);
            if (::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data.data(), &size) ==
                ERROR_SUCCESS) {
                if (type == REG_DWORD && size == 4) {
                    DWORD v;
                    std::memcpy(&v, data.data(), 4);
                    out = RegistryValue(std::uint32_t(v));
                } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
                    std::string text(reinterpret_cast<const char*>(data.data()), size);
                    while (!text.empty() && text.back() == '\0')
                        text.pop_back();
                    out = RegistryValue(std::move(text));
                }
            }
        }
        ::RegCloseKey(key);
        return out;
    }

private:
    long setValue(RegistryRoot root, std::string_view subKey, std::string_view name, DWORD type,
                  const BYTE* data, DWORD size) {
        HKEY key = nullptr;
        const std::string sub(subKey), valueName(name);
        LONG result = ::RegOpenKeyExA(rootHandle(root), sub.c_str(), 0, kWriteAccess, &key);
        if (result != ERROR_SUCCESS)
            return result;
        result = ::RegSetValueExA(key, valueName.c_str(), 0, type, data, size);
        ::RegCloseKey(key);
        return result;
    }
};

} // namespace

std::unique_ptr<RegistryBackend> makeRegistryBackend(const std::string&) {
    return std::make_unique<SystemRegistry>();
}

// The system registry needs no store file; the path only keeps callers uniform.
std::string defaultRegistryStorePath() {
    return {};
}

} // namespace kv::platform
