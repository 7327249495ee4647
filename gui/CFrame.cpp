#include "CFrame.h"

#include <cstring>

#include "AEffGUIEditor.h"
#include "CDrawContext.h"
#include "CDropTarget.h"
#include "CFrameWindowEvents.h"
#include "COffscreenContext.h"
#include "platform/clock.h"
#include "platform/dragDrop.h"
#include "platform/input.h"
#include "platform/window.h"
#include "scale.h"

namespace gui {

CFrame::CFrame(const CRect& size, void* systemWindow, AEffGUIEditor* editor, double scale)
    : CViewContainer(size, nullptr),
      pEditor(editor),
      pSystemWindow(systemWindow),
      scale(scale > 0.0 ? scale : 1.0) {
    pParentFrame = this;
    platform::beginDragDropServices();
    windowEvents = std::make_unique<CFrameWindowEvents>(*this);
    window = platform::createChildWindow(systemWindow, scaled(size.width(), this->scale),
                                         scaled(size.height(), this->scale), *windowEvents);
    bOpenFlag = window != nullptr;
    setDropActive(true);
}

CFrame::~CFrame() {
    // An edit in progress is abandoned: the views are going and must not call
    // back into an editor that is closing.
    pFocusView = nullptr;
    // The modal view stays a child, so releasing the children below frees it
    // too instead of leaving it with its creator's reference.
    pModalView = nullptr;
    removeAll(true);
    releaseOffscreen();
    setDropActive(false);
    window.reset();
    windowEvents.reset();
    platform::endDragDropServices();
}

// ------------------------------------------------------------------- idle

bool CFrame::idle() {
    if (window) window->processEvents();
    if (!bOpenFlag || bFirstDraw || !window || !isDirty()) return false;
    CDrawContext context(this, nullptr, window.get());
    update(&context);
    return true;
}

void CFrame::doIdleStuff() {
    if (pEditor) pEditor->doIdleStuff();
}

std::uint32_t CFrame::getTicks() const { return pEditor ? platform::clock().tickCount() : 0; }

int CFrame::getKnobMode() const { return AEffGUIEditor::getKnobMode(); }

void CFrame::beginEdit(int tag) {
    if (pEditor) pEditor->beginEdit(tag);
}

void CFrame::endEdit(int tag) {
    if (pEditor) pEditor->endEdit(tag);
}

bool CFrame::isOpen() const { return bOpenFlag; }

void CFrame::update(CDrawContext* context) {
    if (bDirty) {
        // The whole editor: through the offscreen surface and one copy.
        if (context)
            draw(context);
        else
            redrawView(this);
        setDirty(false);
        return;
    }
    for (CView* child : std::vector<CView*>(children)) child->update(context);
}

void CFrame::redrawRect(CDrawContext* context, const CRect& rect) { drawRect(context, rect); }

void CFrame::redrawView(CView* view) {
    if (!view || !window || !bOpenFlag) return;
    CRect area;
    if (view == this) {
        area = size;
    } else {
        view->getViewSize(area);
        CPoint origin(area.left, area.top);
        view->localToFrame(origin);
        area.moveTo(origin.h, origin.v);
    }
    CDrawContext context(this, nullptr, window.get());
    drawRect(&context, area);
}

void CFrame::setViewSize(CRect& rect) {
    if (!window || !window->resize(scaled(rect.width(), scale), scaled(rect.height(), scale))) return;
    CViewContainer::setViewSize(rect);
    setDirty(true);
}

bool CFrame::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CFrame") == 0) || CViewContainer::isTypeOf(type);
}

// ------------------------------------------------------- focus, modal view

void CFrame::setFocusView(CView* view) {
    if (view == pFocusView) return;
    CView* old = pFocusView;
    pFocusView = view;
    if (old) {
        old->loseFocus(nullptr);
        if (old->wantsFocus()) old->setDirty(true);
    }
}

CView* CFrame::getFocusView() const { return pFocusView; }

bool CFrame::setModalView(CView* view) {
    if (view && pModalView) return false;
    if (pModalView) {
        CView* old = pModalView;
        pModalView = nullptr;
        removeView(old, false);
    }
    pModalView = view;
    if (view) addView(view);
    return true;
}

CView* CFrame::getModalView() const { return pModalView; }

void CFrame::viewRemoved(CView* view) {
    if (!view) return;
    auto* container = view->notify(this, kMsgCheckIfViewContainer)
                          ? static_cast<CViewContainer*>(view)
                          : nullptr;
    if (pFocusView && (pFocusView == view || (container && container->containsView(pFocusView))))
        pFocusView = nullptr;
    if (pModalView == view) pModalView = nullptr;
}

// ---------------------------------------------------------- input routing

void CFrame::mouse(CDrawContext* context, CPoint& where, int buttons) {
    if (pFocusView) setFocusView(nullptr);
    if (buttons == -1)
        buttons = context ? context->getMouseButtons() : platform::input().buttonState();
    if (pModalView) {
        if (pModalView->hitTest(where, buttons)) pModalView->mouse(context, where, buttons);
        return;
    }
    CViewContainer::mouse(context, where, buttons);
}

int CFrame::onKeyDown(KeyCode& keyCode) {
    int result = -1;
    if (pFocusView) result = pFocusView->onKeyDown(keyCode);
    if (result == -1 && pModalView) result = pModalView->onKeyDown(keyCode);
    if (result == -1 && keyCode.virt == VKEY_TAB)
        result = advanceNextFocusView(pFocusView, (keyCode.modifier & MODIFIER_SHIFT) != 0)
                     ? 1
                     : -1;
    return result;
}

int CFrame::onKeyUp(KeyCode& keyCode) {
    int result = -1;
    if (pFocusView) result = pFocusView->onKeyUp(keyCode);
    if (result == -1 && pModalView) result = pModalView->onKeyUp(keyCode);
    return result;
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    if (pModalView) return pModalView->onWheel(context, where, kMouseWheelAxisY, distance);
    return CViewContainer::onWheel(context, where, distance);
}

void CFrame::getCurrentLocation(CPoint& where) {
    const platform::Point cursor = platform::input().cursorPosition();
    const platform::Point origin = window ? window->screenOrigin() : platform::Point{};
    where = fromWindow(cursor.x - origin.x, cursor.y - origin.y);
}

CPoint CFrame::fromWindow(int x, int y) const { return CPoint(unscaled(x, scale), unscaled(y, scale)); }

CView* CFrame::getCurrentView() {
    if (pModalView) return pModalView;
    return CViewContainer::getCurrentView();
}

// -------------------------------------------------------------- drag and drop

void CFrame::setDropActive(bool active) {
    if (active == bDropActive) return;
    if (active) {
        if (!window) return;
        dropTarget = std::make_unique<CDropTarget>(*this);
        dropRegistration = platform::registerDropTarget(*window, *dropTarget);
    } else {
        dropRegistration.reset();
        dropTarget.reset();
    }
    bDropActive = active;
}

bool CFrame::isDropActive() const { return bDropActive; }

}  // namespace gui
