#include "headlessWindow.h"

#include <cairo.h>

#include <algorithm>
#include <cstdio>

#include "../offscreen.h"
#include "headlessEditBox.h"
#include "headlessInput.h"

namespace platform {

namespace headless {

namespace {

std::vector<HeadlessWindow*>& windows() {
    static std::vector<HeadlessWindow*> all;
    return all;
}

int classUses = 0;
int classRegistrations = 0;
Point nextOrigin{100, 50};
int offscreensAlive = 0;
int offscreensMade = 0;

Rect unite(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

class HeadlessOffscreen final : public OffscreenSurface {
public:
    HeadlessOffscreen(int width, int height, Colour background)
        : image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 0),
                                           std::max(height, 0))),
          drawer(image) {
        drawer.setBrush(background);
        drawer.fillRect(Rect{0, 0, width, height});
        ++offscreensAlive;
        ++offscreensMade;
    }
    ~HeadlessOffscreen() override {
        --offscreensAlive;
        cairo_surface_destroy(image);
    }
    DrawDevice& device() override { return drawer; }
    int width() const override { return cairo_image_surface_get_width(image); }
    int height() const override { return cairo_image_surface_get_height(image); }

private:
    cairo_surface_t* image;
    CairoDevice drawer;
};

}  // namespace

HeadlessWindow::HeadlessWindow(void* parent, int width, int height, WindowEvents& events)
    : parentWindow(parent),
      w(width),
      h(height),
      events(events),
      backing(cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 0),
                                         std::max(height, 0))),
      origin(nextOrigin) {
    if (classUses++ == 0) {
        ++classRegistrations;
        scriptedInput().latchSwappedButtons();
    }
    // A new window shows the class background (the system's button face).
    CairoDevice fresh(backing);
    fresh.setBrush(Colour{240, 240, 240, 255});
    fresh.fillRect(Rect{0, 0, width, height});
    // Like a real window, a new one asks to be painted whole.
    damage = Rect{0, 0, width, height};
    windows().push_back(this);
}

HeadlessWindow::~HeadlessWindow() {
    for (HeadlessEditBox* box : editBoxes) box->windowGone();
    auto& all = windows();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    --classUses;
    cairo_surface_destroy(backing);
}

bool HeadlessWindow::resize(int width, int height) {
    if (gone || width <= 0 || height <= 0) return false;
    cairo_surface_t* grown = cairo_draw::resizedSurface(backing, width, height, Colour{240, 240, 240, 255});
    cairo_surface_destroy(backing);
    backing = grown;
    // A grown window asks for its new part to be painted, as a real one does.
    if (width > w || height > h) damage = unite(damage, Rect{0, 0, width, height});
    w = width;
    h = height;
    return true;
}

std::unique_ptr<DrawDevice> HeadlessWindow::createDevice() {
    return std::make_unique<CairoDevice>(backing, &counters);
}

void HeadlessWindow::invalidate(const Rect& r) {
    Rect clipped{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, w),
                 std::min(r.bottom, h)};
    if (!clipped.empty()) damage = unite(damage, clipped);
}

void HeadlessWindow::deliverPaint() {
    const Rect damaged = damage;
    damage = Rect{};
    sendPaint(damaged);
}

void HeadlessWindow::processEvents() {
    if (gone) return;
    if (handling == 0) {
        while (!posted.empty()) {
            Posted p = posted.front();
            posted.pop_front();
            if (p.wheel)
                sendWheel(p.where, p.delta);
            else
                sendButtonDown(p.where);
        }
        // Typed answers of open edit boxes arrive as the box's own messages.
        for (std::size_t i = 0; i < editBoxes.size(); ++i) {
            if (editBoxes[i]->hasScriptedAnswer()) {
                ++handling;
                editBoxes[i]->deliverScriptedAnswer();  // may destroy the box
                --handling;
                break;
            }
        }
    }
    if (!damage.empty()) deliverPaint();
}

bool HeadlessWindow::dispatchOnePaint() {
    if (gone || damage.empty()) return false;
    deliverPaint();
    return true;
}

void HeadlessWindow::sendPaint(const Rect& damaged) {
    if (gone) return;
    ++handling;
    ++paints;
    CairoDevice device(backing, &counters);
    events.onPaint(device, damaged);
    --handling;
}

void HeadlessWindow::sendButtonDown(Point where) {
    if (gone) return;
    ++handling;
    events.onButtonDown(where);
    --handling;
}

void HeadlessWindow::sendWheel(Point screenWhere, int delta) {
    if (gone) return;
    ++handling;
    events.onWheel(screenWhere, delta);
    --handling;
}

void HeadlessWindow::postButtonDown(Point where) { posted.push_back(Posted{false, where, 0}); }
void HeadlessWindow::postWheel(Point screenWhere, int delta) {
    posted.push_back(Posted{true, screenWhere, delta});
}

void HeadlessWindow::destroyBySystem() {
    if (gone) return;
    gone = true;
    events.onDestroyed();
}

void HeadlessWindow::attachEditBox(HeadlessEditBox* box) { editBoxes.push_back(box); }
void HeadlessWindow::detachEditBox(HeadlessEditBox* box) {
    editBoxes.erase(std::remove(editBoxes.begin(), editBoxes.end(), box), editBoxes.end());
}

HeadlessWindow* lastWindow() { return windows().empty() ? nullptr : windows().back(); }
int liveWindows() { return static_cast<int>(windows().size()); }
bool windowClassRegistered() { return classUses > 0; }
int windowClassRegistrations() { return classRegistrations; }

std::string windowClassName() {
    // Unique per loaded library: the address of something in it.
    char name[64];
    std::snprintf(name, sizeof name, "Plugin%p", static_cast<const void*>(&classUses));
    return name;
}

void setNextWindowOrigin(Point p) { nextOrigin = p; }
int liveOffscreenSurfaces() { return offscreensAlive; }
int offscreenSurfacesCreated() { return offscreensMade; }

void resetWindowCounters() {
    offscreensMade = 0;
    classRegistrations = 0;
    nextOrigin = Point{100, 50};
}

}  // namespace headless

std::unique_ptr<Window> createChildWindow(void* parent, int width, int height,
                                          WindowEvents& events) {
    if (width <= 0 || height <= 0) return nullptr;
    return std::make_unique<headless::HeadlessWindow>(parent, width, height, events);
}

std::unique_ptr<OffscreenSurface> createOffscreenSurface(int width, int height, Colour background,
                                                         Window*) {
    return std::make_unique<headless::HeadlessOffscreen>(width, height, background);
}

}  // namespace platform
