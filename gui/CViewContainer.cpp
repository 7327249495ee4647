#include "CViewContainer.h"

#include <algorithm>
#include <cstring>

#include "CBitmap.h"
#include "CFrame.h"
#include "COffscreenContext.h"

namespace gui {

CViewContainer::CViewContainer(const CRect& size, CFrame* frame, CBitmap* background)
    : CView(size) {
    pParentFrame = frame;
    if (background) {
        pBackground = background;
        pBackground->remember();
    }
    setDirty(true);
}

CViewContainer::~CViewContainer() {
    removeAll(true);
    releaseOffscreen();
}

void CViewContainer::releaseOffscreen() {
    if (pOffscreenContext) pOffscreenContext->forget();
    pOffscreenContext = nullptr;
}

// ----------------------------------------------------------------- children

void CViewContainer::adoptIntoFrame(CView* view, CFrame* frame) {
    view->setParentFrame(frame);
    if (view->notify(this, kMsgCheckIfViewContainer)) {
        auto* inner = static_cast<CViewContainer*>(view);
        for (CView* child : inner->children) inner->adoptIntoFrame(child, frame);
    }
}

bool CViewContainer::addView(CView* view, const CRect& mouseableArea, bool mouseEnabled) {
    if (!view) return false;
    view->setMouseableArea(mouseableArea);
    view->setMouseEnabled(mouseEnabled);
    return addView(view);
}

bool CViewContainer::addView(CView* view) {
    if (!view || isChild(view)) return false;
    view->remember();
    children.push_back(view);
    view->setParentView(this);
    adoptIntoFrame(view, pParentFrame);
    view->attached(this);
    return true;
}

bool CViewContainer::attached(CView* parent) {
    // A container built before it joined a frame hands the frame down now.
    for (CView* child : children) adoptIntoFrame(child, pParentFrame);
    return CView::attached(parent);
}

void CViewContainer::releaseChild(CView* view, bool withForget) {
    if (currentDragView == view) currentDragView = nullptr;
    if (pParentFrame) pParentFrame->viewRemoved(view);
    view->removed(this);
    view->setParentView(nullptr);
    view->setParentFrame(nullptr);
    view->forget();
    if (withForget) view->forget();
}

bool CViewContainer::removeView(CView* view, bool withForget) {
    auto found = std::find(children.begin(), children.end(), view);
    if (found == children.end()) return false;
    children.erase(found);
    releaseChild(view, withForget);
    return true;
}

bool CViewContainer::removeAll(bool withForget) {
    // Taken out of the list first so that a view going away sees a consistent container.
    std::vector<CView*> leaving;
    leaving.swap(children);
    currentDragView = nullptr;
    for (CView* view : leaving) releaseChild(view, withForget);
    return true;
}

bool CViewContainer::isChild(CView* view) const {
    return std::find(children.begin(), children.end(), view) != children.end();
}

bool CViewContainer::containsView(const CView* view) const {
    for (CView* child : children) {
        if (child == view) return true;
        if (child->notify(const_cast<CViewContainer*>(this), kMsgCheckIfViewContainer) &&
            static_cast<CViewContainer*>(child)->containsView(view))
            return true;
    }
    return false;
}

int CViewContainer::getNbViews() const { return static_cast<int>(children.size()); }

CView* CViewContainer::getView(int index) const {
    if (index < 0 || index >= getNbViews()) return nullptr;
    return children[static_cast<std::size_t>(index)];
}

// ------------------------------------------------------------------ settings

void CViewContainer::setBackgroundColor(const CColor& color) {
    backgroundColor = color;
    setDirty(true);
}

CColor CViewContainer::getBackgroundColor() const { return backgroundColor; }
void CViewContainer::setBackgroundOffset(const CPoint& offset) { backgroundOffset = offset; }
const CPoint& CViewContainer::getBackgroundOffset() const { return backgroundOffset; }
void CViewContainer::setMode(int m) { mode = m; }
int CViewContainer::getMode() const { return mode; }

void CViewContainer::setViewSize(CRect& rect) {
    CView::setViewSize(rect);
    releaseOffscreen();  // remade at the new size on the next draw
}

bool CViewContainer::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CViewContainer") == 0) || CView::isTypeOf(type);
}

int CViewContainer::notify(CView*, const char* message) {
    return message && std::strcmp(message, kMsgCheckIfViewContainer) == 0 ? 1 : 0;
}

bool CViewContainer::isDirty() const {
    if (bDirty) return true;
    const CRect inside(0, 0, size.width(), size.height());
    for (CView* child : children) {
        if (!child->isDirty()) continue;
        CRect visible;
        child->getViewSize(visible);
        visible.bound(inside);
        if (!visible.isEmpty()) return true;
    }
    return false;
}

// ------------------------------------------------------------------ drawing

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& rect) {
    if (pBackground) {
        const CPoint from(backgroundOffset.h + rect.left, backgroundOffset.v + rect.top);
        if (bTransparencyEnabled)
            pBackground->drawTransparent(context, rect, from);
        else
            pBackground->draw(context, rect, from);
    } else if (!bTransparencyEnabled) {
        context->setFillColor(backgroundColor);
        context->fillRect(rect);
    }
}

void CViewContainer::draw(CDrawContext* context) {
    drawRect(context, size);
    setDirty(false);
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    if (!context) return;
    CRect area = updateRect;
    area.bound(size);
    if (area.isEmpty()) return;
    CRect local = area;
    local.offset(-size.left, -size.top);

    CDrawContext* target = context;
    const CPoint savedOffset = context->offset;
    CRect savedClip;
    context->getClipRect(savedClip);
    if (bDrawInOffscreen) {
        if (!pOffscreenContext)
            pOffscreenContext = new COffscreenContext(pParentFrame, size.width(), size.height(),
                                                      kBlackCColor);
        target = pOffscreenContext;
    } else {
        context->offset.offset(size.left, size.top);
        CRect parentClip = savedClip;
        parentClip.offset(-size.left, -size.top);
        local.bound(parentClip);
    }
    target->setClipRect(local);

    drawBackgroundRect(target, local);
    for (CView* child : std::vector<CView*>(children)) {
        if (!child->checkUpdate(local)) continue;
        const bool wasDirty = child->isDirty();
        CRect before;
        child->getViewSize(before);
        child->drawRect(target, local);
        CRect after;
        child->getViewSize(after);
        if (wasDirty && !(before == after)) child->setDirty(true);
    }

    if (bDrawInOffscreen) {
        target->resetClipRect();
        pOffscreenContext->copyFrom(context, area, CPoint(local.left, local.top));
    } else {
        context->offset = savedOffset;
        context->setClipRect(savedClip);
    }
}

void CViewContainer::update(CDrawContext* context) {
    if (bDirty || (mode == kNormalUpdate && isDirty())) {
        if (context)
            draw(context);
        else
            redraw();
        setDirty(false);
        return;
    }
    if (!context) {
        for (CView* child : std::vector<CView*>(children)) child->update(nullptr);
        return;
    }
    const CPoint savedOffset = context->offset;
    context->offset.offset(size.left, size.top);
    for (CView* child : std::vector<CView*>(children)) child->update(context);
    context->offset = savedOffset;
}

void CViewContainer::redrawRect(CDrawContext* context, const CRect& rect) {
    CRect inParent = rect;
    inParent.offset(size.left, size.top);
    CView::redrawRect(context, inParent);
}

// ------------------------------------------------------------ input routing

void CViewContainer::mouse(CDrawContext* context, CPoint& where, int buttons) {
    CPoint local(where.h - size.left, where.v - size.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView* child = *it;
        if (!child->getMouseEnabled() || !child->hitTest(local, buttons)) continue;
        CPoint savedOffset;
        if (context) {
            savedOffset = context->offset;
            context->offset.offset(size.left, size.top);
        }
        child->mouse(context, local, buttons);  // the child may be gone afterwards
        if (context) context->offset = savedOffset;
        return;
    }
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
    const CPoint local(where.h - size.left, where.v - size.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView* child = *it;
        CRect area;
        if (!child->getMouseableArea(area).pointInsideEdges(local)) continue;
        if (deep && child->notify(const_cast<CViewContainer*>(this), kMsgCheckIfViewContainer)) {
            CView* inner = static_cast<CViewContainer*>(child)->getViewAt(local, true);
            return inner ? inner : child;
        }
        return child;
    }
    return nullptr;
}

CView* CViewContainer::getCurrentView() {
    if (!pParentFrame) return nullptr;
    CPoint where;
    pParentFrame->getCurrentLocation(where);
    // In the coordinates of this container's own size.
    frameToLocal(where);
    where.offset(size.left, size.top);
    return getViewAt(where);
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    CView* view = getViewAt(where);
    if (!view) return false;
    const CPoint local(where.h - size.left, where.v - size.top);
    return view->onWheel(context, local, kMouseWheelAxisY, distance);
}

void CViewContainer::onDragEnter(CDrawContext* context, CDragContainer* drag,
                                 const CPoint& where) {
    currentDragView = getViewAt(where);
    if (currentDragView)
        currentDragView->onDragEnter(context, drag,
                                     CPoint(where.h - size.left, where.v - size.top));
}

void CViewContainer::onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    const CPoint local(where.h - size.left, where.v - size.top);
    CView* view = getViewAt(where);
    if (view != currentDragView) {
        if (currentDragView) currentDragView->onDragLeave(context, drag, local);
        if (view) view->onDragEnter(context, drag, local);
        currentDragView = view;
    } else if (view) {
        view->onDragMove(context, drag, local);
    }
}

void CViewContainer::onDragLeave(CDrawContext* context, CDragContainer* drag,
                                 const CPoint& where) {
    if (currentDragView)
        currentDragView->onDragLeave(context, drag,
                                     CPoint(where.h - size.left, where.v - size.top));
    currentDragView = nullptr;
}

bool CViewContainer::onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    const CPoint local(where.h - size.left, where.v - size.top);
    bool accepted = false;
    CView* view = getViewAt(where);
    if (view) accepted = view->onDrop(context, drag, local);
    if (currentDragView) currentDragView->onDragLeave(context, drag, local);
    currentDragView = nullptr;
    return accepted;
}

// --------------------------------------------------------- coordinates, focus

void CViewContainer::getMouseLocation(CDrawContext* context, CPoint& point) {
    if (pParentView && pParentView->notify(this, kMsgCheckIfViewContainer))
        pParentView->getMouseLocation(context, point);
    else if (context)
        context->getMouseLocation(point);
    point.offset(-size.left, -size.top);
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const {
    if (pParentView && pParentView->notify(const_cast<CViewContainer*>(this),
                                           kMsgCheckIfViewContainer))
        pParentView->frameToLocal(point);
    return point.offset(-size.left, -size.top);
}

CPoint& CViewContainer::localToFrame(CPoint& point) const {
    point.offset(size.left, size.top);
    if (pParentView && pParentView->notify(const_cast<CViewContainer*>(this),
                                           kMsgCheckIfViewContainer))
        pParentView->localToFrame(point);
    return point;
}

void CViewContainer::collectFocusViews(std::vector<CView*>& out) const {
    for (CView* child : children) {
        if (child->notify(const_cast<CViewContainer*>(this), kMsgCheckIfViewContainer))
            static_cast<CViewContainer*>(child)->collectFocusViews(out);
        else if (child->wantsFocus())
            out.push_back(child);
    }
}

bool CViewContainer::advanceNextFocusView(CView* oldFocus, bool reverse) {
    if (!pParentFrame) return false;
    std::vector<CView*> order;
    collectFocusViews(order);
    if (order.empty()) return false;
    auto at = std::find(order.begin(), order.end(), oldFocus);
    CView* next = nullptr;
    if (at == order.end())
        next = reverse ? order.back() : order.front();
    else if (reverse && at != order.begin())
        next = *(at - 1);
    else if (!reverse && at + 1 != order.end())
        next = *(at + 1);
    if (!next || next == oldFocus) return false;
    pParentFrame->setFocusView(next);
    return true;
}

}  // namespace gui
