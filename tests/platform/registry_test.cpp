#include "platform/registry.h"
#include "platform/registry_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace kv::platform {
namespace {

using test::TempFolder;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr const char* kGameKey = "Software\\Bramble Studios\\KorvaneTactics";

TEST(Registry, ValuesRoundTripThroughAReadableRegedit4File) {
    TempFolder tmp;
    auto reg = makeRegistryBackend(tmp / "store/registry.reg");
    ASSERT_EQ(reg->createKey(HKLM, kGameKey), regerr::Success);
    EXPECT_EQ(reg->setDword(HKLM, kGameKey, "scroll", 6400), regerr::Success);
    EXPECT_EQ(reg->setString(HKLM, kGameKey, "phrase0", "say \"hi\" C:\\x"), regerr::Success);
    EXPECT_EQ(reg->setString(HKLM, kGameKey, "phrase5", ""), regerr::Success);
    // Value and key names are matched without regard to case and keep their first spelling.
    EXPECT_EQ(reg->setDword(HKLM, "software\\bramble studios\\korvanetactics", "SCROLL", 400),
              regerr::Success);

    EXPECT_EQ(reg->query(HKLM, kGameKey, "Scroll"), RegistryValue(std::uint32_t(400)));
    EXPECT_EQ(reg->query(HKLM, kGameKey, "phrase0"), RegistryValue("say \"hi\" C:\\x"));
    EXPECT_EQ(reg->query(HKLM, kGameKey, "phrase5"), RegistryValue(""));
    EXPECT_EQ(reg->query(HKLM, kGameKey, "missing"), std::nullopt);
    EXPECT_EQ(reg->query(HKCU, kGameKey, "scroll"), std::nullopt);

    EXPECT_EQ(tmp.read("store/registry.reg"),
              "REGEDIT4\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Bramble Studios]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Bramble Studios\\KorvaneTactics]\r\n"
              "\"scroll\"=dword:00000190\r\n"
              "\"phrase0\"=\"say \\\"hi\\\" C:\\\\x\"\r\n"
              "\"phrase5\"=\"\"\r\n\r\n");
}

TEST(Registry, WritingNeedsAnExistingKeyExceptAtARoot) {
    TempFolder tmp;
    const std::string store = tmp / "registry.reg";
    auto reg = makeRegistryBackend(store);
    EXPECT_EQ(reg->setString(HKCU, "Korvane Starter", "KVSPath", "/x/"), regerr::FileNotFound);
    EXPECT_EQ(reg->setDword(HKCU, "Korvane Starter", "n", 1), regerr::FileNotFound);
    EXPECT_EQ(reg->createKey(HKCU, "Korvane Starter\\"), regerr::InvalidParameter);
    EXPECT_EQ(reg->createKey(HKCU, "a\\\\b"), regerr::InvalidParameter);

    EXPECT_EQ(reg->setString(HKCU, "", "top", "1"), regerr::Success);
    EXPECT_EQ(reg->query(HKCU, "", "top"), RegistryValue("1"));
    EXPECT_EQ(reg->createKey(HKCU, "Korvane Starter"), regerr::Success);
    EXPECT_EQ(reg->createKey(HKCU, "KORVANE STARTER"), regerr::Success); // opens it
    EXPECT_EQ(reg->setString(HKCU, "Korvane Starter", "KVSPath", "/x/"), regerr::Success);
    EXPECT_EQ(tmp.read("registry.reg"),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\"top\"=\"1\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\Korvane Starter]\r\n"
              "\"KVSPath\"=\"/x/\"\r\n\r\n");
}

TEST(Registry, AFileOfAnotherKindIsNeverOverwritten) {
    TempFolder tmp;
    tmp.write("registry.reg", "[Settings]\r\nKVPath=C:\\Games\r\n");
    auto reg = makeRegistryBackend(tmp / "registry.reg");
    EXPECT_EQ(reg->createKey(HKCU, "Korvane Starter"), regerr::BadDatabase);
    EXPECT_EQ(tmp.read("registry.reg"), "[Settings]\r\nKVPath=C:\\Games\r\n");
}

TEST(Registry, ValuesOfOtherProgramsSurviveARewrite) {
    TempFolder tmp;
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
}

TEST(Registry, DataTextsDecodeOnlyWhenWellFormed) {
    EXPECT_EQ(decodeRegData("dword:0000FFFF"), RegistryValue(std::uint32_t(0xFFFF)));
    EXPECT_EQ(decodeRegData("DWORD:1"), RegistryValue(std::uint32_t(1)));
    EXPECT_EQ(decodeRegData("dword:123456789"), std::nullopt);
    EXPECT_EQ(decodeRegData("dword:"), std::nullopt);
    EXPECT_EQ(decodeRegData("dword:12g4"), std::nullopt);
    EXPECT_EQ(decodeRegData("\"open"), std::nullopt);
    EXPECT_EQ(decodeRegData("\"a\" trailing"), std::nullopt);
    EXPECT_EQ(decodeRegData("\"line\\nbreak\\q\""), RegistryValue("line\nbreak\\q"));
    EXPECT_EQ(decodeRegData(encodeRegString("a\\\"b\r\n")), RegistryValue("a\\\"b\r\n"));
}

// Each writer process sets its own values under the same key; none may be lost.
TEST(Registry, ConcurrentWritersKeepEachOthersValues) {
    TempFolder tmp;
    const std::string store = tmp / "registry.reg";
    ASSERT_EQ(makeRegistryBackend(store)->createKey(HKLM, kGameKey), regerr::Success);
    constexpr int kWriters = 3, kValues = 25;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            auto reg = makeRegistryBackend(store);
            int failures = 0;
            for (int v = 0; v < kValues; ++v)
                failures +=
                    reg->setDword(HKLM, kGameKey, "w" + std::to_string(w) + "v" + std::to_string(v),
                                  std::uint32_t(w * 1000 + v)) != regerr::Success;
            ::_exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto reg = makeRegistryBackend(store);
    for (int w = 0; w < kWriters; ++w)
        for (int v = 0; v < kValues; ++v)
            EXPECT_EQ(reg->query(HKLM, kGameKey, "w" + std::to_string(w) + "v" + std::to_string(v)),
                      RegistryValue(std::uint32_t(w * 1000 + v)));
}

TEST(Registry, DefaultStoreIsPerUserUnderTheConfigFolder) {
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "/cfg/", 1);
    EXPECT_EQ(defaultRegistryStorePath(), "/cfg/KorvaneStarter/registry.reg");
    ::setenv("XDG_CONFIG_HOME", "", 1); // empty counts as unset
    ::setenv("HOME", "/home/p", 1);
    EXPECT_EQ(defaultRegistryStorePath(), "/home/p/.config/KorvaneStarter/registry.reg");
    ::setenv("HOME", home.c_str(), 1);
    if (oldXdg)
        ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace kv::platform
