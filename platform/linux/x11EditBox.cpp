#include "x11EditBox.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "../cairo/cairoDevice.h"
#include "../cairo/cairoText.h"
#include "x11ErrorTrap.h"
#include "x11ImageTransfer.h"

namespace platform {

namespace linux_backend {

namespace {

constexpr Colour kSelectionBackground{0, 120, 215, 255};
constexpr Colour kSelectionText{255, 255, 255, 255};

}  // namespace

X11EditBox::X11EditBox(X11Window& owner, const Rect& r, const char* text,
                       const EditBoxStyle& style, EditBoxEvents& events)
    : owner(&owner),
      events(events),
      line(text ? text : "", style.maxLength),
      style(style),
      face(style.font.face ? style.font.face : "Arial"),
      w(std::max(r.width(), 1)),
      h(std::max(r.height(), 1)) {
    this->style.font.face = face.c_str();
    measureImage = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    measure = cairo_create(measureImage);
    if (owner.destroyed()) return;
    Display* display = owner.display();
    XErrorTrap trap(display);
    XGetInputFocus(display, &previousFocus, &previousRevert);
    XSetWindowAttributes attributes{};
    attributes.background_pixel =
        X11Connection::pixelOf(owner.visual(), owner.depth(), style.backgroundColour);
    attributes.border_pixel = 0;
    attributes.event_mask =
        ExposureMask | KeyPressMask | FocusChangeMask | ButtonPressMask | StructureNotifyMask;
    box = XCreateWindow(display, owner.xwindow(), r.left, r.top, static_cast<unsigned>(w),
                        static_cast<unsigned>(h), 0, owner.depth(), InputOutput, owner.visual(),
                        CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    XMapRaised(display, box);
    if (!trap.sync()) {
        if (box) XDestroyWindow(display, box);
        box = 0;
        return;
    }
    gc = XCreateGC(display, box, 0, nullptr);
    // Only a viewable window can take the focus; until the host shows the
    // editor the box simply waits for it.
    XSetInputFocus(display, box, RevertToParent, CurrentTime);
    owner.addClient(this);
    keepCaretVisible();
}

X11EditBox::~X11EditBox() {
    if (owner) {
        owner->removeClient(this);
        Display* display = owner->display();
        XErrorTrap trap(display);
        if (box && !owner->destroyed()) {
            ::Window focus = None;
            int revert = 0;
            XGetInputFocus(display, &focus, &revert);
            if (focus == box) {
                XSetInputFocus(display, previousFocus, previousRevert, CurrentTime);
                // The window that had the focus may be gone meanwhile.
                if (!trap.sync()) XSetInputFocus(display, PointerRoot, RevertToParent, CurrentTime);
            }
        }
        releaseGc();
        if (box && !owner->destroyed()) XDestroyWindow(display, box);
    }
    cairo_destroy(measure);
    cairo_surface_destroy(measureImage);
}

void X11EditBox::releaseGc() {
    if (gc && owner) XFreeGC(owner->display(), gc);
    gc = nullptr;
}

void X11EditBox::windowGone() {
    // The connection closes with the editor window, taking this window and
    // its graphics context along.
    gc = nullptr;
    owner = nullptr;
    box = 0;
}

void X11EditBox::getText(char* buffer, int size) {
    if (!buffer || size <= 0) return;
    const std::size_t n = std::min(line.text().size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, line.text().data(), n);
    buffer[n] = 0;
}

void X11EditBox::handleEvent(XEvent& event) {
    switch (event.type) {
        case Expose:
            if (event.xexpose.count == 0) paint();
            break;
        case KeyPress:
            key(event.xkey);  // may destroy the box
            break;
        case ButtonPress:
            if (event.xbutton.button == Button1) {
                line.setCaret(positionAt(event.xbutton.x), (event.xbutton.state & ShiftMask) != 0);
                paint();
            }
            break;
        case FocusIn:
            if (event.xfocus.detail != NotifyPointer) focused = true;
            break;
        case FocusOut:
            // Losing the focus to another window ends the edit; a grab taking it
            // for a moment (a window manager's shortcut) does not.
            if (focused && event.xfocus.mode != NotifyGrab && event.xfocus.mode != NotifyUngrab &&
                event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer) {
                focused = false;
                events.onEditFocusLost();  // may destroy the box
            }
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == box) {
                XErrorTrap trap(owner->display());
                releaseGc();
                box = 0;
            }
            break;
        default:
            break;
    }
}

void X11EditBox::key(XKeyEvent& press) {
    char typed[32];
    KeySym symbol = NoSymbol;
    const int n = XLookupString(&press, typed, sizeof typed, &symbol, nullptr);
    const bool shift = (press.state & ShiftMask) != 0;
    switch (symbol) {
        case XK_Return:
        case XK_KP_Enter:
            events.onEditReturn();  // may destroy the box
            return;
        case XK_BackSpace:
            line.backspace();
            break;
        case XK_Delete:
        case XK_KP_Delete:
            line.deleteForward();
            break;
        case XK_Left:
        case XK_KP_Left:
            line.left(shift);
            break;
        case XK_Right:
        case XK_KP_Right:
            line.right(shift);
            break;
        case XK_Home:
        case XK_KP_Home:
            line.home(shift);
            break;
        case XK_End:
        case XK_KP_End:
            line.end(shift);
            break;
        default:
            if (press.state & ControlMask) {
                if (symbol != XK_a && symbol != XK_A) return;
                line.selectAll();
            } else if (n > 0) {
                // Latin-1 keys give Latin-1 bytes, which Windows-1252 shares.
                line.insert(std::string_view(typed, static_cast<std::size_t>(n)));
            } else {
                return;
            }
    }
    keepCaretVisible();
    paint();
}

int X11EditBox::advance(int length) {
    const std::string prefix = line.text().substr(0, static_cast<std::size_t>(length));
    return cairo_text::textAdvance(measure, style.font, prefix.c_str());
}

int X11EditBox::textLeft() {
    const int whole = advance(static_cast<int>(line.text().size()));
    // Text that fits is aligned as the field is; longer text scrolls.
    if (whole < w) {
        if (style.align == TextAlign::centre) return (w - whole) / 2;
        if (style.align == TextAlign::right) return w - 1 - whole;
        return 0;
    }
    return -scroll;
}

void X11EditBox::keepCaretVisible() {
    const int whole = advance(static_cast<int>(line.text().size()));
    if (whole < w) {
        scroll = 0;
        return;
    }
    const int caretX = advance(line.caret());
    if (caretX - scroll > w - 1) scroll = caretX - (w - 1);
    if (caretX - scroll < 0) scroll = caretX;
    scroll = std::clamp(scroll, 0, std::max(0, whole - (w - 1)));
}

int X11EditBox::positionAt(int x) {
    const int left = textLeft();
    const int length = static_cast<int>(line.text().size());
    int best = 0;
    int bestDistance = std::abs(left - x);
    for (int i = 1; i <= length; ++i) {
        const int distance = std::abs(left + advance(i) - x);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void X11EditBox::paint() {
    if (!owner || !box || !gc || owner->destroyed()) return;
    // Drawn in the client first, then sent in one copy: no flicker while typing.
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    {
        cairo_draw::CairoDevice picture(image);
        picture.setBrush(style.backgroundColour);
        picture.fillRect(Rect{0, 0, w, h});
        picture.setFont(style.font);
        const int left = textLeft();
        const int whole = advance(static_cast<int>(line.text().size()));
        const Rect textRect{left, 0, left + whole + 1, h};
        picture.setTextColour(style.textColour);
        picture.drawText(line.text().c_str(), textRect, TextAlign::left, false);
        if (line.hasSelection()) {
            const Rect selected{left + advance(line.selectionStart()), 0,
                                left + advance(line.selectionEnd()), h};
            picture.setClip(selected);
            picture.setBrush(kSelectionBackground);
            picture.fillRect(selected);
            picture.setTextColour(kSelectionText);
            picture.drawText(line.text().c_str(), textRect, TextAlign::left, false);
            picture.resetClip();
        } else {
            const int x = std::clamp(left + advance(line.caret()), 0, w - 1);
            picture.setPen(style.textColour, 1, LineStyle::solid);
            picture.moveTo(Point{x, 1});
            picture.lineTo(Point{x, h - 1});
        }
    }
    XErrorTrap trap(owner->display());
    putImage(owner->display(), box, gc, owner->visual(), owner->depth(), image, Rect{0, 0, w, h},
             Point{0, 0});
    XFlush(owner->display());
    cairo_surface_destroy(image);
}

}  // namespace linux_backend

std::unique_ptr<EditBox> createEditBox(Window& window, const Rect& r, const char* text,
                                       const EditBoxStyle& style, EditBoxEvents& events) {
    auto& owner = static_cast<linux_backend::X11Window&>(window);
    auto box = std::make_unique<linux_backend::X11EditBox>(owner, r, text, style, events);
    if (!box->valid()) return nullptr;
    return box;
}

}  // namespace platform
