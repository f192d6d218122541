#include "platform/windows.h"
#include "tests/support/wait.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace kv::platform {
namespace {

// A game's window as a window manager shows it: inside a frame window, with its title and
// its owner's process id (made up here, as only the property counts) on the client.
struct FramedWindow {
    static constexpr long kPid = 4242;
    explicit FramedWindow(const std::string& title) : d(XOpenDisplay(nullptr)) {
        frame = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, 220, 140, 0, 0, 0);
        client = XCreateSimpleWindow(d, frame, 0, 0, 200, 120, 0, 0, 0);
        XStoreName(d, client, title.c_str());
        XChangeProperty(d, client, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&kPid), 1);
        XMapWindow(d, frame);
        XMapWindow(d, client);
        XSync(d, False);
    }
    ~FramedWindow() { XCloseDisplay(d); }
    std::vector<Atom> state() const {
        Atom type;
        int format;
        unsigned long count = 0, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(d, client, XInternAtom(d, "_NET_WM_STATE", False), 0, 64, False, XA_ATOM,
                           &type, &format, &count, &after, &data);
        const std::vector<Atom> atoms(reinterpret_cast<Atom*>(data),
                                      reinterpret_cast<Atom*>(data) + count);
        XFree(data);
        return atoms;
    }

    Display* d;
    Window frame = 0, client = 0;
};

TEST(Windows, FindsTheGameWindowInItsFrameWithItsProcessAndSetsItOnTop) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display (./test starts Xvfb)";
    {
        const FramedWindow game("Korvane Tactics");
        const WindowSearch found = findWindowByTitle("Korvane Tactics");
        // The same owner, found in the same pass; the frame leads to it as well.
        EXPECT_TRUE(found.windowSystem && found.handle == WindowHandle(game.client) &&
                    found.processId == game.kPid);
        EXPECT_TRUE(windowProcessId(WindowHandle(game.client)) == game.kPid &&
                    windowProcessId(WindowHandle(game.frame)) == game.kPid &&
                    windowProcessId(0) == 0);
        for (const char* other : {"korvane tactics", "Korvane Tactics ", "Korvane", ""})
            EXPECT_LT(findWindowByTitle(other).handle, 1) << '"' << other << '"';

        ASSERT_TRUE(setWindowAlwaysOnTop(WindowHandle(game.client), true));
        EXPECT_EQ(game.state(), std::vector{XInternAtom(game.d, "_NET_WM_STATE_ABOVE", False)});
        ASSERT_TRUE(setWindowAlwaysOnTop(WindowHandle(game.client), false));
        EXPECT_TRUE(game.state().empty() && !setWindowAlwaysOnTop(0, true));
    }
    EXPECT_TRUE(test::waitFor([] { return findWindowByTitle("Korvane Tactics").handle < 1; }, 5000))
        << "the window outlived its connection";
}

} // namespace
} // namespace kv::platform
