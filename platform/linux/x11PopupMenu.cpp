// The pop-up menu on X11: an override-redirect window listing the entries in
// columns, with the pointer and keyboard grabbed until the user chooses an
// entry, clicks elsewhere or presses Escape. The editor keeps repainting
// meanwhile; its other events wait.
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo.h>
#include <poll.h>

#include <cstdlib>

#include "../cairo/cairoDevice.h"
#include "../cairo/cairoText.h"
#include "../popupMenu.h"
#include "menuLayout.h"
#include "x11ErrorTrap.h"
#include "x11Window.h"
#include "x11ImageTransfer.h"

namespace platform {

namespace linux_backend {

namespace {

constexpr Colour kMenuFace{240, 240, 240, 255};
constexpr Colour kMenuFrame{128, 128, 128, 255};
constexpr Colour kMenuLine{200, 200, 200, 255};
constexpr Colour kMenuText{0, 0, 0, 255};
constexpr Colour kMenuGreyText{109, 109, 109, 255};
constexpr Colour kHighlight{0, 120, 215, 255};
constexpr Colour kHighlightText{255, 255, 255, 255};
// A release this close to where the menu opened is the end of the opening
// click, not a choice.
constexpr int kClickSlop = 3;

FontSpec entryFont(const MenuEntry& entry, double scale) {
    FontSpec font;
    font.face = "Arial";
    font.height = menuPixels(13, scale);
    font.weight = (entry.flags & kMenuDisabled) ? 700 : 400;
    return font;
}

class MenuSession {
public:
    MenuSession(X11Window& owner, const std::vector<MenuEntry>& entries, bool rightButton,
                double scale)
        : owner(owner),
          display(owner.display()),
          entries(entries),
          rightButton(rightButton),
          scale(scale) {}
    ~MenuSession() { close(); }
    MenuSession(const MenuSession&) = delete;
    MenuSession& operator=(const MenuSession&) = delete;

    int run(Point where, bool above) {
        if (owner.destroyed() || !open(where, above)) return -1;
        while (!done && !owner.destroyed()) {
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
            owner.deliverPendingPaint();
            pollfd waiting{ConnectionNumber(display), POLLIN, 0};
            poll(&waiting, 1, 20);
        }
        return done ? result : -1;
    }

private:
    bool open(Point where, bool above) {
        cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
        cairo_t* measure = cairo_create(scratch);
        geometry = layoutMenu(
            entries,
            [&](const MenuEntry& entry) {
                const FontSpec font = entryFont(entry, scale);
                return cairo_text::textAdvance(measure, font, entry.text.c_str());
            },
            scale);
        cairo_destroy(measure);
        cairo_surface_destroy(scratch);

        X11Connection& connection = owner.connection();
        const Rect screen{0, 0, DisplayWidth(display, connection.screen()),
                          DisplayHeight(display, connection.screen())};
        origin = placeMenu(where, above, geometry.width, geometry.height, screen);

        XErrorTrap trap(display);
        ::Window root = 0, child = 0;
        int x = 0, y = 0;
        unsigned int mask = 0;
        XQueryPointer(display, connection.root(), &root, &child, &openedAt.x, &openedAt.y, &x, &y,
                      &mask);
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.save_under = True;
        attributes.background_pixel =
            X11Connection::pixelOf(DefaultVisual(display, connection.screen()),
                                   DefaultDepth(display, connection.screen()), kMenuFace);
        attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                                PointerMotionMask | KeyPressMask | StructureNotifyMask;
        menu = XCreateWindow(display, connection.root(), origin.x, origin.y,
                             static_cast<unsigned>(geometry.width),
                             static_cast<unsigned>(geometry.height), 0, CopyFromParent,
                             InputOutput, CopyFromParent,
                             CWOverrideRedirect | CWSaveUnder | CWBackPixel | CWEventMask,
                             &attributes);
        XMapRaised(display, menu);
        if (!trap.sync()) {
            if (menu) XDestroyWindow(display, menu);
            menu = 0;
            return false;
        }
        gc = XCreateGC(display, menu, 0, nullptr);
        grab();
        return true;
    }

    void grab() {
        // Another program may hold a grab for a moment (a key still pressed in
        // a window manager); without ours, outside clicks go unseen, but the
        // menu still works with the pointer and Escape.
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (XGrabPointer(display, menu, True,
                             ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                             GrabModeAsync, GrabModeAsync, None, None,
                             CurrentTime) == GrabSuccess) {
                pointerGrabbed = true;
                break;
            }
            poll(nullptr, 0, 10);
        }
        keyboardGrabbed = XGrabKeyboard(display, menu, True, GrabModeAsync, GrabModeAsync,
                                        CurrentTime) == GrabSuccess;
    }

    void close() {
        if (!menu) return;
        XErrorTrap trap(display);
        if (pointerGrabbed) XUngrabPointer(display, CurrentTime);
        if (keyboardGrabbed) XUngrabKeyboard(display, CurrentTime);
        if (gc) XFreeGC(display, gc);
        gc = nullptr;
        XDestroyWindow(display, menu);
        menu = 0;
    }

    bool inside(int rootX, int rootY) const {
        return rootX >= origin.x && rootX < origin.x + geometry.width && rootY >= origin.y &&
               rootY < origin.y + geometry.height;
    }

    void hover(int rootX, int rootY) {
        int at = entryAt(geometry, Point{rootX - origin.x, rootY - origin.y});
        if (at >= 0 && !choosable(entries[static_cast<std::size_t>(at)])) at = -1;
        if (at != highlight) {
            highlight = at;
            paint();
        }
    }

    bool ourButton(unsigned int button) const {
        return button == Button1 || (rightButton && button == Button3);
    }

    void handle(XEvent& event) {
        switch (event.type) {
            case Expose:
                if (event.xexpose.window == menu) {
                    if (event.xexpose.count == 0) paint();
                    return;
                }
                break;
            case MotionNotify:
                if (std::abs(event.xmotion.x_root - openedAt.x) > kClickSlop ||
                    std::abs(event.xmotion.y_root - openedAt.y) > kClickSlop)
                    moved = true;
                hover(event.xmotion.x_root, event.xmotion.y_root);
                return;
            case ButtonPress:
                if (!inside(event.xbutton.x_root, event.xbutton.y_root)) {
                    done = true;  // a click elsewhere closes the menu
                } else {
                    pressedInside = true;
                    hover(event.xbutton.x_root, event.xbutton.y_root);
                }
                return;
            case ButtonRelease:
                if (!ourButton(event.xbutton.button) ||
                    !inside(event.xbutton.x_root, event.xbutton.y_root) ||
                    !(moved || pressedInside))
                    return;
                hover(event.xbutton.x_root, event.xbutton.y_root);
                choose();
                return;
            case KeyPress:
                key(event.xkey);
                return;
            default:
                break;
        }
        owner.handleForeignEvent(event);
    }

    void key(XKeyEvent& press) {
        const KeySym symbol = XLookupKeysym(&press, 0);
        switch (symbol) {
            case XK_Escape:
                done = true;
                break;
            case XK_Down:
            case XK_KP_Down:
                highlight = nextChoosable(entries, highlight, 1);
                paint();
                break;
            case XK_Up:
            case XK_KP_Up:
                highlight = nextChoosable(entries, highlight, -1);
                paint();
                break;
            case XK_Return:
            case XK_KP_Enter:
                choose();
                break;
            default:
                break;
        }
    }

    void choose() {
        if (highlight < 0 || !choosable(entries[static_cast<std::size_t>(highlight)])) return;
        result = entries[static_cast<std::size_t>(highlight)].command;
        done = true;
    }

    void paint() {
        if (!menu || !gc) return;
        cairo_surface_t* image =
            cairo_image_surface_create(CAIRO_FORMAT_RGB24, geometry.width, geometry.height);
        {
            cairo_draw::CairoDevice picture(image);
            picture.setBrush(kMenuFace);
            picture.fillRect(Rect{0, 0, geometry.width, geometry.height});
            picture.setPen(kMenuFrame, 1, LineStyle::solid);
            picture.frameRect(Rect{0, 0, geometry.width, geometry.height});
            picture.setPen(kMenuLine, 1, LineStyle::solid);
            const int border = px(kMenuBorder);
            for (std::size_t c = 1; c < geometry.columnLefts.size(); ++c) {
                picture.moveTo(Point{geometry.columnLefts[c] - 1, border});
                picture.lineTo(Point{geometry.columnLefts[c] - 1, geometry.height - border});
            }
            for (std::size_t i = 0; i < entries.size(); ++i) paintEntry(picture, i);
        }
        X11Connection& connection = owner.connection();
        XErrorTrap trap(display);
        putImage(display, menu, gc, DefaultVisual(display, connection.screen()),
                 DefaultDepth(display, connection.screen()), image,
                 Rect{0, 0, geometry.width, geometry.height}, Point{0, 0});
        XFlush(display);
        cairo_surface_destroy(image);
    }

    void paintEntry(cairo_draw::CairoDevice& picture, std::size_t i) {
        const MenuEntry& entry = entries[i];
        const Rect& r = geometry.entries[i];
        if (entry.separator) {
            const int y = (r.top + r.bottom) / 2;
            picture.setPen(kMenuLine, px(1), LineStyle::solid);
            picture.moveTo(Point{r.left + px(4), y});
            picture.lineTo(Point{r.right - px(4), y});
            return;
        }
        const bool lit = static_cast<int>(i) == highlight;
        if (lit) {
            picture.setBrush(kHighlight);
            picture.fillRect(r);
        }
        const Colour ink = lit ? kHighlightText : (entry.flags & kMenuGreyed) ? kMenuGreyText
                                                                            : kMenuText;
        if (entry.flags & kMenuChecked) {
            const int y = (r.top + r.bottom) / 2;
            picture.setPen(ink, px(2), LineStyle::solid);
            picture.moveTo(Point{r.left + px(7), y});
            picture.lineTo(Point{r.left + px(10), y + px(3)});
            picture.lineTo(Point{r.left + px(16), y - px(4)});
        }
        picture.setFont(entryFont(entry, scale));
        picture.setTextColour(ink);
        picture.drawText(
            entry.text.c_str(),
            Rect{r.left + px(kMenuTextLeft), r.top, r.right - px(kMenuTextRight), r.bottom},
            TextAlign::left, false);
    }

    int px(int size) const { return menuPixels(size, scale); }

    X11Window& owner;
    Display* display;
    const std::vector<MenuEntry>& entries;
    bool rightButton;
    double scale;
    MenuGeometry geometry;
    Point origin;
    Point openedAt;
    ::Window menu = 0;
    GC gc = nullptr;
    bool pointerGrabbed = false;
    bool keyboardGrabbed = false;
    int highlight = -1;
    bool moved = false;
    bool pressedInside = false;
    bool done = false;
    int result = -1;
};

class X11PopupMenu final : public PopupMenu {
public:
    void addItem(const char* text, int command, unsigned flags) override {
        entries.push_back(MenuEntry{text ? text : "", command, flags, false});
    }
    void addSeparator(unsigned flags) override {
        entries.push_back(MenuEntry{"", -1, flags, true});
    }
    void setScale(double factor) override { scale = factor > 0.0 ? factor : 1.0; }
    int track(Window& owner, Point screenWhere, bool above, bool rightButton) override {
        auto& window = static_cast<X11Window&>(owner);
        if (!window.connection().onOwnerThread()) return -1;
        MenuSession session(window, entries, rightButton, scale);
        return session.run(screenWhere, above);
    }

private:
    std::vector<MenuEntry> entries;
    double scale = 1.0;
};

}  // namespace

}  // namespace linux_backend

std::unique_ptr<PopupMenu> createPopupMenu() {
    return std::make_unique<linux_backend::X11PopupMenu>();
}

}  // namespace platform
