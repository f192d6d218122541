// The registry: a REGEDIT4 file of ours on POSIX, the system's on Windows (run under Wine).
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#define KV_REGISTRY_TEST(name) TEST(Win32Registry, name)
#else
#include "platform/registry_file.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>
#define KV_REGISTRY_TEST(name) TEST(Registry, name)
#endif

namespace kv::platform {
namespace {

constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;
#ifdef _WIN32
// A key of this run's own, so a rerun in the same prefix starts clean.
const std::string kGameKey =
    "Software\\Bramble Studios\\KorvaneTactics-" + std::to_string(::GetCurrentProcessId());
#else
using test::TempFolder;
constexpr const char* kGameKey = "Software\\Bramble Studios\\KorvaneTactics";
#endif

KV_REGISTRY_TEST(ValuesRoundTripInExistingKeysOnlyWithNamesMatchedWithoutRegardToCase) {
#ifdef _WIN32
    auto reg = makeRegistryBackend({});
    EXPECT_EQ(defaultRegistryStorePath(), "");
    const std::string lowerKey =
        "software\\bramble studios\\korvanetactics-" + std::to_string(::GetCurrentProcessId());
#else
    TempFolder tmp;
    auto reg = makeRegistryBackend(tmp / "store/registry.reg");
    const std::string lowerKey = "software\\bramble studios\\korvanetactics";
#endif
    EXPECT_EQ(reg->setString(HKLM, kGameKey, "phrase0", "x"), regerr::FileNotFound);
    EXPECT_EQ(reg->setDword(HKLM, kGameKey, "scroll", 1), regerr::FileNotFound);
    EXPECT_EQ(reg->setString(HKCU, "", "top", "1"), regerr::Success); // a root needs no key
    ASSERT_EQ(reg->createKey(HKLM, kGameKey), regerr::Success);
    EXPECT_EQ(reg->createKey(HKLM, "SOFTWARE"), regerr::Success); // opens it
    // Phrases are Windows-1252 texts; they are stored and read back unchanged.
    const std::string phrase = "say \"hi\" C:\\x Caf\xE9 \x80\x93gg\x94";
    EXPECT_EQ(reg->setDword(HKLM, kGameKey, "scroll", 6400), regerr::Success);
    EXPECT_EQ(reg->setString(HKLM, kGameKey, "phrase0", phrase), regerr::Success);
    EXPECT_EQ(reg->setString(HKLM, kGameKey, "phrase5", ""), regerr::Success);
    // Key and value names keep their first spelling.
    EXPECT_EQ(reg->setDword(HKLM, lowerKey, "SCROLL", 400), regerr::Success);

    EXPECT_EQ(reg->query(HKCU, "", "top"), RegistryValue("1"));
    EXPECT_EQ(reg->query(HKLM, kGameKey, "Scroll"), RegistryValue(std::uint32_t(400)));
    EXPECT_EQ(reg->query(HKLM, kGameKey, "phrase0"), RegistryValue(phrase));
    EXPECT_EQ(reg->query(HKLM, kGameKey, "phrase5"), RegistryValue(""));
    EXPECT_EQ(reg->query(HKLM, kGameKey, "missing"), std::nullopt);
    EXPECT_EQ(reg->query(HKCU, kGameKey, "scroll"), std::nullopt);
#ifdef _WIN32
    // What another program (the game) sees: a DWORD of four bytes; and a value of another
    // type is not read as one of ours.
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kGameKey.c_str(), 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    ::RegQueryValueExA(key, "scroll", nullptr, &type, nullptr, &size);
    const BYTE binary[] = {1, 2, 3};
    ::RegSetValueExA(key, "bin", 0, REG_BINARY, binary, sizeof binary);
    ::RegCloseKey(key);
    EXPECT_TRUE(type == REG_DWORD && size == 4);
    EXPECT_EQ(reg->query(HKLM, kGameKey, "bin"), std::nullopt);
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kGameKey.c_str());
    ::RegDeleteValueA(HKEY_CURRENT_USER, "top");
#else
    EXPECT_EQ(reg->createKey(HKCU, "Korvane Starter\\"), regerr::InvalidParameter);
    EXPECT_EQ(reg->createKey(HKCU, "a\\\\b"), regerr::InvalidParameter);
    EXPECT_EQ(tmp.read("store/registry.reg"),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\"top\"=\"1\"\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Bramble Studios]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Bramble Studios\\KorvaneTactics]\r\n"
              "\"scroll\"=dword:00000190\r\n"
              "\"phrase0\"=\"say \\\"hi\\\" C:\\\\x Caf\xE9 \x80\x93gg\x94\"\r\n"
              "\"phrase5\"=\"\"\r\n\r\n");
#endif
}

#ifndef _WIN32
TEST(Registry, FilesOfOtherProgramsKeepTheirValuesAndOfAnotherKindAreNeverOverwritten) {
    TempFolder tmp;
    tmp.write("ini.reg", "[Settings]\r\nKVPath=C:\\Games\r\n");
    EXPECT_EQ(makeRegistryBackend(tmp / "ini.reg")->createKey(HKCU, "K"), regerr::BadDatabase);
    EXPECT_EQ(tmp.read("ini.reg"), "[Settings]\r\nKVPath=C:\\Games\r\n");
    // As another program (or regedit) may leave it: LF ends, comments, binary values
    // continued over lines, a default value, a deletion section.
    tmp.write("registry.reg", "REGEDIT4\n\n; exported\n[HKEY_USERS\\x]\n@=\"default\"\n"
                              "\"bin\"=hex:01,02,\\\n  03\n\"gone\"=-\n"
                              "[-HKEY_USERS\\old]\n\"ignored\"=\"1\"\n");
    auto reg = makeRegistryBackend(tmp / "registry.reg");
    ASSERT_EQ(reg->setDword(HKCU, "", "n", 7), regerr::Success);
    EXPECT_EQ(tmp.read("registry.reg"), "REGEDIT4\r\n\r\n[HKEY_USERS\\x]\r\n@=\"default\"\r\n"
                                        "\"bin\"=hex:01,02,03\r\n\r\n"
                                        "[HKEY_CURRENT_USER]\r\n\"n\"=dword:00000007\r\n\r\n");
    EXPECT_EQ(reg->query(RegistryRoot::Users, "x", ""), RegistryValue("default"));
    EXPECT_EQ(reg->query(RegistryRoot::Users, "x", "bin"), std::nullopt);

    for (const char* bad : {"dword:123456789", "dword:", "dword:12g4", "\"open", "\"a\" trailing"})
        EXPECT_EQ(decodeRegData(bad), std::nullopt) << bad;
    EXPECT_EQ(decodeRegData("dword:0000FFFF"), RegistryValue(0xFFFFu));
    EXPECT_EQ(decodeRegData("DWORD:1"), RegistryValue(1u));
    EXPECT_EQ(decodeRegData("\"line\\nbreak\\q\""), RegistryValue("line\nbreak\\q"));
    EXPECT_EQ(decodeRegData(encodeRegString("a\\\"b\r\n")), RegistryValue("a\\\"b\r\n"));
}

// Each writer process sets its own values under the same key, one of them through a link
// to the store; none may be lost, as both paths take the store's own lock.
TEST(Registry, ConcurrentWritersKeepEachOthersValuesAlsoThroughALink) {
    TempFolder tmp;
    const std::string store = tmp.write("dotfiles/registry.reg", ""), link = tmp / "config/r.reg";
    std::filesystem::create_directories(tmp / "config");
    std::filesystem::create_symlink(store, link);
    ASSERT_EQ(makeRegistryBackend(store)->createKey(HKLM, kGameKey), regerr::Success);
    const auto name = [](int w, int v) { return std::to_string(w) + "v" + std::to_string(v); };
    std::vector<pid_t> children;
    for (int w = 0; w < 3; ++w) {
        if (const pid_t pid = ::fork(); pid != 0) {
            children.push_back(pid);
            continue;
        }
        auto reg = makeRegistryBackend(w == 0 ? link : store);
        int failures = 0;
        for (int v = 0; v < 25; ++v)
            failures += reg->setDword(HKLM, kGameKey, name(w, v), std::uint32_t(w * 1000 + v)) !=
                        regerr::Success;
        ::_exit(failures == 0 ? 0 : 1);
    }
    for (pid_t pid : children) {
        int status = 0;
        EXPECT_TRUE(::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                    WEXITSTATUS(status) == 0);
    }
    auto reg = makeRegistryBackend(link);
    for (int w = 0; w < 3; ++w)
        for (int v = 0; v < 25; ++v)
            EXPECT_EQ(reg->query(HKLM, kGameKey, name(w, v)),
                      RegistryValue(std::uint32_t(w * 1000 + v)));
    EXPECT_TRUE(std::filesystem::is_symlink(link) && std::filesystem::exists(store + ".lock"));
    EXPECT_FALSE(std::filesystem::exists(link + ".lock"));
}

#endif

} // namespace
} // namespace kv::platform
