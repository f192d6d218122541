#include "platform/windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kv::platform {

namespace {

// Windows may vanish while we walk the tree; their BadWindow errors must not end the
// program, so each connection runs with an error handler that ignores them. The handler
// is process-wide in Xlib, hence the lock.
std::mutex xlibLock;
int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

// One short-lived connection per call: a vanished X server then fails the next call
// instead of leaving a dead connection behind.
class Connection {
public:
    Connection() : guard_(xlibLock) {
        display_ = ::XOpenDisplay(nullptr);
        if (display_)
            previous_ = ::XSetErrorHandler(ignoreXErrors);
    }
    ~Connection() {
        if (!display_)
            return;
        ::XSync(display_, False);
        ::XSetErrorHandler(previous_);
        ::XCloseDisplay(display_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Display* display() const { return display_; }
    Atom atom(const char* name) const { return ::XInternAtom(display_, name, False); }

private:
    std::lock_guard<std::mutex> guard_;
    Display* display_ = nullptr;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

// The raw bytes of a window property of any type, or nothing when it is not set.
std::optional<std::string> property(const Connection& x, Window window, Atom name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (::XGetWindowProperty(x.display(), window, name, 0, 1 << 16, False, AnyPropertyType, &type,
                             &format, &count, &after, &data) != Success ||
        type == None) {
        if (data)
            ::XFree(data);
        return std::nullopt;
    }
    // 32-bit items are handed out as longs, whatever the size of long.
    const size_t itemSize = format == 32 ? sizeof(long) : size_t(format / 8);
    std::string bytes(reinterpret_cast<const char*>(data), count * itemSize);
    ::XFree(data);
    return bytes;
}

bool hasTitle(const Connection& x, Window window, std::string_view title, Atom wmName,
              Atom netWmName) {
    for (Atom name : {netWmName, wmName}) {
        const auto text = property(x, window, name);
        if (text && *text == title)
            return true;
    }
    return false;
}

std::optional<long> windowPid(const Connection& x, Window window, Atom netWmPid) {
    const auto bytes = property(x, window, netWmPid);
    if (!bytes || bytes->size() < sizeof(long))
        return std::nullopt;
    long pid = 0;
    std::memcpy(&pid, bytes->data(), sizeof pid);
    return pid > 0 ? std::optional<long>(pid) : std::nullopt;
}

// Children of a window, bottom to top; empty when it has gone.
std::deque<Window> children(const Connection& x, Window window) {
    Window root = 0, parent = 0;
    Window* list = nullptr;
    unsigned count = 0;
    std::deque<Window> out;
    if (::XQueryTree(x.display(), window, &root, &parent, &list, &count) && list) {
        out.assign(list, list + count);
        ::XFree(list);
    }
    return out;
}

// Window managers reparent client windows into frames, so top-level windows are looked
// for across the whole tree, nearest to the root first.
constexpr size_t kWindowLimit = 100000;

// The handle may be a window manager's frame; the client inside carries the id.
long ownerProcess(const Connection& x, Window window) {
    const Atom netWmPid = x.atom("_NET_WM_PID");
    std::deque<Window> queue{window};
    for (size_t seen = 0; !queue.empty() && seen < 64; ++seen) {
        const Window w = queue.front();
        queue.pop_front();
        if (auto pid = windowPid(x, w, netWmPid))
            return *pid;
        for (Window child : children(x, w))
            queue.push_back(child);
    }
    return 0;
}

} // namespace

WindowSearch findWindowByTitle(std::string_view title) {
    WindowSearch result;
    Connection x;
    if (!x.display()) {
        result.windowSystem = false;
        return result;
    }
    const Atom wmName = XA_WM_NAME;
    const Atom netWmName = x.atom("_NET_WM_NAME");
    std::deque<Window> queue = children(x, DefaultRootWindow(x.display()));
    for (size_t seen = 0; !queue.empty() && seen < kWindowLimit; ++seen) {
        const Window window = queue.front();
        queue.pop_front();
        if (hasTitle(x, window, title, wmName, netWmName)) {
            result.handle = WindowHandle(window);
            result.processId = ownerProcess(x, window);
            break;
        }
        for (Window child : children(x, window))
            queue.push_back(child);
    }
    return result;
}

long windowProcessId(WindowHandle window) {
    if (window < 1)
        return 0;
    Connection x;
    return x.display() ? ownerProcess(x, Window(window)) : 0;
}

bool setWindowAlwaysOnTop(WindowHandle window, bool onTop) {
    if (window < 1)
        return false;
    Connection x;
    if (!x.display())
        return false;
    Display* d = x.display();
    const Window w = Window(window);
    const Window root = DefaultRootWindow(d);
    const Atom state = x.atom("_NET_WM_STATE");
    const Atom above = x.atom("_NET_WM_STATE_ABOVE");
    XWindowAttributes attributes;
    if (!::XGetWindowAttributes(d, w, &attributes))
        return false;

    if (property(x, root, x.atom("_NET_SUPPORTING_WM_CHECK"))) {
        // A window manager owns the state of its windows; ask it.
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = w;
        event.xclient.message_type = state;
        event.xclient.format = 32;
        event.xclient.data.l[0] = onTop ? 1 : 0; // _NET_WM_STATE_ADD / _REMOVE
        event.xclient.data.l[1] = long(above);
        event.xclient.data.l[3] = 1; // from a normal application
        ::XSendEvent(d, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
        // No window manager: keep the state property ourselves and restack directly.
        std::vector<Atom> atoms;
        if (auto bytes = property(x, w, state)) {
            for (size_t i = 0; i + sizeof(long) <= bytes->size(); i += sizeof(long)) {
                long a = 0;
                std::memcpy(&a, bytes->data() + i, sizeof a);
                if (Atom(a) != above)
                    atoms.push_back(Atom(a));
            }
        }
        if (onTop)
            atoms.push_back(above);
        ::XChangeProperty(d, w, state, XA_ATOM, 32, PropModeReplace,
                          reinterpret_cast<const unsigned char*>(atoms.data()), int(atoms.size()));
        if (onTop)
            ::XRaiseWindow(d, w);
    }
    ::XSync(d, False);
    return true;
}

} // namespace kv::platform
