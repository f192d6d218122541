#include "core/registry_access.h"

#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace kv::test {

using platform::RegistryRoot;
using Problem = RegistryPath::Problem;

TEST(RegistryPath, RootAndSubKeyAreSplitAtTheFirstBackslash) {
    struct Case {
        const char* path;
        Problem problem;
        RegistryRoot root;
        const char* subKey;
    };
    const Case cases[] = {
        {"HKEY_CLASSES_ROOT\\.kdg", Problem::None, RegistryRoot::ClassesRoot, ".kdg"},
        {"HKEY_CURRENT_USER\\Korvane Starter", Problem::None, RegistryRoot::CurrentUser,
         "Korvane Starter"},
        {"HKEY_LOCAL_MACHINE\\Software\\Bramble Studios\\KorvaneTactics", Problem::None,
         RegistryRoot::LocalMachine, "Software\\Bramble Studios\\KorvaneTactics"},
        {"HKEY_USERS\\x", Problem::None, RegistryRoot::Users, "x"},
        {"HKEY_PERFORMANCE_DATA\\x", Problem::None, RegistryRoot::PerformanceData, "x"},
        {"HKEY_CURRENT_CONFIG\\x", Problem::None, RegistryRoot::CurrentConfig, "x"},
        {"HKEY_DYN_DATA\\x", Problem::None, RegistryRoot::DynData, "x"},
        {"HKEY_CURRENT_USER", Problem::None, RegistryRoot::CurrentUser, ""},
        {"HKEY_CURRENT_USER\\", Problem::IncorrectFormat, {}, ""},
        {"HKCU\\Software", Problem::IncorrectFormat, {}, ""},
        {"", Problem::IncorrectFormat, {}, ""},
        {"HKEY_NOWHERE\\Software", Problem::UnknownRoot, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const RegistryPath p = parseRegistryPath(c.path);
        EXPECT_EQ(p.problem, c.problem);
        if (c.problem == Problem::None) {
            EXPECT_EQ(p.root, c.root);
            EXPECT_EQ(p.subKey, c.subKey);
        }
    }
}

TEST(Registry, WritesNeedTheKeyAndKeepTheLastResultCode) {
    TempFolder tmp;
    ScriptedUi ui;
    auto backend = platform::makeRegistryBackend(tmp / "registry.reg");
    Registry r(*backend, ui);
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Bramble Studios\\KorvaneTactics";

    r.SetDWordValue(key, "scroll", 800);
    EXPECT_EQ(r.resultCode(), platform::regerr::FileNotFound);
    EXPECT_EQ(backend->query(RegistryRoot::LocalMachine, key.substr(19), "scroll"), std::nullopt);

    r.CreateKey(key);
    EXPECT_EQ(r.resultCode(), platform::regerr::Success);
    r.SetDWordValue(key, "scroll", 800);
    r.SetStringValue(key, "phrase0", "gl hf");
    EXPECT_EQ(backend->query(RegistryRoot::LocalMachine, key.substr(19), "scroll"),
              platform::RegistryValue(std::uint32_t(800)));
    EXPECT_EQ(backend->query(RegistryRoot::LocalMachine, key.substr(19), "phrase0"),
              platform::RegistryValue("gl hf"));
    EXPECT_TRUE(ui.messages().empty());

    r.SetStringValue("HKEY_LOCAL_MACHINE\\Software\\", "x", "y");
    r.SetStringValue("HKEY_SOMEWHERE\\Software", "x", "y"); // no handle, no message
    EXPECT_EQ(ui.messageTexts(),
              std::vector<std::string>{"Incorrect Format:\n\nHKEY_LOCAL_MACHINE\\Software\\"});
    EXPECT_EQ(r.resultCode(), platform::regerr::Success);
}

} // namespace kv::test
