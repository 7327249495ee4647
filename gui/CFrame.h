// The root of the view tree, bound to the editor's child window: it owns the
// window, routes the window's presses, keys and wheel to its views, keeps the
// focus and modal views, and redraws what is dirty when the editor idles.
#pragma once

#include <cstdint>
#include <memory>

#include "CViewContainer.h"

namespace platform {
class Window;
class DropRegistration;
}  // namespace platform

namespace gui {

class AEffGUIEditor;
class CDropTarget;
class CFrameWindowEvents;

class CFrame : public CViewContainer {
public:
    // Creates the child window inside `systemWindow` (the host's window) at
    // 0, 0 with the rectangle's size times `scale`, and activates the drop
    // target. The views keep the rectangle's layout pixels at every scale.
    CFrame(const CRect& size, void* systemWindow, AEffGUIEditor* editor, double scale = 1.0);
    // Releases every view, then the drop target and the window.
    ~CFrame() override;

    // Redraws what is dirty: nothing before the first paint, while closed, or
    // when nothing is dirty.
    virtual bool idle();
    virtual void doIdleStuff();
    // The system's millisecond tick count, or 0 without an editor.
    virtual std::uint32_t getTicks() const;
    virtual int getKnobMode() const;
    virtual void beginEdit(int tag);
    virtual void endEdit(int tag);
    // The old focus view is told to lose focus and marked dirty if it wants focus.
    virtual void setFocusView(CView* view);
    virtual CView* getFocusView() const;
    // Refused (false) while a modal view is set and another is given; otherwise
    // the old one is removed without the release option and the new one added
    // as the last child.
    virtual bool setModalView(CView* view);
    virtual CView* getModalView() const;
    virtual bool isOpen() const;
    virtual void setDropActive(bool active);
    virtual bool isDropActive() const;
    // The pointer relative to the window, in layout pixels.
    virtual void getCurrentLocation(CPoint& where);
    // Device pixels per layout pixel, fixed for the frame's life.
    double getScale() const { return scale; }
    // A point of the window (device pixels, window origin) in layout pixels.
    CPoint fromWindow(int x, int y) const;
    // Key routing: the focus view, then the modal view, then Tab moves the focus.
    // Answers 1 when the key was used, -1 otherwise.
    int onKeyDown(KeyCode& keyCode) override;
    int onKeyUp(KeyCode& keyCode) override;

    void mouse(CDrawContext* context, CPoint& where, int buttons = -1) override;
    using CViewContainer::onWheel;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    CView* getCurrentView() override;
    void update(CDrawContext* context) override;
    void redrawRect(CDrawContext* context, const CRect& rect) override;
    bool isTypeOf(const char* type) const override;
    // Resizes the window to the rectangle's size times the scale, then the
    // frame; the whole frame is drawn again. Nothing changes when the window
    // cannot be resized.
    void setViewSize(CRect& rect) override;

    // Draws one view at once, through the offscreen surface, into the window.
    void redrawView(CView* view);
    // Called by containers as they let a view go: forgets it as focus or modal view.
    void viewRemoved(CView* view);

    AEffGUIEditor* getEditor() const { return pEditor; }
    void* getSystemWindow() const { return pSystemWindow; }
    platform::Window* getPlatformWindow() const { return window.get(); }
    bool isFirstDraw() const { return bFirstDraw; }

private:
    friend class CFrameWindowEvents;

    AEffGUIEditor* pEditor;
    void* pSystemWindow;
    double scale;
    CView* pModalView = nullptr;
    CView* pFocusView = nullptr;
    bool bFirstDraw = true;
    bool bOpenFlag = true;
    bool bDropActive = false;
    std::unique_ptr<CFrameWindowEvents> windowEvents;
    std::unique_ptr<platform::Window> window;
    std::unique_ptr<CDropTarget> dropTarget;
    std::unique_ptr<platform::DropRegistration> dropRegistration;
};

}  // namespace gui
