#include "CView.h"

#include <cstring>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"

namespace gui {

const char* const kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";
const char* const kMsgLooseFocus = "LooseFocus";

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

CView::~CView() {
    if (pBackground) pBackground->forget();
}

void CView::draw(CDrawContext* context) {
    if (pBackground) {
        if (bTransparencyEnabled)
            pBackground->drawTransparent(context, size);
        else
            pBackground->draw(context, size);
    }
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect&) { draw(context); }

bool CView::checkUpdate(const CRect& updateRect) { return updateRect.rectOverlap(size); }

void CView::mouse(CDrawContext*, CPoint&, int) {}

void CView::setBackground(CBitmap* background) {
    if (background) background->remember();
    if (pBackground) pBackground->forget();
    pBackground = background;
    setDirty(true);
}

CBitmap* CView::getBackground() const { return pBackground; }

int CView::onKeyDown(KeyCode&) { return -1; }
int CView::onKeyUp(KeyCode&) { return -1; }

bool CView::onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis, float distance) {
    return onWheel(context, where, distance);
}

bool CView::onWheel(CDrawContext*, const CPoint&, float) { return false; }
bool CView::onDrop(CDrawContext*, CDragContainer*, const CPoint&) { return false; }
void CView::onDragEnter(CDrawContext*, CDragContainer*, const CPoint&) {}
void CView::onDragLeave(CDrawContext*, CDragContainer*, const CPoint&) {}
void CView::onDragMove(CDrawContext*, CDragContainer*, const CPoint&) {}
void CView::loseFocus(CDrawContext*) {}
void CView::takeFocus(CDrawContext*) {}
bool CView::isDirty() const { return bDirty; }
void CView::setDirty(bool state) { bDirty = state; }
void CView::setMouseEnabled(bool enable) { bMouseEnabled = enable; }
bool CView::getMouseEnabled() const { return bMouseEnabled; }
void CView::setMouseableArea(const CRect& rect) { mouseableArea = rect; }

CRect& CView::getMouseableArea(CRect& rect) const {
    rect = mouseableArea;
    return rect;
}

bool CView::hitTest(const CPoint& where, int) { return mouseableArea.pointInsideEdges(where); }

void CView::setTransparency(bool state) { bTransparencyEnabled = state; }
bool CView::getTransparency() const { return bTransparencyEnabled; }

void CView::setViewSize(CRect& rect) {
    size = rect;
    setDirty(true);
}

CRect& CView::getViewSize(CRect& rect) const {
    rect = size;
    return rect;
}

bool CView::removed(CView*) { return true; }
bool CView::attached(CView*) { return true; }

void CView::getMouseLocation(CDrawContext* context, CPoint& point) {
    if (pParentView && pParentView->notify(this, kMsgCheckIfViewContainer)) {
        pParentView->getMouseLocation(context, point);
        return;
    }
    if (context) context->getMouseLocation(point);
}

CPoint& CView::frameToLocal(CPoint& point) const {
    if (pParentView && pParentView->notify(const_cast<CView*>(this), kMsgCheckIfViewContainer))
        return pParentView->frameToLocal(point);
    return point;
}

CPoint& CView::localToFrame(CPoint& point) const {
    if (pParentView && pParentView->notify(const_cast<CView*>(this), kMsgCheckIfViewContainer))
        return pParentView->localToFrame(point);
    return point;
}

void CView::redraw() {
    if (pParentFrame) pParentFrame->redrawView(this);
}

int CView::notify(CView*, const char*) { return 0; }

void CView::redrawRect(CDrawContext* context, const CRect& rect) {
    if (pParentView && pParentView != this)
        pParentView->redrawRect(context, rect);
    else if (pParentFrame && static_cast<CView*>(pParentFrame) != this)
        pParentFrame->drawRect(context, rect);
}

bool CView::wantsFocus() const { return bWantsFocus; }
void CView::setWantsFocus(bool state) { bWantsFocus = state; }

bool CView::isTypeOf(const char* type) const { return type && std::strcmp(type, "CView") == 0; }

void CView::update(CDrawContext* context) {
    if (!isDirty()) return;
    if (context)
        drawRect(context, size);
    else
        redraw();
    setDirty(false);
}

}  // namespace gui
