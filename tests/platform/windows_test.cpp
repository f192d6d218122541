#include "platform/shell.h"
#include "platform/windows.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <cstdlib>
#include <sstream>
#include <utility>

namespace kv::platform {
namespace {

// The helper, a real second process started as the launcher starts a game. It writes its
// "ready ..." line to a file of ours, and is killed when the object goes.
struct HelperProcess {
    explicit HelperProcess(const std::string& mode)
        : started(platform::startProgram(KV_TEST_HELPER, mode + " \"" + tmp / "ready" + "\"")) {}
    ~HelperProcess() { end(); }
    long pid() const { return started.processId; }
    std::string readyLine() const {
        test::waitFor([&] { return !tmp.read("ready").empty(); }, 10000);
        return tmp.read("ready");
    }
    // Kills it, once; true when it is gone.
    bool end() {
        if (!started.ok || std::exchange(ended, true))
            return true;
        ::kill(pid_t(pid()), SIGKILL);
        return test::waitFor([&] { return ::kill(pid_t(pid()), 0) != 0; }, 10000);
    }

    test::TempFolder tmp;
    platform::StartResult started;
    bool ended = false;
};

bool hasAboveState(unsigned long window) {
    Display* d = XOpenDisplay(nullptr);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool above = false;
    if (XGetWindowProperty(d, window, XInternAtom(d, "_NET_WM_STATE", False), 0, 64, False, XA_ATOM,
                           &type, &format, &count, &after, &data) == Success &&
        data) {
        const Atom wanted = XInternAtom(d, "_NET_WM_STATE_ABOVE", False);
        for (unsigned long i = 0; i < count; ++i)
            above = above || reinterpret_cast<Atom*>(data)[i] == wanted;
        XFree(data);
    }
    XCloseDisplay(d);
    return above;
}

// A window manager puts client windows inside frames; the lookup still finds them by
// exact title, and the frame's process is the client's.
TEST(Windows, FindsTheGameWindowInItsFrameWithItsProcessAndSetsItOnTop) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (./test starts Xvfb)";
    HelperProcess game("window \"Korvane Tactics\"");
    std::istringstream ready(game.readyLine());
    std::string word;
    unsigned long window = 0, frame = 0;
    ready >> word >> window >> frame;
    ASSERT_EQ(word, "ready");
    const WindowSearch found = findWindowByTitle("Korvane Tactics");
    EXPECT_TRUE(found.windowSystem);
    EXPECT_EQ(found.handle, WindowHandle(window));
    EXPECT_EQ(found.processId, game.pid()); // the same owner, found in the same pass
    EXPECT_EQ(windowProcessId(found.handle), game.pid());
    EXPECT_EQ(windowProcessId(WindowHandle(frame)), game.pid());
    EXPECT_EQ(windowProcessId(0), 0);
    for (const char* other : {"korvane tactics", "Korvane Tactics ", "Korvane", ""})
        EXPECT_LT(findWindowByTitle(other).handle, 1) << '"' << other << '"';

    ASSERT_TRUE(setWindowAlwaysOnTop(WindowHandle(window), true));
    EXPECT_TRUE(hasAboveState(window));
    ASSERT_TRUE(setWindowAlwaysOnTop(WindowHandle(window), false));
    EXPECT_FALSE(hasAboveState(window) || setWindowAlwaysOnTop(0, true));
    EXPECT_TRUE(game.end());
    EXPECT_LT(findWindowByTitle("Korvane Tactics").handle, 1); // gone with its process
}

TEST(Windows, WithoutADisplayTheLookupSaysSoInsteadOfFailing) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    ::unsetenv("DISPLAY");
    const WindowSearch search = findWindowByTitle("Korvane Tactics");
    EXPECT_FALSE(search.windowSystem);
    EXPECT_LT(search.handle, 1);
    EXPECT_EQ(windowProcessId(1234), 0);
    EXPECT_FALSE(setWindowAlwaysOnTop(1234, true));
    if (display)
        ::setenv("DISPLAY", saved.c_str(), 1);
}

} // namespace
} // namespace kv::platform
