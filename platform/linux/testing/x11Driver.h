// For tests of the Linux editor backend: a display connection of the test's
// own that plays the host (top-level and nested windows), the user's hands
// (XTest pointer and keys) and an observer (pixels, windows, the server's
// resource counts). Built only for tests; its header shows no X11 types.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::linux_backend::testing {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;  // 0xRRGGBB, rows top first
    std::uint32_t at(int x, int y) const {
        return rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)];
    }
};

bool savePng(const Pixels& pixels, const std::string& path);
bool loadPng(const std::string& path, Pixels& pixels);
// Pixels whose colour channels differ by more than `tolerance`, within the
// area both pictures share; -1 when the sizes differ.
long differingPixels(const Pixels& a, const Pixels& b, int tolerance = 0);

class X11Driver {
public:
    X11Driver();  // connects to $DISPLAY
    ~X11Driver();
    X11Driver(const X11Driver&) = delete;
    X11Driver& operator=(const X11Driver&) = delete;
    // False without an X server or without the XTest and X-Resource extensions.
    bool valid() const { return display != nullptr && extensions; }

    // The host.
    unsigned long createTopLevel(int x, int y, int width, int height, const char* name);
    unsigned long createChild(unsigned long parent, int x, int y, int width, int height);
    void destroyWindow(unsigned long window);
    void sync();

    // The user's hands.
    void moveTo(int x, int y);
    void press(int button);
    void release(int button);
    void click(int x, int y, int button = 1);
    // A key by its X keysym name ("Return", "a", "Left"), with Shift if asked.
    void key(const char* keysymName, bool shift = false);
    void holdKey(const char* keysymName, bool down);
    // Types plain ASCII letters, digits, space and punctuation.
    void type(const std::string& text);

    // The observer.
    bool exists(unsigned long window);
    bool viewable(unsigned long window);
    struct Origin {
        int x = 0;
        int y = 0;
    };
    Origin screenOrigin(unsigned long window);
    std::vector<unsigned long> children(unsigned long window);
    // The newest mapped override-redirect window directly under the root (a pop-up).
    unsigned long popup();
    // A mapped top-level window whose name is `name`, or 0.
    unsigned long topLevelNamed(const std::string& name);
    unsigned long inputFocus();
    Pixels capture(unsigned long window);
    // What the screen shows in an area, pop-ups over windows included.
    Pixels captureScreen(int x, int y, int width, int height);
    int clientCount();
    long resourceTotal();

    // Drag and drop: plays a dragging program over `target` (without XdndAware,
    // the messages go to it directly) and waits for its answers.
    struct DropReplies {
        bool status = false;
        bool accepted = false;
        bool finished = false;
    };
    DropReplies dropOnto(unsigned long target, int rootX, int rootY);

    // What a threaded host does first: Xlib's thread support (the hands of
    // the tests run on threads of their own) and its own error handler.
    static void prepareProcess();
    // ...and what a test program does last: cairo's and fontconfig's font
    // caches handed back, which the backend leaves to the process.
    static void finishProcess();

    // The host's own X error handler: installed by the test before the
    // plug-in runs; counts the errors that reach it.
    static void installHostErrorHandler();
    static bool hostErrorHandlerInstalled();
    static int hostErrors();

    // The desktop's settings manager, publishing Net/DoubleClickTime.
    void publishDoubleClickTime(int milliseconds);

private:
    void* display = nullptr;
    bool extensions = false;
    unsigned long settingsOwner = 0;
};

// Runs `hands` on a thread of its own, with a connection of its own, while
// this thread calls `idle` about every 20 ms, as a host keeps idling while the
// user drags; returns when the hands are done.
void whileIdling(const std::function<void()>& idle, const std::function<void(X11Driver&)>& hands);

}  // namespace platform::linux_backend::testing
