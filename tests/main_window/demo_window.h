#pragma once
// The launcher's main window on a freshly written demo world, started as the program starts
// it. Tests change the world between construction and start(), and hook parts of the
// program in through start()'s `wire`.
#include "launcher/launcher.h"
#include "launcher/startup.h"
#include "platform/registry.h"
#include "tests/support/qt_application.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_world.h"
#include "ui/main/main_window.h"
#include "ui/qt_ui.h"

#include <QString>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace kv::test {

template <typename UiT> struct BasicDemoWindow {
    explicit BasicDemoWindow(bool customizable = false) {
        application();
        std::string error;
        EXPECT_TRUE(demo::writeDemoWorld(tmp / "demo", customizable, world, error)) << error;
        registry = platform::makeRegistryBackend(tmp / "registry.reg");
    }
    // Every "open this" the launcher asks for is recorded in `opened` and succeeds.
    void start(const std::function<void(Launcher&)>& wire = {}) {
        launcher = std::make_unique<Launcher>(world.launcherFolder, ui, *registry,
                                              [this](const std::string& target) {
                                                  opened.push_back(target);
                                                  return true;
                                              });
        if (wire)
            wire(*launcher);
        window = std::make_unique<ui::Main>(*launcher);
        if constexpr (std::is_same_v<UiT, ui::QtUi>)
            ui.setParent(window.get()); // real dialogs centre over the launcher
        EXPECT_TRUE(runStartup(*launcher, ""));
        window->show();
    }
    template <typename T> T* find(const char* name) const {
        T* w = window->template findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    TempFolder tmp;
    demo::DemoWorld world;
    UiT ui;
    std::vector<std::string> opened;
    std::unique_ptr<platform::RegistryBackend> registry;
    std::unique_ptr<Launcher> launcher;
    std::unique_ptr<ui::Main> window;
};

using DemoWindow = BasicDemoWindow<ScriptedUi>;

} // namespace kv::test
