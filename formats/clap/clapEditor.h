// The instance's editor in the host's window: the plug-in's ADEditor over the
// instance's compressor, embedded through set_parent and driven by the
// host's timer (redraws, the meter, the controls following the host) and, on
// Linux, by the host's watch on the X connection's descriptor. No thread of
// its own; every function runs on the host's main thread.
#pragma once

#include <cstdint>
#include <memory>

#include "core/editorModel.h"
#include "editor/editorSizeListener.h"
#include "formats/clap/abi/clapExtensions.h"

class ADEditor;
class ClapInstance;

class ClapEditor final : private EditorSizeListener {
public:
    explicit ClapEditor(ClapInstance& instance);
    // Lets go of the window, the timer and the descriptor if the host did not.
    ~ClapEditor();
    ClapEditor(const ClapEditor&) = delete;
    ClapEditor& operator=(const ClapEditor&) = delete;

    // The one embedded API of this system ("x11" on Linux, "win32" on
    // Windows), whatever the host offers: hosts ask while scanning.
    static bool isApiSupported(const char* api, bool floating);
    static const char* nativeApi();

    // Refused for another API, a floating window, a second create, or a host
    // without timer support (nothing would redraw the editor).
    bool create(const char* api, bool floating);
    void destroy();
    // The host's factor for the next opening; false before create, for a
    // factor that is none, and while open (the editor changes scale only
    // when it opens).
    bool setScale(double scale);
    bool getSize(std::uint32_t* width, std::uint32_t* height);
    // Opens the editor in the host's window; false for a window of another API.
    bool setParent(const clapabi::Window* window);
    bool show();
    bool hide();
    void onTimer(clapabi::Id timer);
    void onFd(int fd, std::uint32_t flags);

    bool isCreated() const { return created; }
    bool isOpen() const;

private:
    ADEditor* view() const { return editorView.get(); }
    // Lets go of the window, the timer and the descriptor.
    void close();
    void startTimer();
    void stopTimer();
    void unwatchDescriptor();
    // Events, the controls changed elsewhere, drawing and the meter.
    void refresh();
    // The strip opened or closed: the host is asked to size its window anew.
    void editorResized(int width, int height) override;

    ClapInstance& instance;
    // What the editor works on: the compressor, with the instance's port to tell.
    EditorModel model;
    std::unique_ptr<ADEditor> editorView;
    bool created = false;
    clapabi::Id timer = clapabi::kInvalidId;
    int watched = -1;
};
