// Linux: what the plug-in registers with the host's run loop while its
// editor is open. The host calls it on its UI thread when the editor's X
// connection has events and at every timer tick; both let the editor drain
// its events, redraw and move the meter. The host may hold it longer than
// the view: a forgotten client does nothing.
#pragma once

#include "formats/vst3/abi/view.h"
#include "unknown.h"

namespace vst3 {

class RunLoopClient final : public IEventHandler, public ITimerHandler {
public:
    using Tick = void (*)(void* context);
    RunLoopClient(Tick tick, void* context) : tick(tick), context(context) {}

    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        if (!obj) return kInvalidArgument;
        if (offer<IEventHandler>(iid, this, obj) || offer<ITimerHandler>(iid, this, obj)) return kResultOk;
        return answerRoot(iid, static_cast<IEventHandler*>(this), obj);
    }
    uint32 KVBR_VST3_CALL addRef() override { return refs.up(); }
    uint32 KVBR_VST3_CALL release() override {
        const uint32 left = refs.down();
        if (left == 0) delete this;
        return left;
    }

    void KVBR_VST3_CALL onFDIsSet(int) override { run(); }
    void KVBR_VST3_CALL onTimer() override { run(); }
    void forget() { tick = nullptr; }

private:
    ~RunLoopClient() = default;
    void run() {
        if (tick) tick(context);
    }
    RefCount refs;
    Tick tick;
    void* context;
};

}  // namespace vst3
