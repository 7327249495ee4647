// A picture element of the editor: a rectangle in its container, an optional
// shared background bitmap, a dirty flag, and the input it may take.
#pragma once

#include "CReferenceCounter.h"
#include "geometry.h"
#include "mouseButtons.h"
#include "keyCode.h"

namespace gui {

class CBitmap;
class CDrawContext;
class CDragContainer;
class CFrame;

// Sent to a parent to learn whether it is a container (it answers 1).
extern const char* const kMsgCheckIfViewContainer;
// Sent by a text field to its container when editing ends.
extern const char* const kMsgLooseFocus;

class CView : public CReferenceCounter {
public:
    explicit CView(const CRect& size);
    // Drops the background bitmap.
    ~CView() override;

    // Draws the background bitmap (transparently if the transparency flag is on)
    // into the size rectangle from offset (0, 0); then marks the view clean.
    virtual void draw(CDrawContext* context);
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    virtual bool checkUpdate(const CRect& updateRect);
    virtual void mouse(CDrawContext* context, CPoint& where, int buttons = -1);
    virtual void setBackground(CBitmap* background);
    virtual CBitmap* getBackground() const;
    // Answer -1 for a key that was not used.
    virtual int onKeyDown(KeyCode& keyCode);
    virtual int onKeyUp(KeyCode& keyCode);
    virtual bool onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis,
                         float distance);
    virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);
    virtual bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void loseFocus(CDrawContext* context = nullptr);
    virtual void takeFocus(CDrawContext* context = nullptr);
    virtual bool isDirty() const;
    virtual void setDirty(bool state = true);
    virtual void setMouseEnabled(bool enable = true);
    virtual bool getMouseEnabled() const;
    virtual void setMouseableArea(const CRect& rect);
    virtual CRect& getMouseableArea(CRect& rect) const;
    // Every edge of the mouseable area counts as inside.
    virtual bool hitTest(const CPoint& where, int buttons = -1);
    virtual void setTransparency(bool state);
    virtual bool getTransparency() const;
    virtual void setViewSize(CRect& rect);
    virtual CRect& getViewSize(CRect& rect) const;
    virtual bool removed(CView* parent);
    virtual bool attached(CView* parent);
    // The pointer in this view's container's coordinates.
    virtual void getMouseLocation(CDrawContext* context, CPoint& point);
    virtual CPoint& frameToLocal(CPoint& point) const;
    virtual CPoint& localToFrame(CPoint& point) const;
    virtual void redraw();
    virtual int notify(CView* sender, const char* message);
    virtual void redrawRect(CDrawContext* context, const CRect& rect);
    virtual bool wantsFocus() const;
    virtual void setWantsFocus(bool state);
    virtual bool isTypeOf(const char* type) const;
    // If dirty: draws into the context (or, without one, has the frame redraw
    // the view), then marks the view clean.
    virtual void update(CDrawContext* context);

    CFrame* getFrame() const { return pParentFrame; }
    CView* getParentView() const { return pParentView; }
    void setParentFrame(CFrame* frame) { pParentFrame = frame; }
    void setParentView(CView* view) { pParentView = view; }
    int getWidth() const { return size.width(); }
    int getHeight() const { return size.height(); }
    const CRect& getSize() const { return size; }

protected:
    CRect size;
    CRect mouseableArea;
    CFrame* pParentFrame = nullptr;
    CView* pParentView = nullptr;
    bool bDirty = false;
    bool bMouseEnabled = true;
    bool bTransparencyEnabled = false;
    bool bWantsFocus = false;
    CBitmap* pBackground = nullptr;
};

}  // namespace gui
