#include "core/registry_access.h"

#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kv::test {

using platform::RegistryRoot;
using Problem = RegistryPath::Problem;

TEST(RegistryPath, RootAndSubKeyAreSplitAtTheFirstBackslash) {
    using R = RegistryRoot;
    const std::tuple<const char*, RegistryRoot, const char*> cases[] = {
        {"HKEY_CLASSES_ROOT\\.kdg", R::ClassesRoot, ".kdg"},
        {"HKEY_LOCAL_MACHINE\\Software\\B", R::LocalMachine, "Software\\B"},
        {"HKEY_USERS\\x", R::Users, "x"},
        {"HKEY_PERFORMANCE_DATA\\x", R::PerformanceData, "x"},
        {"HKEY_CURRENT_CONFIG\\x", R::CurrentConfig, "x"},
        {"HKEY_DYN_DATA\\x", R::DynData, "x"},
        {"HKEY_CURRENT_USER", R::CurrentUser, ""},
    };
    for (const auto& [path, root, subKey] : cases) {
        const RegistryPath p = parseRegistryPath(path);
        EXPECT_TRUE(p.problem == Problem::None && p.root == root && p.subKey == subKey) << path;
    }
    for (const char* bad : {"HKEY_CURRENT_USER\\", "HKCU\\Software", ""})
        EXPECT_EQ(parseRegistryPath(bad).problem, Problem::IncorrectFormat) << bad;
    EXPECT_EQ(parseRegistryPath("HKEY_NOWHERE\\Software").problem, Problem::UnknownRoot);
}

TEST(Registry, WritesNeedTheKeyAndKeepTheLastResultCode) {
    TempFolder tmp;
    ScriptedUi ui;
    auto backend = platform::makeRegistryBackend(tmp / "registry.reg");
    Registry r(*backend, ui);
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Bramble Studios\\KorvaneTactics";
    const auto value = [&](const char* name) {
        return backend->query(RegistryRoot::LocalMachine, key.substr(19), name);
    };
    r.SetDWordValue(key, "scroll", 800);
    EXPECT_TRUE(r.resultCode() == platform::regerr::FileNotFound && !value("scroll"));
    r.CreateKey(key);
    EXPECT_EQ(r.resultCode(), platform::regerr::Success);
    r.SetDWordValue(key, "scroll", 800);
    r.SetStringValue(key, "phrase0", "gl hf");
    EXPECT_EQ(value("scroll"), platform::RegistryValue(800u));
    EXPECT_EQ(value("phrase0"), platform::RegistryValue("gl hf"));

    r.SetStringValue("HKEY_LOCAL_MACHINE\\Software\\", "x", "y");
    r.SetStringValue("HKEY_SOMEWHERE\\Software", "x", "y"); // no handle, no message
    EXPECT_EQ(ui.messageTexts(), // the only message: successful writes show none
              std::vector<std::string>{"Incorrect Format:\n\nHKEY_LOCAL_MACHINE\\Software\\"});
    EXPECT_EQ(r.resultCode(), platform::regerr::Success);
}

} // namespace kv::test
