#include "x11Window.h"

#include <cairo.h>

#include <algorithm>
#include <cstdint>

#include "../cairo/cairoDevice.h"
#include "../cairo/cairoText.h"
#include "x11ErrorTrap.h"
#include "x11ImageTransfer.h"
#include "x11Input.h"
#include "x11WindowDevice.h"

namespace platform {

namespace linux_backend {

namespace {

std::vector<X11Window*>& registry() {
    static std::vector<X11Window*> all;
    return all;
}

// X resource ids have their top three bits clear; anything larger (a pointer
// that a confused host passes) cannot be a window.
constexpr std::uintptr_t kLargestResourceId = 0x1FFFFFFFu;

// The system's button face, shown until the first paint.
constexpr Colour kButtonFace{240, 240, 240, 255};

}  // namespace

std::unique_ptr<X11Window> X11Window::create(void* parent, int width, int height,
                                             WindowEvents& events) {
    const auto parentId = reinterpret_cast<std::uintptr_t>(parent);
    if (parentId == 0 || parentId > kLargestResourceId || width <= 0 || height <= 0)
        return nullptr;
    std::unique_ptr<X11Connection> connection = X11Connection::open();
    if (!connection) return nullptr;
    Display* display = connection->display();
    ::Window window = 0;
    XWindowAttributes parentAttributes;
    {
        XErrorTrap trap(display);
        if (!XGetWindowAttributes(display, parentId, &parentAttributes) || trap.errors())
            return nullptr;
        XSetWindowAttributes attributes{};
        unsigned long mask = CWEventMask | CWBackPixel | CWBorderPixel;
        attributes.event_mask = ExposureMask | ButtonPressMask | StructureNotifyMask;
        attributes.background_pixel =
            X11Connection::pixelOf(parentAttributes.visual, parentAttributes.depth, kButtonFace);
        attributes.border_pixel = 0;
        if (parentAttributes.colormap != None) {
            attributes.colormap = parentAttributes.colormap;
            mask |= CWColormap;
        }
        window = XCreateWindow(display, parentId, 0, 0, static_cast<unsigned>(width),
                               static_cast<unsigned>(height), 0, parentAttributes.depth,
                               InputOutput, parentAttributes.visual, mask, &attributes);
        XStoreName(display, window, "Window");
        // Hosts that embed by the XEMBED rules wait for the child to say it is
        // mapped: version 0, flag "mapped". The window maps itself anyway.
        const Atom xembedInfo = XInternAtom(display, "_XEMBED_INFO", False);
        const long info[2] = {0, 1};
        XChangeProperty(display, window, xembedInfo, xembedInfo, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(info), 2);
        XMapWindow(display, window);
        if (!trap.sync() || !window) {
            if (window) XDestroyWindow(display, window);
            return nullptr;
        }
    }
    learnDoubleClickTime(*connection);
    cairo_text::leaveFontCachesAtExit();
    return std::unique_ptr<X11Window>(new X11Window(std::move(connection), window,
                                                    parentAttributes.visual,
                                                    parentAttributes.depth, width, height,
                                                    events));
}

X11Window::X11Window(std::unique_ptr<X11Connection> connection, ::Window window, Visual* visual,
                     int depth, int width, int height, WindowEvents& events)
    : conn(std::move(connection)),
      window(window),
      windowVisual(visual),
      windowDepth(depth),
      w(width),
      h(height),
      events(events) {
    shadow = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    {
        cairo_draw::CairoDevice fresh(shadow);
        fresh.setBrush(kButtonFace);
        fresh.fillRect(Rect{0, 0, width, height});
    }
    XErrorTrap trap(display());
    gc = XCreateGC(display(), window, 0, nullptr);
    const char* names[] = {"XdndPosition", "XdndDrop", "XdndStatus", "XdndFinished"};
    XInternAtoms(display(), const_cast<char**>(names), 4, False, dndAtoms);
    registry().push_back(this);
    lastOrigin = screenOrigin();
}

X11Window::~X11Window() {
    for (X11EventClient* client : std::vector<X11EventClient*>(clients)) client->windowGone();
    clients.clear();
    auto& all = registry();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    {
        XErrorTrap trap(display());
        if (gc) XFreeGC(display(), gc);
        if (!gone) XDestroyWindow(display(), window);
        trap.sync();
    }
    conn.reset();
    cairo_surface_destroy(shadow);
}

Point X11Window::screenOrigin() {
    if (gone || !conn->onOwnerThread()) return lastOrigin;
    XErrorTrap trap(display());
    int x = 0, y = 0;
    ::Window child = 0;
    if (XTranslateCoordinates(display(), window, conn->root(), 0, 0, &x, &y, &child) &&
        trap.errors() == 0)
        lastOrigin = Point{x, y};
    return lastOrigin;
}

std::unique_ptr<DrawDevice> X11Window::createDevice() {
    // A destroyed window takes no drawing; the toolkit skips a missing device.
    if (gone || !conn->onOwnerThread()) return nullptr;
    return std::make_unique<X11WindowDevice>(*this);
}

void X11Window::present(const Rect& area) {
    if (gone || area.empty() || !conn->onOwnerThread()) return;
    XErrorTrap trap(display());
    putImage(display(), window, gc, windowVisual, windowDepth, shadow, area,
             Point{area.left, area.top});
    XFlush(display());
}

bool X11Window::resize(int width, int height) {
    if (gone || width <= 0 || height <= 0 || !conn->onOwnerThread()) return false;
    XErrorTrap trap(display());
    XResizeWindow(display(), window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    trap.sync();
    if (trap.errors() != 0) return false;
    cairo_surface_t* grown = cairo_draw::resizedSurface(shadow, width, height, kButtonFace);
    cairo_surface_destroy(shadow);
    shadow = grown;
    w = width;
    h = height;
    return true;
}

void X11Window::invalidate(const Rect& r) {
    const Rect clipped{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, w),
                       std::min(r.bottom, h)};
    if (clipped.empty()) return;
    if (damage.empty())
        damage = clipped;
    else
        damage = Rect{std::min(damage.left, clipped.left), std::min(damage.top, clipped.top),
                      std::max(damage.right, clipped.right),
                      std::max(damage.bottom, clipped.bottom)};
}

int X11Window::eventDescriptor() { return ConnectionNumber(conn->display()); }

void* X11Window::nativeHandle() { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window)); }

void X11Window::addClient(X11EventClient* client) { clients.push_back(client); }

void X11Window::removeClient(X11EventClient* client) {
    clients.erase(std::remove(clients.begin(), clients.end(), client), clients.end());
}

X11Window* activeWindow() {
    const auto& all = registry();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if ((*it)->isHandling()) return *it;
    return all.empty() ? nullptr : all.back();
}

const std::vector<X11Window*>& openWindows() { return registry(); }

}  // namespace linux_backend

std::unique_ptr<Window> createChildWindow(void* parent, int width, int height,
                                          WindowEvents& events) {
    return linux_backend::X11Window::create(parent, width, height, events);
}

}  // namespace platform
