// The editor's extensions: gui, timer support and (Linux) descriptor
// support, each function forwarding to the instance's ClapEditor. All run
// on the host's main thread.
#include "clapEditor.h"
#include "clapExtensionTables.h"
#include "clapInstance.h"

namespace {

ClapEditor* editorOf(const clapabi::Plugin* plugin) {
    ClapInstance* self = ClapInstance::of(plugin);
    return self ? &self->editorRef() : nullptr;
}

// Asked while scanning, with or without the host's timer: the answer means
// "this plug-in has an editor".
bool isApiSupported(const clapabi::Plugin* plugin, const char* api, bool floating) {
    return editorOf(plugin) && ClapEditor::isApiSupported(api, floating);
}

bool getPreferredApi(const clapabi::Plugin* plugin, const char** api, bool* floating) {
    if (!editorOf(plugin) || !api || !floating) return false;
    *api = ClapEditor::nativeApi();
    *floating = false;
    return true;
}

bool create(const clapabi::Plugin* plugin, const char* api, bool floating) {
    ClapEditor* editor = editorOf(plugin);
    return editor && editor->create(api, floating);
}

void destroy(const clapabi::Plugin* plugin) {
    if (ClapEditor* editor = editorOf(plugin)) editor->destroy();
}

bool setScale(const clapabi::Plugin* plugin, double scale) {
    ClapEditor* editor = editorOf(plugin);
    return editor && editor->setScale(scale);
}

bool getSize(const clapabi::Plugin* plugin, std::uint32_t* width, std::uint32_t* height) {
    ClapEditor* editor = editorOf(plugin);
    return editor && editor->getSize(width, height);
}

// The layout is drawn for fixed sizes; the scale comes from the host's set_scale.
bool canResize(const clapabi::Plugin*) { return false; }
// Asked by hosts all the same (Qtractor complains without an answer).
bool getResizeHints(const clapabi::Plugin* plugin, clapabi::GuiResizeHints* hints) {
    std::uint32_t width = 0, height = 0;
    ClapEditor* editor = editorOf(plugin);
    if (!hints || !editor || !editor->getSize(&width, &height)) return false;
    *hints = {false, false, true, width, height};
    return true;
}
bool adjustSize(const clapabi::Plugin* plugin, std::uint32_t* width, std::uint32_t* height) {
    // The nearest usable size is the one size there is.
    return getSize(plugin, width, height);
}
bool setSize(const clapabi::Plugin* plugin, std::uint32_t width, std::uint32_t height) {
    std::uint32_t w = 0, h = 0;
    return getSize(plugin, &w, &h) && w == width && h == height;
}

bool setParent(const clapabi::Plugin* plugin, const clapabi::Window* window) {
    ClapEditor* editor = editorOf(plugin);
    return editor && editor->setParent(window);
}

// Embedded only.
bool setTransient(const clapabi::Plugin*, const clapabi::Window*) { return false; }
void suggestTitle(const clapabi::Plugin*, const char*) {}

bool show(const clapabi::Plugin* plugin) {
    ClapEditor* editor = editorOf(plugin);
    return editor && editor->show();
}

bool hide(const clapabi::Plugin* plugin) {
    ClapEditor* editor = editorOf(plugin);
    return editor && editor->hide();
}

void onTimer(const clapabi::Plugin* plugin, clapabi::Id timer) {
    if (ClapEditor* editor = editorOf(plugin)) editor->onTimer(timer);
}

void onFd(const clapabi::Plugin* plugin, int fd, std::uint32_t flags) {
    if (ClapEditor* editor = editorOf(plugin)) editor->onFd(fd, flags);
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
