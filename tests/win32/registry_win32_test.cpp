// The system registry twin against Wine's real registry (the test run's own prefix).
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace kv::platform {
namespace {

constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;
// Each test its own key, so a rerun in the same prefix starts clean.
const std::string kGameKey =
    "Software\\Bramble Studios\\KorvaneTactics-" + std::to_string(::GetCurrentProcessId());

// What another program (the game) sees: the value's type and its stored size in bytes.
using Stored = std::pair<DWORD, DWORD>;

Stored stored(HKEY root, const std::string& key, const wchar_t* name) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return {0, 0};
    DWORD type = 0, size = 0;
    const LONG rc = ::RegQueryValueExW(opened, name, nullptr, &type, nullptr, &size);
    ::RegCloseKey(opened);
    return rc == ERROR_SUCCESS ? Stored(type, size) : Stored(0, 0);
}

TEST(Win32Registry, ValuesRoundTripAndOtherProgramsReadThemAsTyped) {
    auto reg = makeRegistryBackend({});
    EXPECT_EQ(defaultRegistryStorePath(), "");
    ASSERT_EQ(reg->createKey(HKLM, kGameKey), regerr::Success);
    EXPECT_EQ(reg->setDword(HKLM, kGameKey, "scroll", 6400), regerr::Success);
    EXPECT_EQ(reg->setString(HKLM, kGameKey, "phrase0", "say \"hi\" C:\\x"), regerr::Success);
    EXPECT_EQ(reg->setString(HKLM, kGameKey, "phrase5", ""), regerr::Success);
    // Names are matched without regard to case, as the system registry does.
    EXPECT_EQ(reg->setDword(HKLM, kGameKey, "SCROLL", 400), regerr::Success);

    EXPECT_EQ(reg->query(HKLM, kGameKey, "Scroll"), RegistryValue(std::uint32_t(400)));
    EXPECT_EQ(reg->query(HKLM, kGameKey, "phrase0"), RegistryValue("say \"hi\" C:\\x"));
    EXPECT_EQ(reg->query(HKLM, kGameKey, "phrase5"), RegistryValue(""));
    EXPECT_EQ(reg->query(HKLM, kGameKey, "missing"), std::nullopt);
    EXPECT_EQ(reg->query(HKCU, kGameKey, "scroll"), std::nullopt);

    EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, kGameKey, L"scroll"), Stored(REG_DWORD, 4));
    EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, kGameKey, L"phrase0").first, DWORD(REG_SZ));
}

TEST(Win32Registry, WritingNeedsAnExistingKeyAndOtherTypesAreNotReadAsOurs) {
    auto reg = makeRegistryBackend({});
    const std::string key = "Korvane Starter-" + std::to_string(::GetCurrentProcessId());
    EXPECT_EQ(reg->setString(HKCU, key, "KVSPath", "C:\\x\\"), regerr::FileNotFound);
    EXPECT_EQ(reg->setDword(HKCU, key, "n", 1), regerr::FileNotFound);
    EXPECT_EQ(reg->query(HKCU, key, "KVSPath"), std::nullopt);
    ASSERT_EQ(reg->createKey(HKCU, key), regerr::Success);
    EXPECT_EQ(reg->createKey(HKCU, key), regerr::Success); // opens it
    EXPECT_EQ(reg->setString(HKCU, key, "KVSPath", "C:\\x\\"), regerr::Success);
    EXPECT_EQ(reg->query(HKCU, key, "kvspath"), RegistryValue("C:\\x\\"));
    EXPECT_EQ(reg->createKey(HKCU, key + "\\a\\b"), regerr::Success); // with its parents

    HKEY opened = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_WRITE, &opened),
              ERROR_SUCCESS);
    const BYTE binary[] = {1, 2, 3};
    ::RegSetValueExA(opened, "bin", 0, REG_BINARY, binary, sizeof binary);
    ::RegCloseKey(opened);
    EXPECT_EQ(reg->query(HKCU, key, "bin"), std::nullopt);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
}

// Phrases and folders are Windows-1252 texts; they are stored and read back unchanged.
TEST(Win32Registry, LegacyTextsKeepTheirBytes) {
    auto reg = makeRegistryBackend({});
    ASSERT_EQ(reg->createKey(HKLM, kGameKey), regerr::Success);
    const std::string text = "Caf\xE9 \x80 \x93gg\x94";
    EXPECT_EQ(reg->setString(HKLM, kGameKey, "phrase1", text), regerr::Success);
    EXPECT_EQ(reg->query(HKLM, kGameKey, "phrase1"), RegistryValue(text));
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kGameKey.c_str());
}

} // namespace
} // namespace kv::platform
