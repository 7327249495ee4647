// A view that holds other views: it owns them, draws them in the order they
// were added (through an offscreen surface by default), and passes presses,
// the wheel and drags on to the one under the pointer, the last added first.
#pragma once

#include <vector>

#include "CView.h"
#include "colours.h"

namespace gui {

class COffscreenContext;

// Update modes: redraw the whole container when anything in it is dirty, or
// only the dirty children.
enum { kNormalUpdate = 0, kOnlyDirtyUpdate = 1 };

class CViewContainer : public CView {
public:
    CViewContainer(const CRect& size, CFrame* frame, CBitmap* background = nullptr);
    // Releases every child (as removeAll with the release option).
    ~CViewContainer() override;

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void mouse(CDrawContext* context, CPoint& where, int buttons = -1) override;
    using CView::onWheel;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    bool isDirty() const override;
    void setViewSize(CRect& rect) override;
    bool attached(CView* parent) override;
    void getMouseLocation(CDrawContext* context, CPoint& point) override;
    CPoint& frameToLocal(CPoint& point) const override;
    CPoint& localToFrame(CPoint& point) const override;
    int notify(CView* sender, const char* message) override;
    void redrawRect(CDrawContext* context, const CRect& rect) override;
    bool isTypeOf(const char* type) const override;
    void update(CDrawContext* context) override;

    // Takes a reference: the container owns the view from now on.
    virtual bool addView(CView* view, const CRect& mouseableArea, bool mouseEnabled = true);
    virtual bool addView(CView* view);
    // Without `withForget` only the container's own reference is dropped and the
    // view lives on for whoever else holds one.
    virtual bool removeView(CView* view, bool withForget = true);
    virtual bool removeAll(bool withForget = true);
    virtual bool isChild(CView* view) const;
    virtual int getNbViews() const;
    virtual CView* getView(int index) const;
    virtual void setBackgroundColor(const CColor& color);
    virtual CColor getBackgroundColor() const;
    virtual void setBackgroundOffset(const CPoint& offset);
    virtual const CPoint& getBackgroundOffset() const;
    // rect is in this container's coordinates.
    virtual void drawBackgroundRect(CDrawContext* context, const CRect& rect);
    virtual void setMode(int mode);
    virtual int getMode() const;
    // The child under the pointer (mouseable areas, edges included, last added
    // first), or null.
    virtual CView* getCurrentView();
    // The child at `where` (in the coordinates of this container's own size),
    // descending into containers when `deep`.
    virtual CView* getViewAt(const CPoint& where, bool deep = false) const;
    // Moves the frame's focus to the next (or previous) view that wants it,
    // searching containers recursively; answers whether the focus moved.
    virtual bool advanceNextFocusView(CView* oldFocus, bool reverse = false);

    void setDrawOffscreen(bool state) { bDrawInOffscreen = state; }
    bool getDrawOffscreen() const { return bDrawInOffscreen; }
    COffscreenContext* getOffscreenContext() const { return pOffscreenContext; }
    // True if `view` is a child of this container or of a container inside it.
    bool containsView(const CView* view) const;

protected:
    // Hands a view to the container's frame, down through nested containers.
    void adoptIntoFrame(CView* view, CFrame* frame);
    void releaseChild(CView* view, bool withForget);
    void collectFocusViews(std::vector<CView*>& out) const;
    void releaseOffscreen();

    std::vector<CView*> children;
    int mode = kNormalUpdate;
    COffscreenContext* pOffscreenContext = nullptr;
    CColor backgroundColor = kBlackCColor;
    CPoint backgroundOffset;
    bool bDrawInOffscreen = true;
    CView* currentDragView = nullptr;
};

}  // namespace gui
