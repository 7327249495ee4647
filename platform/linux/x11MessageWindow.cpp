#include "x11MessageWindow.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo.h>
#include <poll.h>

#include <algorithm>
#include <vector>

#include "../cairo/cairoDevice.h"
#include "../cairo/cairoText.h"
#include "x11Connection.h"
#include "x11ErrorTrap.h"
#include "x11ImageTransfer.h"

namespace platform::linux_backend {

namespace {

constexpr Colour kFace{240, 240, 240, 255};
constexpr Colour kText{0, 0, 0, 255};
constexpr Colour kButtonFrame{128, 128, 128, 255};
constexpr Colour kButtonFace{225, 225, 225, 255};
constexpr int kMargin = 20;
constexpr int kLineHeight = 18;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;

OwnMessage shown;
int shownCount = 0;

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

FontSpec messageFont() {
    FontSpec font;
    font.face = "Arial";
    font.height = 13;
    return font;
}

class MessageWindow {
public:
    MessageWindow(X11Connection& connection, const std::string& caption, const std::string& text)
        : connection(connection), display(connection.display()), lines(splitLines(text)) {
        cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
        cairo_t* measure = cairo_create(scratch);
        int widest = 200;
        for (const std::string& line : lines)
            widest = std::max(widest, cairo_text::textAdvance(measure, messageFont(), line.c_str()));
        cairo_destroy(measure);
        cairo_surface_destroy(scratch);
        w = widest + 2 * kMargin;
        h = kMargin + static_cast<int>(lines.size()) * kLineHeight + kMargin + kButtonHeight + 14;
        button = Rect{(w - kButtonWidth) / 2, h - 14 - kButtonHeight, (w + kButtonWidth) / 2,
                      h - 14};

        XErrorTrap trap(display);
        const int screen = connection.screen();
        Visual* visual = DefaultVisual(display, screen);
        XSetWindowAttributes attributes{};
        attributes.background_pixel = X11Connection::pixelOf(visual, DefaultDepth(display, screen), kFace);
        attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask |
                                StructureNotifyMask;
        const int x = std::max(0, (DisplayWidth(display, screen) - w) / 2);
        const int y = std::max(0, (DisplayHeight(display, screen) - h) / 2);
        window = XCreateWindow(display, connection.root(), x, y, static_cast<unsigned>(w),
                               static_cast<unsigned>(h), 0, CopyFromParent, InputOutput,
                               CopyFromParent, CWBackPixel | CWEventMask, &attributes);
        XStoreName(display, window, caption.c_str());
        XChangeProperty(display, window, connection.atom("_NET_WM_NAME"),
                        connection.atom("UTF8_STRING"), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(caption.data()),
                        static_cast<int>(caption.size()));
        const Atom dialog = connection.atom("_NET_WM_WINDOW_TYPE_DIALOG");
        XChangeProperty(display, window, connection.atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&dialog), 1);
        deleteWindow = connection.atom("WM_DELETE_WINDOW");
        XSetWMProtocols(display, window, &deleteWindow, 1);
        XSizeHints hints{};
        hints.flags = PPosition | PMinSize | PMaxSize;
        hints.x = x;
        hints.y = y;
        hints.min_width = hints.max_width = w;
        hints.min_height = hints.max_height = h;
        XSetWMNormalHints(display, window, &hints);
        XMapRaised(display, window);
        gc = XCreateGC(display, window, 0, nullptr);
        if (!trap.sync()) closed = true;
    }

    ~MessageWindow() {
        XErrorTrap trap(display);
        if (gc) XFreeGC(display, gc);
        if (window && !destroyed) XDestroyWindow(display, window);
    }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    void run(const std::function<void()>& whileWaiting) {
        while (!closed) {
            XEvent event;
            bool got = false;
            {
                XErrorTrap trap(display);
                got = XPending(display) > 0;
                if (got) XNextEvent(display, &event);
            }
            if (got) {
                handle(event);
                continue;
            }
            if (whileWaiting) whileWaiting();
            pollfd waiting{ConnectionNumber(display), POLLIN, 0};
            poll(&waiting, 1, 20);
        }
    }

private:
    bool onButton(int x, int y) const {
        return x >= button.left && x < button.right && y >= button.top && y < button.bottom;
    }

    void handle(XEvent& event) {
        switch (event.type) {
            case Expose:
                if (event.xexpose.count == 0) paint();
                if (!focusAsked) {
                    // Keys answer the message too; without a window manager
                    // nobody else hands the new window the focus.
                    focusAsked = true;
                    XErrorTrap trap(display);
                    XSetInputFocus(display, window, RevertToParent, CurrentTime);
                }
                break;
            case ButtonPress:
                if (event.xbutton.button == Button1 && onButton(event.xbutton.x, event.xbutton.y))
                    pressed = true;
                break;
            case ButtonRelease:
                if (pressed && event.xbutton.button == Button1 &&
                    onButton(event.xbutton.x, event.xbutton.y))
                    closed = true;
                pressed = false;
                break;
            case KeyPress: {
                const KeySym symbol = XLookupKeysym(&event.xkey, 0);
                if (symbol == XK_Return || symbol == XK_KP_Enter || symbol == XK_Escape ||
                    symbol == XK_space)
                    closed = true;
                break;
            }
            case ClientMessage:
                if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) closed = true;
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == window) closed = destroyed = true;
                break;
            default:
                break;
        }
    }

    void paint() {
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
        {
            cairo_draw::CairoDevice picture(image);
            picture.setBrush(kFace);
            picture.fillRect(Rect{0, 0, w, h});
            picture.setFont(messageFont());
            picture.setTextColour(kText);
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const int top = kMargin + static_cast<int>(i) * kLineHeight;
                picture.drawText(lines[i].c_str(), Rect{kMargin, top, w - kMargin, top + kLineHeight},
                                 TextAlign::left, false);
            }
            picture.setBrush(kButtonFace);
            picture.fillRect(button);
            picture.setPen(kButtonFrame, 1, LineStyle::solid);
            picture.frameRect(button);
            picture.drawText("OK", button, TextAlign::centre, false);
        }
        const int screen = connection.screen();
        XErrorTrap trap(display);
        putImage(display, window, gc, DefaultVisual(display, screen), DefaultDepth(display, screen),
                 image, Rect{0, 0, w, h}, Point{0, 0});
        XFlush(display);
        cairo_surface_destroy(image);
    }

    X11Connection& connection;
    Display* display;
    std::vector<std::string> lines;
    int w = 0;
    int h = 0;
    Rect button;
    ::Window window = 0;
    GC gc = nullptr;
    Atom deleteWindow = None;
    bool pressed = false;
    bool focusAsked = false;
    bool closed = false;
    bool destroyed = false;
};

}  // namespace

bool showOwnMessage(const std::string& caption, const std::string& text,
                    const std::function<void()>& whileWaiting) {
    shown = OwnMessage{caption, text};
    ++shownCount;
    std::unique_ptr<X11Connection> connection = X11Connection::open();
    if (!connection) return false;
    {
        MessageWindow window(*connection, caption, text);
        window.run(whileWaiting);
    }
    return true;
}

const OwnMessage& lastOwnMessage() { return shown; }
int ownMessagesShown() { return shownCount; }

}  // namespace platform::linux_backend
