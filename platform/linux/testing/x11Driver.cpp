#include "x11Driver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <cairo.h>
#include <poll.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "../../cairo/cairoText.h"

namespace platform::linux_backend::testing {

namespace {

Display* dpy(void* d) { return static_cast<Display*>(d); }

int hostErrorCount = 0;
int hostHandler(Display*, XErrorEvent*) {
    ++hostErrorCount;
    return 0;
}

void pause(int ms) { poll(nullptr, 0, ms); }

}  // namespace

bool savePng(const Pixels& pixels, const std::string& path) {
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels.width, pixels.height);
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; data && y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            reinterpret_cast<std::uint32_t*>(data + y * stride)[x] = pixels.at(x, y);
    cairo_surface_mark_dirty(image);
    const bool saved = cairo_surface_write_to_png(image, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(image);
    return saved;
}

bool loadPng(const std::string& path, Pixels& pixels) {
    cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return false;
    }
    cairo_surface_flush(image);
    pixels.width = cairo_image_surface_get_width(image);
    pixels.height = cairo_image_surface_get_height(image);
    pixels.rgb.assign(static_cast<std::size_t>(pixels.width) * pixels.height, 0);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            pixels.rgb[static_cast<std::size_t>(y) * pixels.width + x] =
                reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFFu;
    cairo_surface_destroy(image);
    return true;
}

long differingPixels(const Pixels& a, const Pixels& b, int tolerance) {
    if (a.width != b.width || a.height != b.height) return -1;
    long differing = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i)
        for (int shift : {0, 8, 16}) {
            const int ca = static_cast<int>((a.rgb[i] >> shift) & 0xFF);
            const int cb = static_cast<int>((b.rgb[i] >> shift) & 0xFF);
            if (std::abs(ca - cb) > tolerance) {
                ++differing;
                break;
            }
        }
    return differing;
}

X11Driver::X11Driver() {
    display = XOpenDisplay(nullptr);
    if (!display) return;
    int event = 0, error = 0, major = 0, minor = 0;
    extensions = XTestQueryExtension(dpy(display), &event, &error, &major, &minor) &&
                 XResQueryExtension(dpy(display), &event, &error);
}

X11Driver::~X11Driver() {
    if (display) XCloseDisplay(dpy(display));
}

void X11Driver::sync() { XSync(dpy(display), False); }

unsigned long X11Driver::createTopLevel(int x, int y, int width, int height, const char* name) {
    Display* d = dpy(display);
    const ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                                           static_cast<unsigned>(height), 0, BlackPixel(d, 0),
                                           0x303030);
    XStoreName(d, w, name);
    XSizeHints hints{};
    hints.flags = USPosition;
    hints.x = x;
    hints.y = y;
    XSetWMNormalHints(d, w, &hints);
    XMapWindow(d, w);
    sync();
    for (int i = 0; i < 100 && !viewable(w); ++i) pause(10);
    return w;
}

unsigned long X11Driver::createChild(unsigned long parent, int x, int y, int width, int height) {
    Display* d = dpy(display);
    const ::Window w = XCreateSimpleWindow(d, parent, x, y, static_cast<unsigned>(width),
                                           static_cast<unsigned>(height), 0, BlackPixel(d, 0),
                                           0x505050);
    XMapWindow(d, w);
    sync();
    return w;
}

void X11Driver::destroyWindow(unsigned long window) {
    XDestroyWindow(dpy(display), window);
    sync();
}

void X11Driver::moveTo(int x, int y) {
    XTestFakeMotionEvent(dpy(display), 0, x, y, CurrentTime);
    sync();
}

void X11Driver::press(int button) {
    XTestFakeButtonEvent(dpy(display), static_cast<unsigned>(button), True, CurrentTime);
    sync();
}

void X11Driver::release(int button) {
    XTestFakeButtonEvent(dpy(display), static_cast<unsigned>(button), False, CurrentTime);
    sync();
}

void X11Driver::click(int x, int y, int button) {
    moveTo(x, y);
    press(button);
    release(button);
}

void X11Driver::holdKey(const char* keysymName, bool down) {
    Display* d = dpy(display);
    const KeyCode code = XKeysymToKeycode(d, XStringToKeysym(keysymName));
    XTestFakeKeyEvent(d, code, down ? True : False, CurrentTime);
    sync();
}

void X11Driver::key(const char* keysymName, bool shift) {
    if (shift) holdKey("Shift_L", true);
    holdKey(keysymName, true);
    holdKey(keysymName, false);
    if (shift) holdKey("Shift_L", false);
}

void X11Driver::type(const std::string& text) {
    Display* d = dpy(display);
    for (char c : text) {
        const KeySym symbol = c == ' ' ? XK_space : static_cast<KeySym>(static_cast<unsigned char>(c));
        const KeyCode code = XKeysymToKeycode(d, symbol);
        if (!code) continue;
        // Capitals and shifted punctuation sit on the second level of their key.
        const bool shift = XkbKeycodeToKeysym(d, code, 0, 0) != symbol;
        if (shift) holdKey("Shift_L", true);
        XTestFakeKeyEvent(d, code, True, CurrentTime);
        XTestFakeKeyEvent(d, code, False, CurrentTime);
        sync();
        if (shift) holdKey("Shift_L", false);
    }
}

bool X11Driver::exists(unsigned long window) {
    XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XWindowAttributes attributes;
    const bool found = XGetWindowAttributes(dpy(display), window, &attributes) != 0;
    XSync(dpy(display), False);
    XSetErrorHandler(previous);
    return found;
}

bool X11Driver::viewable(unsigned long window) {
    XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XWindowAttributes attributes{};
    const bool found = XGetWindowAttributes(dpy(display), window, &attributes) != 0;
    XSync(dpy(display), False);
    XSetErrorHandler(previous);
    return found && attributes.map_state == IsViewable;
}

X11Driver::Origin X11Driver::screenOrigin(unsigned long window) {
    Display* d = dpy(display);
    Origin o;
    ::Window child = 0;
    XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &o.x, &o.y, &child);
    return o;
}

std::vector<unsigned long> X11Driver::children(unsigned long window) {
    ::Window root = 0, parent = 0, *list = nullptr;
    unsigned int count = 0;
    std::vector<unsigned long> out;
    if (XQueryTree(dpy(display), window, &root, &parent, &list, &count)) {
        out.assign(list, list + count);
        if (list) XFree(list);
    }
    return out;
}

unsigned long X11Driver::popup() {
    Display* d = dpy(display);
    const std::vector<unsigned long> top = children(DefaultRootWindow(d));
    for (auto it = top.rbegin(); it != top.rend(); ++it) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(d, *it, &a) && a.override_redirect && a.map_state == IsViewable)
            return *it;
    }
    return 0;
}

unsigned long X11Driver::topLevelNamed(const std::string& name) {
    Display* d = dpy(display);
    for (unsigned long w : children(DefaultRootWindow(d))) {
        char* title = nullptr;
        XWindowAttributes a{};
        if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable) continue;
        bool match = false;
        if (XFetchName(d, w, &title) && title) {
            match = name == title;
            XFree(title);
        }
        if (match) return w;
    }
    return 0;
}

unsigned long X11Driver::inputFocus() {
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(dpy(display), &focus, &revert);
    return focus;
}

Pixels X11Driver::capture(unsigned long window) {
    Display* d = dpy(display);
    Pixels pixels;
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, window, &a)) return pixels;
    XImage* image = XGetImage(d, window, 0, 0, static_cast<unsigned>(a.width),
                              static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    if (!image) return pixels;
    pixels.width = a.width;
    pixels.height = a.height;
    pixels.rgb.resize(static_cast<std::size_t>(a.width) * a.height);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            pixels.rgb[static_cast<std::size_t>(y) * a.width + x] = XGetPixel(image, x, y) & 0xFFFFFF;
    XDestroyImage(image);
    return pixels;
}

Pixels X11Driver::captureScreen(int x, int y, int width, int height) {
    Display* d = dpy(display);
    Pixels pixels;
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.rgb.resize(static_cast<std::size_t>(width) * height);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            pixels.rgb[static_cast<std::size_t>(j) * width + i] = XGetPixel(image, i, j) & 0xFFFFFF;
    XDestroyImage(image);
    return pixels;
}

int X11Driver::clientCount() {
    int count = 0;
    XResClient* clients = nullptr;
    XResQueryClients(dpy(display), &count, &clients);
    if (clients) XFree(clients);
    return count;
}

long X11Driver::resourceTotal() {
    Display* d = dpy(display);
    int count = 0;
    XResClient* clients = nullptr;
    XResQueryClients(d, &count, &clients);
    long total = 0;
    for (int i = 0; i < count; ++i) {
        int types = 0;
        XResType* list = nullptr;
        // A client may leave between the two queries.
        XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        if (XResQueryClientResources(d, clients[i].resource_base, &types, &list)) {
            for (int t = 0; t < types; ++t) total += list[t].count;
            if (list) XFree(list);
        }
        XSync(d, False);
        XSetErrorHandler(previous);
    }
    if (clients) XFree(clients);
    return total;
}

X11Driver::DropReplies X11Driver::dropOnto(unsigned long target, int rootX, int rootY) {
    Display* d = dpy(display);
    const ::Window source = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom enter = XInternAtom(d, "XdndEnter", False);
    const Atom position = XInternAtom(d, "XdndPosition", False);
    const Atom drop = XInternAtom(d, "XdndDrop", False);
    const Atom status = XInternAtom(d, "XdndStatus", False);
    const Atom finished = XInternAtom(d, "XdndFinished", False);
    const Atom uriList = XInternAtom(d, "text/uri-list", False);
    const Atom copy = XInternAtom(d, "XdndActionCopy", False);
    auto send = [&](Atom type, long l1, long l2, long l3, long l4) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = target;
        e.xclient.message_type = type;
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(source);
        e.xclient.data.l[1] = l1;
        e.xclient.data.l[2] = l2;
        e.xclient.data.l[3] = l3;
        e.xclient.data.l[4] = l4;
        XSendEvent(d, target, False, NoEventMask, &e);
        XSync(d, False);
    };
    auto await = [&](Atom type, DropReplies& replies) {
        for (int i = 0; i < 200; ++i) {
            XEvent e;
            while (XCheckTypedWindowEvent(d, source, ClientMessage, &e)) {
                if (e.xclient.message_type != type) continue;
                replies.accepted = replies.accepted || (e.xclient.data.l[1] & 1);
                return true;
            }
            pause(10);
            XSync(d, False);
        }
        return false;
    };
    DropReplies replies;
    send(enter, 5L << 24, static_cast<long>(uriList), 0, 0);
    send(position, 0, (static_cast<long>(rootX) << 16) | rootY, CurrentTime, static_cast<long>(copy));
    replies.status = await(status, replies);
    send(drop, 0, CurrentTime, 0, 0);
    replies.finished = await(finished, replies);
    XDestroyWindow(d, source);
    XSync(d, False);
    return replies;
}

void X11Driver::prepareProcess() {
    XInitThreads();
    installHostErrorHandler();
}

void X11Driver::finishProcess() { cairo_text::releaseFontCachesNow(); }

void X11Driver::installHostErrorHandler() {
    hostErrorCount = 0;
    XSetErrorHandler(hostHandler);
}

bool X11Driver::hostErrorHandlerInstalled() {
    XErrorHandler current = XSetErrorHandler(hostHandler);
    return current == hostHandler;
}

int X11Driver::hostErrors() { return hostErrorCount; }

void X11Driver::publishDoubleClickTime(int milliseconds) {
    Display* d = dpy(display);
    if (!settingsOwner)
        settingsOwner = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom settings = XInternAtom(d, "_XSETTINGS_SETTINGS", False);
    const std::string name = "Net/DoubleClickTime";
    std::vector<unsigned char> blob{0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                                    static_cast<unsigned char>(name.size()), 0};
    blob.insert(blob.end(), name.begin(), name.end());
    while (blob.size() % 4) blob.push_back(0);
    for (int i = 0; i < 4; ++i) blob.push_back(0);  // last change serial
    for (int i = 0; i < 4; ++i) blob.push_back(static_cast<unsigned char>(milliseconds >> (8 * i)));
    XChangeProperty(d, settingsOwner, settings, settings, 8, PropModeReplace, blob.data(),
                    static_cast<int>(blob.size()));
    XSetSelectionOwner(d, XInternAtom(d, "_XSETTINGS_S0", False), settingsOwner, CurrentTime);
    sync();
}

void whileIdling(const std::function<void()>& idle, const std::function<void(X11Driver&)>& hands) {
    std::atomic<bool> done{false};
    std::thread user([&] {
        X11Driver own;
        hands(own);
        done = true;
    });
    while (!done) {
        idle();
        poll(nullptr, 0, 20);
    }
    user.join();
}

}  // namespace platform::linux_backend::testing
