// A small second process for the window tests, built without Qt: "window <title> <file>"
// shows a window inside a frame window, as a window manager puts it, writes "ready
// <window> <frame>" to the file and waits to be killed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// Whole or not at all: the test polls the file.
int ready(const std::string& file, const std::string& line) {
    std::ofstream(file + ".tmp") << line << '\n';
    std::rename((file + ".tmp").c_str(), file.c_str());
    while (true)
        ::pause();
}

int showWindow(const std::string& title, const std::string& file) {
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 1;
    const Window frame = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, 220, 140, 0, 0, 0);
    XMapWindow(d, frame);
    const Window w = XCreateSimpleWindow(d, frame, 0, 0, 200, 120, 0, 0, 0);
    XStoreName(d, w, title.c_str());
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False),
                    XInternAtom(d, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), int(title.size()));
    const long pid = long(getpid());
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    XMapWindow(d, w);
    XSync(d, False);
    return ready(file, "ready " + std::to_string(w) + " " + std::to_string(frame));
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "window" && argc == 4)
        return showWindow(argv[2], argv[3]);
    std::fprintf(stderr, "usage: platform_test_helper window <title> <ready-file>\n");
    return 2;
}
