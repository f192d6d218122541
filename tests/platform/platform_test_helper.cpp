// A small child process for the platform tests, built without Qt:
//   window <title> [framed]  shows a top-level window (inside a frame window, as a window
//                            manager would put it, when "framed")
//   memory                   maps a page at a fixed address and fills it with known values
// It prints "ready ..." once set up, answers "dump" on stdin, and ends when stdin closes.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr std::uintptr_t kPage = 0x00526000;

template <typename T> T& at(std::uintptr_t address) {
    return *reinterpret_cast<T*>(address);
}

int showWindow(const std::string& title, bool framed) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::cout << "no display" << std::endl;
        return 1;
    }
    const Window root = DefaultRootWindow(d);
    Window parent = root;
    if (framed) {
        parent = XCreateSimpleWindow(d, root, 10, 10, 220, 140, 0, 0, 0);
        XMapWindow(d, parent);
    }
    const Window w = XCreateSimpleWindow(d, parent, 0, 0, 200, 120, 0, 0, 0);
    XStoreName(d, w, title.c_str());
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False),
                    XInternAtom(d, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), int(title.size()));
    const long pid = long(getpid());
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    XMapWindow(d, w);
    XSync(d, False);
    std::cout << "ready " << w << " " << parent << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    XCloseDisplay(d);
    return 0;
}

int fillMemory() {
    // Let a non-root parent read and write us even under Yama's ptrace restrictions.
    prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
    void* page = mmap(reinterpret_cast<void*>(kPage), 4096, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (page != reinterpret_cast<void*>(kPage)) {
        std::cout << "mmap failed: " << std::strerror(errno) << std::endl;
        return 1;
    }
    for (int i = 0; i < 8; ++i) {
        at<std::uint32_t>(0x00526828 + 4 * i) = 0x01020300u + std::uint32_t(i);
        at<std::uint32_t>(0x00526848 + 4 * i) = 100u * std::uint32_t(i);
    }
    at<std::uint16_t>(0x0052611C) = 0xBEEF;
    at<std::uint8_t>(0x00526FFF) = 0xA5; // the last byte of the page
    std::cout << "ready" << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == "dump")
            std::cout << "flag=" << at<std::uint16_t>(0x0052611C)
                      << " last=" << unsigned(at<std::uint8_t>(0x00526FFF))
                      << " trucks0=" << at<std::uint32_t>(0x00526828) << std::endl;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "window" && argc > 2)
        return showWindow(argv[2], argc > 3 && std::string(argv[3]) == "framed");
    if (mode == "memory")
        return fillMemory();
    std::cerr << "usage: platform_test_helper window <title> [framed] | memory\n";
    return 2;
}
