#pragma once
// What the end-to-end start tests share: a launcher view that logs what the start and the
// close watch did to the window.
#include "core/launcher_view.h"
#include "tests/support/wait.h"

#include <string>
#include <vector>

namespace kv::test {

class WindowStateLog : public LauncherView {
public:
    void minimise() override { log.push_back("minimise"); }
    void restoreNormal() override { log.push_back("restoreNormal"); }
    void bringToFront() override { log.push_back("bringToFront"); }
    void setOnTop(bool on) override { log.push_back(on ? "onTop on" : "onTop off"); }
    std::vector<std::string> log;
};

} // namespace kv::test
