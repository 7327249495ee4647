// The native edit box on X11: a small child window of the editor's own
// window over the text field, drawn with cairo in the field's font, colours
// and alignment, holding the keyboard focus while it is open.
#pragma once

#include <string>

#include "../editBox.h"
#include "editLine.h"
#include "x11Window.h"

typedef struct _cairo cairo_t;

namespace platform::linux_backend {

class X11EditBox final : public EditBox, public X11EventClient {
public:
    X11EditBox(X11Window& owner, const Rect& r, const char* text, const EditBoxStyle& style,
               EditBoxEvents& events);
    // Gives the keyboard focus back to where it was and destroys the window.
    ~X11EditBox() override;
    X11EditBox(const X11EditBox&) = delete;
    X11EditBox& operator=(const X11EditBox&) = delete;

    // False when the window could not be made.
    bool valid() const { return box != 0; }

    void getText(char* buffer, int size) override;
    ::Window xwindow() const override { return box; }
    void handleEvent(XEvent& event) override;
    void windowGone() override;

    const EditLine& contents() const { return line; }

private:
    void key(XKeyEvent& press);
    void paint();
    int advance(int length);
    int textLeft();
    void keepCaretVisible();
    int positionAt(int x);
    void releaseGc();

    X11Window* owner;
    EditBoxEvents& events;
    EditLine line;
    EditBoxStyle style;
    std::string face;
    int w;
    int h;
    ::Window box = 0;
    GC gc = nullptr;
    cairo_surface_t* measureImage = nullptr;
    cairo_t* measure = nullptr;
    int scroll = 0;
    bool focused = false;
    ::Window previousFocus = None;
    int previousRevert = RevertToParent;
};

}  // namespace platform::linux_backend
