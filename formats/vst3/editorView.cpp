#include "editorView.h"

#include <cmath>
#include <cstring>

#include "controller.h"
#include "editor/ADEditor.h"
#include "editor/editorScale.h"
#include "gui/CFrame.h"
#include "platform/window.h"
#include "runLoopClient.h"

namespace vst3 {

namespace {

#if defined(_WIN32)
constexpr const char* kPlatformType = kPlatformTypeHWND;
#else
constexpr const char* kPlatformType = kPlatformTypeX11EmbedWindowID;
#endif

// The meter's glide and the knobs' redraws: about 30 times a second.
constexpr int kIdleMilliseconds = 30;

platform::Window* windowOf(ADEditor* editor) {
    gui::CFrame* frame = editor ? editor->getFrame() : nullptr;
    return frame ? frame->getPlatformWindow() : nullptr;
}

}  // namespace

EditorView::EditorView(Controller& owner) : controller(&owner), editor(owner.editor()) {
    controller->addRef();
}

EditorView::~EditorView() {
    close();
    controller->viewClosing(this);
    controller->release();
}

tresult EditorView::queryInterface(const Uid& iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (offer<IPlugView>(iid, this, obj) || offer<IPlugViewContentScaleSupport>(iid, this, obj))
        return kResultOk;
    return answerRoot(iid, static_cast<IPlugView*>(this), obj);
}

uint32 EditorView::release() {
    const uint32 left = refs.down();
    if (left == 0) delete this;
    return left;
}

bool EditorView::isOpen() const { return parent != nullptr; }

tresult EditorView::isPlatformTypeSupported(FIDString type) {
    return type && std::strcmp(type, kPlatformType) == 0 ? kResultTrue : kResultFalse;
}

tresult EditorView::attached(void* window, FIDString type) {
    if (!window || isPlatformTypeSupported(type) != kResultTrue) return kInvalidArgument;
    // One open editor per instance, and one attachment per view.
    if (!editor || isOpen() || editor->getFrame()) return kResultFalse;
    const ViewRect promised = size();
    if (!open(window)) return kResultFalse;
    // A scale decided differently at opening (the desktop's) changes the size.
    ViewRect now = size();
    if (frame && (now.right != promised.right || now.bottom != promised.bottom))
        frame->resizeView(this, &now);
    return kResultOk;
}

tresult EditorView::removed() {
    if (!isOpen()) return kResultFalse;
    close();
    return kResultOk;
}

ViewRect EditorView::size() {
    gui::ERect* rect = nullptr;
    if (!editor || !editor->getRect(&rect) || !rect) return ViewRect{0, 0, 400, 309};
    return ViewRect{0, 0, rect->right - rect->left, rect->bottom - rect->top};
}

tresult EditorView::getSize(ViewRect* out) {
    if (!out) return kInvalidArgument;
    *out = size();
    return kResultOk;
}

tresult EditorView::onSize(ViewRect* newSize) {
    // The window keeps the size its scale gives; the host learns of every
    // change through resizeView.
    return newSize ? kResultOk : kInvalidArgument;
}

tresult EditorView::setFrame(IPlugFrame* newFrame) {
    frame.keep(newFrame);
    return kResultOk;
}

tresult EditorView::checkSizeConstraint(ViewRect* rect) {
    if (!rect) return kInvalidArgument;
    const ViewRect own = size();
    rect->right = rect->left + own.right;
    rect->bottom = rect->top + own.bottom;
    return kResultFalse;
}

tresult EditorView::setContentScaleFactor(float factor) {
    if (!std::isfinite(factor) || factor <= 0.0f) return kResultFalse;
    hostScale = factor;
    if (!editor) return kResultTrue;
    editor->setHostScale(hostScale);
    if (!isOpen()) {
        editor->redecideScale();
        return kResultTrue;
    }
    if (decideEditorScale(hostScale, parent) == editor->getScale()) return kResultTrue;
    // Reopened at the new scale, then the host sizes its window to it.
    void* window = parent;
    close();
    if (!open(window)) return kResultFalse;
    ViewRect now = size();
    if (frame) frame->resizeView(this, &now);
    return kResultTrue;
}

bool EditorView::open(void* window) {
    editor->setHostScale(hostScale);
    editor->setSizeListener(this);
    if (!editor->open(window)) return false;
    parent = window;
    platform::Window* own = windowOf(editor);
#if defined(_WIN32)
    if (own) own->startTimer(kIdleMilliseconds, [this] { idle(this); });
#else
    // The frame offers the run loop; some hosts offer it in their context only.
    runLoop.adopt(queryHost<IRunLoop>(frame.get()));
    if (!runLoop) runLoop.adopt(queryHost<IRunLoop>(controller->hostContext()));
    if (runLoop) {
        client = new RunLoopClient(idle, this);
        if (own && own->eventDescriptor() >= 0) runLoop->registerEventHandler(client, own->eventDescriptor());
        runLoop->registerTimer(client, kIdleMilliseconds);
    }
#endif
    return true;
}

void EditorView::close() {
    if (client) {
        runLoop->unregisterEventHandler(client);
        runLoop->unregisterTimer(client);
        client->forget();
        client->release();
        client = nullptr;
    }
    runLoop.reset();
    if (isOpen() && editor) editor->close();
    if (editor) editor->setSizeListener(nullptr);
    parent = nullptr;
}

void EditorView::idle(void* context) {
    auto* self = static_cast<EditorView*>(context);
    // The host's loop may call in again from inside the editor's own work.
    if (self->idling || !self->editor || !self->isOpen()) return;
    self->idling = true;
    self->editor->idle();
    self->controller->settleRestart();
    self->idling = false;
}

void EditorView::editorResized(int width, int height) {
    ViewRect now{0, 0, width, height};
    if (frame) frame->resizeView(this, &now);
}

void EditorView::controllerGone() {
    close();
    editor = nullptr;
}

}  // namespace vst3
