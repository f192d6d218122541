#include "platform/windows.h"
#include "tests/platform/child_process.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <sstream>

namespace kv::platform {
namespace {

using test::ChildProcess;

class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display (./test starts Xvfb)";
    }
    // Starts the helper's window and returns its id once it is mapped.
    static unsigned long showWindow(ChildProcess& child) {
        std::istringstream ready(child.readLine());
        std::string word;
        unsigned long window = 0;
        ready >> word >> window;
        EXPECT_EQ(word, "ready");
        return window;
    }
};

TEST_F(WindowsTest, FindsTheGameWindowByExactTitleAndItsProcess) {
    ChildProcess game({KV_TEST_HELPER, "window", "Korvane Tactics"});
    const unsigned long window = showWindow(game);
    ASSERT_NE(window, 0u);

    const WindowSearch found = findWindowByTitle("Korvane Tactics");
    EXPECT_TRUE(found.windowSystem);
    EXPECT_EQ(found.handle, WindowHandle(window));
    EXPECT_EQ(windowProcessId(found.handle), game.pid());
    EXPECT_EQ(found.processId, game.pid()); // the same owner, found in the same pass

    for (const char* other : {"korvane tactics", "Korvane Tactics ", "Korvane", ""}) {
        const WindowSearch missing = findWindowByTitle(other);
        EXPECT_TRUE(missing.windowSystem);
        EXPECT_LT(missing.handle, 1) << '"' << other << '"';
    }
    EXPECT_EQ(game.finish(), 0);
    EXPECT_LT(findWindowByTitle("Korvane Tactics").handle, 1); // gone with its process
}

// A window manager puts client windows inside frames; the lookup still finds them, and
// the frame's process is the client's.
TEST_F(WindowsTest, FindsWindowsInsideFrames) {
    ChildProcess game({KV_TEST_HELPER, "window", "Korvane Tactics", "framed"});
    std::istringstream ready(game.readLine());
    std::string word;
    unsigned long window = 0, frame = 0;
    ready >> word >> window >> frame;
    ASSERT_EQ(word, "ready");
    EXPECT_EQ(findWindowByTitle("Korvane Tactics").handle, WindowHandle(window));
    EXPECT_EQ(windowProcessId(WindowHandle(frame)), game.pid());
    EXPECT_EQ(windowProcessId(0), 0);
}

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

TEST_F(WindowsTest, AlwaysOnTopIsTheAboveStateWithoutAWindowManager) {
    ChildProcess game({KV_TEST_HELPER, "window", "Korvane Starter"});
    const unsigned long window = showWindow(game);
    ASSERT_TRUE(setWindowAlwaysOnTop(WindowHandle(window), true));
    EXPECT_TRUE(hasAboveState(window));
    ASSERT_TRUE(setWindowAlwaysOnTop(WindowHandle(window), false));
    EXPECT_FALSE(hasAboveState(window));
    EXPECT_FALSE(setWindowAlwaysOnTop(0, true));
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
