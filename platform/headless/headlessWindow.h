// The headless child window: a cairo image the size of the window that holds
// what was drawn into it, a queue of events a test posts, and the delivery
// rules of a real window (paints only while an earlier event is being handled).
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "../dragDrop.h"
#include "../window.h"
#include "cairoDevice.h"

// Declared as cairo declares them, so that tests can use this header without
// seeing cairo itself.
typedef struct _cairo_surface cairo_surface_t;

namespace platform::headless {

class HeadlessEditBox;

class HeadlessWindow final : public Window {
public:
    HeadlessWindow(void* parent, int width, int height, WindowEvents& events);
    ~HeadlessWindow() override;
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    Point screenOrigin() override { return origin; }
    std::unique_ptr<DrawDevice> createDevice() override;
    void invalidate(const Rect& r) override;
    void processEvents() override;
    bool dispatchOnePaint() override;
    void* nativeHandle() override { return this; }
    bool resize(int width, int height) override;

    // Test side: events delivered at once, as the system would deliver them.
    void sendPaint(const Rect& damaged);
    void sendButtonDown(Point where);
    void sendWheel(Point screenWhere, int delta);
    // ...or queued until the next processEvents.
    void postButtonDown(Point where);
    void postWheel(Point screenWhere, int delta);
    // The system destroys the window under its owner (the host closed its own).
    void destroyBySystem();

    void setScreenOrigin(Point p) { origin = p; }
    void* parent() const { return parentWindow; }
    int width() const { return w; }
    int height() const { return h; }
    bool destroyed() const { return gone; }
    Rect pendingDamage() const { return damage; }
    cairo_surface_t* surface() const { return backing; }
    std::uint32_t pixel(int x, int y) const { return surfacePixel(backing, x, y); }
    bool savePng(const std::string& path) const { return saveSurfacePng(backing, path); }
    // Copies and other drawing done straight into the window since the last reset.
    CairoDevice::Stats& stats() { return counters; }
    int paintsDelivered() const { return paints; }

    // Backend side.
    void attachEditBox(HeadlessEditBox* box);
    void detachEditBox(HeadlessEditBox* box);
    void setDropHandler(DropHandler* handler) { drop = handler; }
    DropHandler* dropHandler() const { return drop; }

private:
    struct Posted {
        bool wheel = false;
        Point where;
        int delta = 0;
    };
    void deliverPaint();

    void* parentWindow;
    int w;
    int h;
    WindowEvents& events;
    cairo_surface_t* backing;
    Point origin;
    Rect damage;
    std::deque<Posted> posted;
    std::vector<HeadlessEditBox*> editBoxes;
    DropHandler* drop = nullptr;
    CairoDevice::Stats counters;
    int handling = 0;
    int paints = 0;
    bool gone = false;
};

// The newest window still alive, or null.
HeadlessWindow* lastWindow();
int liveWindows();
// The window class is registered while any window lives, as on Windows.
bool windowClassRegistered();
int windowClassRegistrations();
std::string windowClassName();
// Screen position given to windows created from now on.
void setNextWindowOrigin(Point p);
// Offscreen surfaces: alive now, and made since the last reset.
int liveOffscreenSurfaces();
int offscreenSurfacesCreated();
void resetWindowCounters();

}  // namespace platform::headless
