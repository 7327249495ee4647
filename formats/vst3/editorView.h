// The editor as a VST 3 view: the controller's ADEditor opened in the host's
// window (an X11 window ID on Linux, an HWND on Windows), driven by the host's
// run loop on Linux and by a window timer on Windows, at the scale the editor
// decides from the user's override, the host's content scale and the desktop.
// Everything runs on the host's UI thread.
#pragma once

#include "editor/editorSizeListener.h"
#include "formats/vst3/abi/view.h"
#include "unknown.h"

class ADEditor;

namespace vst3 {

class Controller;
class RunLoopClient;

class EditorView final : public IPlugView,
                         public IPlugViewContentScaleSupport,
                         private EditorSizeListener {
public:
    // Counts the controller for as long as the view lives.
    explicit EditorView(Controller& controller);

    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override;
    uint32 KVBR_VST3_CALL addRef() override { return refs.up(); }
    uint32 KVBR_VST3_CALL release() override;

    tresult KVBR_VST3_CALL isPlatformTypeSupported(FIDString type) override;
    tresult KVBR_VST3_CALL attached(void* parent, FIDString type) override;
    tresult KVBR_VST3_CALL removed() override;
    tresult KVBR_VST3_CALL onWheel(float) override { return kResultFalse; }
    // The editor's text field takes its keys from its own window.
    tresult KVBR_VST3_CALL onKeyDown(char16, int16, int16) override { return kResultFalse; }
    tresult KVBR_VST3_CALL onKeyUp(char16, int16, int16) override { return kResultFalse; }
    tresult KVBR_VST3_CALL getSize(ViewRect* size) override;
    tresult KVBR_VST3_CALL onSize(ViewRect* newSize) override;
    tresult KVBR_VST3_CALL onFocus(TBool) override { return kResultOk; }
    tresult KVBR_VST3_CALL setFrame(IPlugFrame* frame) override;
    // The size follows the scale only, in steps: the user cannot drag it.
    tresult KVBR_VST3_CALL canResize() override { return kResultFalse; }
    tresult KVBR_VST3_CALL checkSizeConstraint(ViewRect* rect) override;

    tresult KVBR_VST3_CALL setContentScaleFactor(float factor) override;

    // The controller terminates: the editor closes and the view stays empty.
    void controllerGone();

private:
    ~EditorView();
    bool isOpen() const;
    ViewRect size();
    // Opens the editor in `window` and lets the host's loop or a timer drive it.
    bool open(void* window);
    void close();
    static void idle(void* context);
    // The strip opened or closed: the host sizes its window anew.
    void editorResized(int width, int height) override;

    RefCount refs;
    Controller* controller;
    ADEditor* editor;
    HostRef<IPlugFrame> frame;
    HostRef<IRunLoop> runLoop;
    RunLoopClient* client = nullptr;
    void* parent = nullptr;
    double hostScale = 0.0;
    bool idling = false;
};

}  // namespace vst3
