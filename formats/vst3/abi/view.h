// The editor as a view in the host's window, its frame, and the Linux run
// loop that drives it.
#pragma once

#include "base.h"

namespace vst3 {

inline constexpr const char* kPlatformTypeHWND = "HWND";
inline constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";
inline constexpr const char* kEditorViewType = "editor";

// Physical pixels; left and top may be non-zero.
struct ViewRect {
    int32 left;
    int32 top;
    int32 right;
    int32 bottom;
};
static_assert(sizeof(ViewRect) == 16);

class IPlugFrame;

class IPlugView : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL isPlatformTypeSupported(FIDString type) = 0;
    virtual tresult KVBR_VST3_CALL attached(void* parent, FIDString type) = 0;
    virtual tresult KVBR_VST3_CALL removed() = 0;
    virtual tresult KVBR_VST3_CALL onWheel(float distance) = 0;
    virtual tresult KVBR_VST3_CALL onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult KVBR_VST3_CALL onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult KVBR_VST3_CALL getSize(ViewRect* size) = 0;
    virtual tresult KVBR_VST3_CALL onSize(ViewRect* newSize) = 0;
    virtual tresult KVBR_VST3_CALL onFocus(TBool state) = 0;
    virtual tresult KVBR_VST3_CALL setFrame(IPlugFrame* frame) = 0;
    virtual tresult KVBR_VST3_CALL canResize() = 0;
    virtual tresult KVBR_VST3_CALL checkSizeConstraint(ViewRect* rect) = 0;
    static constexpr Uid iid = uidOf(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);

protected:
    ~IPlugView() = default;
};

class IPlugFrame : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;
    static constexpr Uid iid = uidOf(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);

protected:
    ~IPlugFrame() = default;
};

class IPlugViewContentScaleSupport : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL setContentScaleFactor(float factor) = 0;
    static constexpr Uid iid = uidOf(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);

protected:
    ~IPlugViewContentScaleSupport() = default;
};

// Linux: the plug-in's handlers, called by the host's run loop on the UI thread.
class IEventHandler : public FUnknown {
public:
    virtual void KVBR_VST3_CALL onFDIsSet(int fd) = 0;
    static constexpr Uid iid = uidOf(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);

protected:
    ~IEventHandler() = default;
};

class ITimerHandler : public FUnknown {
public:
    virtual void KVBR_VST3_CALL onTimer() = 0;
    static constexpr Uid iid = uidOf(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);

protected:
    ~ITimerHandler() = default;
};

// Linux: the host's run loop, offered by the frame. Timers repeat until unregistered.
class IRunLoop : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL registerEventHandler(IEventHandler* handler, int fd) = 0;
    virtual tresult KVBR_VST3_CALL unregisterEventHandler(IEventHandler* handler) = 0;
    virtual tresult KVBR_VST3_CALL registerTimer(ITimerHandler* handler, uint64 milliseconds) = 0;
    virtual tresult KVBR_VST3_CALL unregisterTimer(ITimerHandler* handler) = 0;
    static constexpr Uid iid = uidOf(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);

protected:
    ~IRunLoop() = default;
};

}  // namespace vst3
