#include "clapEditor.h"

#include <cmath>
#include <cstring>

#include "clapInstance.h"
#include "editor/ADEditor.h"
#include "gui/CFrame.h"
#include "platform/window.h"

namespace {

// 30 redraws a second, the rate every host is meant to accept.
constexpr std::uint32_t kRedrawPeriodMs = 33;

#if defined(_WIN32)
constexpr const char* kNativeApi = clapabi::kWindowApiWin32;
void* parentOf(const clapabi::Window& window) { return window.win32; }
#else
constexpr const char* kNativeApi = clapabi::kWindowApiX11;
void* parentOf(const clapabi::Window& window) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window.x11));
}
#endif

}  // namespace

ClapEditor::ClapEditor(ClapInstance& instance)
    : instance(instance),
      model(instance.core().parameters(), &instance.core().bank(), &instance.hostPort(),
            instance.core().meterSource()),
      editorView(std::make_unique<ADEditor>(model)) {
    editorView->offerStrip();
    editorView->setSizeListener(this);
}

// The instance is going: nothing more goes out to the host.
ClapEditor::~ClapEditor() { close(); }

bool ClapEditor::isApiSupported(const char* api, bool floating) {
    return api && !floating && std::strcmp(api, kNativeApi) == 0;
}

const char* ClapEditor::nativeApi() { return kNativeApi; }

bool ClapEditor::isOpen() const { return view() && view()->getFrame(); }

bool ClapEditor::create(const char* api, bool floating) {
    if (created || !isApiSupported(api, floating) || !view()) return false;
    const clapabi::HostTimerSupport* timers = instance.hostExtensions().timer;
    if (!timers || !timers->registerTimer || !timers->unregisterTimer) {
        instance.log(clapabi::kLogWarning, "editor: the host offers no timer support");
        return false;
    }
    created = true;
    return true;
}

void ClapEditor::destroy() {
    if (!created) return;
    instance.hostPort().sendHeldEdits();
    close();
}

void ClapEditor::close() {
    if (!created) return;
    stopTimer();
    unwatchDescriptor();
    if (ADEditor* editor = view()) {
        editor->close();
        // The next editor decides its scale afresh.
        editor->setHostScale(0.0);
    }
    created = false;
}

bool ClapEditor::setScale(double scale) {
    if (!created || !std::isfinite(scale) || scale <= 0.0) return false;
    ADEditor* editor = view();
    editor->setHostScale(scale);
    // An open editor keeps its scale until it opens again: not applied now.
    if (isOpen()) return false;
    // A closed editor forgets the scale an earlier size question decided, so
    // that the next answer uses this one.
    editor->close();
    return true;
}

bool ClapEditor::getSize(std::uint32_t* width, std::uint32_t* height) {
    gui::ERect* rect = nullptr;
    if (!created || !width || !height || !view()->getRect(&rect) || !rect) return false;
    *width = static_cast<std::uint32_t>(rect->right - rect->left);
    *height = static_cast<std::uint32_t>(rect->bottom - rect->top);
    return true;
}

bool ClapEditor::setParent(const clapabi::Window* window) {
    if (!created || !window || !window->api || std::strcmp(window->api, kNativeApi) != 0)
        return false;
    void* parent = parentOf(*window);
    if (!parent) return false;
    // A second parent: the editor opens afresh, on a connection of its own.
    unwatchDescriptor();
    if (!view()->open(parent)) {
        stopTimer();
        return false;
    }
    // The window is visible once made: it redraws from now on.
    startTimer();
    const clapabi::HostPosixFdSupport* fds = instance.hostExtensions().fd;
    const int descriptor = view()->getFrame()->getPlatformWindow()
                               ? view()->getFrame()->getPlatformWindow()->eventDescriptor()
                               : -1;
    if (descriptor >= 0 && fds && fds->registerFd && fds->unregisterFd &&
        fds->registerFd(instance.host(), descriptor, clapabi::kFdRead))
        watched = descriptor;
    return true;
}

void ClapEditor::editorResized(int width, int height) {
    const clapabi::HostGui* gui = instance.hostExtensions().gui;
    if (!gui) return;
    if (gui->resizeHintsChanged) gui->resizeHintsChanged(instance.host());
    if (gui->requestResize)
        gui->requestResize(instance.host(), static_cast<std::uint32_t>(width),
                           static_cast<std::uint32_t>(height));
}

bool ClapEditor::show() {
    if (!isOpen()) return false;
    startTimer();
    return true;
}

bool ClapEditor::hide() {
    if (!isOpen()) return false;
    // The window stays as it is inside the host's hidden one; only the
    // redraws stop.
    stopTimer();
    return true;
}

void ClapEditor::onTimer(clapabi::Id id) {
    if (id == timer && timer != clapabi::kInvalidId) refresh();
}

void ClapEditor::onFd(int fd, std::uint32_t flags) {
    if (fd != watched || watched < 0) return;
    // The descriptor reports its error for as long as it lasts: stop
    // watching it; the timer still drains the connection.
    if (flags & clapabi::kFdError) unwatchDescriptor();
    refresh();
}

void ClapEditor::refresh() {
    if (!isOpen()) return;
    instance.hostPort().sendHeldEdits();
    // Also handles events Xlib queued during other calls, which never make
    // the descriptor readable again.
    view()->idle();
}

void ClapEditor::startTimer() {
    const clapabi::HostTimerSupport* timers = instance.hostExtensions().timer;
    if (timer != clapabi::kInvalidId || !timers) return;
    clapabi::Id id = clapabi::kInvalidId;
    if (timers->registerTimer(instance.host(), kRedrawPeriodMs, &id)) timer = id;
}

void ClapEditor::stopTimer() {
    const clapabi::HostTimerSupport* timers = instance.hostExtensions().timer;
    if (timer == clapabi::kInvalidId || !timers) return;
    timers->unregisterTimer(instance.host(), timer);
    timer = clapabi::kInvalidId;
}

void ClapEditor::unwatchDescriptor() {
    const clapabi::HostPosixFdSupport* fds = instance.hostExtensions().fd;
    if (watched < 0 || !fds) return;
    fds->unregisterFd(instance.host(), watched);
    watched = -1;
}
