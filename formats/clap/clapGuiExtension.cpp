// The editor's extensions: gui, timer support and (Linux) descriptor
// support, each function forwarding to the instance's ClapEditor. All run
// on the host's main thread.
#include "clapEditor.h"
#include "clapExtensionTables.h"
#include "clapInstance.h"

namespace {

// Every gui, timer and descriptor function is the main thread's.
ClapEditor* editorOf(const clapabi::Plugin* plugin, const char* entry) {
    ClapInstance* self = ClapInstance::enter(plugin, ClapThread::main, entry);
    return self ? &self->editorRef() : nullptr;
}

// Asked while scanning, with or without the host's timer: the answer means
// "this plug-in has an editor".
bool isApiSupported(const clapabi::Plugin* plugin, const char* api, bool floating) {
    return editorOf(plugin, "gui.is_api_supported") && ClapEditor::isApiSupported(api, floating);
}

bool getPreferredApi(const clapabi::Plugin* plugin, const char** api, bool* floating) {
    if (!editorOf(plugin, "gui.get_preferred_api") || !api || !floating) return false;
    *api = ClapEditor::nativeApi();
    *floating = false;
    return true;
}

bool create(const clapabi::Plugin* plugin, const char* api, bool floating) {
    ClapEditor* editor = editorOf(plugin, "gui.create");
    return editor && editor->create(api, floating);
}

void destroy(const clapabi::Plugin* plugin) {
    if (ClapEditor* editor = editorOf(plugin, "gui.destroy")) editor->destroy();
}

bool setScale(const clapabi::Plugin* plugin, double scale) {
    ClapEditor* editor = editorOf(plugin, "gui.set_scale");
    return editor && editor->setScale(scale);
}

bool getSize(const clapabi::Plugin* plugin, std::uint32_t* width, std::uint32_t* height) {
    ClapEditor* editor = editorOf(plugin, "gui.get_size");
    return editor && editor->getSize(width, height);
}

// The layout is drawn for fixed sizes; the scale comes from the host's set_scale.
bool canResize(const clapabi::Plugin* plugin) {
    editorOf(plugin, "gui.can_resize");
    return false;
}
// Asked by hosts all the same (Qtractor complains without an answer).
bool getResizeHints(const clapabi::Plugin* plugin, clapabi::GuiResizeHints* hints) {
    std::uint32_t width = 0, height = 0;
    ClapEditor* editor = editorOf(plugin, "gui.get_resize_hints");
    if (!hints || !editor || !editor->getSize(&width, &height)) return false;
    *hints = {false, false, true, width, height};
    return true;
}
bool adjustSize(const clapabi::Plugin* plugin, std::uint32_t* width, std::uint32_t* height) {
    // The nearest usable size is the one size there is.
    ClapEditor* editor = editorOf(plugin, "gui.adjust_size");
    return editor && editor->getSize(width, height);
}
bool setSize(const clapabi::Plugin* plugin, std::uint32_t width, std::uint32_t height) {
    std::uint32_t w = 0, h = 0;
    ClapEditor* editor = editorOf(plugin, "gui.set_size");
    return editor && editor->getSize(&w, &h) && w == width && h == height;
}

bool setParent(const clapabi::Plugin* plugin, const clapabi::Window* window) {
    ClapEditor* editor = editorOf(plugin, "gui.set_parent");
    return editor && editor->setParent(window);
}

// Embedded only.
bool setTransient(const clapabi::Plugin* plugin, const clapabi::Window*) {
    editorOf(plugin, "gui.set_transient");
    return false;
}
void suggestTitle(const clapabi::Plugin* plugin, const char*) {
    editorOf(plugin, "gui.suggest_title");
}

bool show(const clapabi::Plugin* plugin) {
    ClapEditor* editor = editorOf(plugin, "gui.show");
    return editor && editor->show();
}

bool hide(const clapabi::Plugin* plugin) {
    ClapEditor* editor = editorOf(plugin, "gui.hide");
    return editor && editor->hide();
}

void onTimer(const clapabi::Plugin* plugin, clapabi::Id timer) {
    if (ClapEditor* editor = editorOf(plugin, "timer-support.on_timer")) editor->onTimer(timer);
}

void onFd(const clapabi::Plugin* plugin, int fd, std::uint32_t flags) {
    if (ClapEditor* editor = editorOf(plugin, "posix-fd-support.on_fd")) editor->onFd(fd, flags);
}

}  // namespace

namespace clapTables {

const clapabi::PluginGui kGui = {isApiSupported, getPreferredApi, create,   destroy,
                                 setScale,       getSize,         canResize, getResizeHints,
                                 adjustSize,     setSize,         setParent, setTransient,
                                 suggestTitle,   show,            hide};
const clapabi::PluginTimerSupport kTimerSupport = {onTimer};
const clapabi::PluginPosixFdSupport kPosixFdSupport = {onFd};

}  // namespace clapTables
