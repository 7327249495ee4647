// The effect behind the VST 3 processor: the same AutoComp as every other
// format, plus a program change the audio thread can make. The host delivers
// a program choice as a parameter change inside process(), where the engine
// must take the slot's values at their sample offset without a host call or
// a lock.
#pragma once

#include <atomic>

#include "formats/vst2/AutoComp.h"

namespace vst3 {

class ProcessorEffect : public AutoComp {
public:
    ProcessorEffect();

    // Audio thread: selects a slot exactly as selectPreset does for the
    // engine, the selection and slot 0's values and name. Only between
    // beginAudioChanges() == true and endAudioChanges().
    void selectPresetForAudio(vst2::int32 slot);

    // The bank (selection, slots, names) is changed by one thread at a time:
    // the audio thread never waits, it is refused its turn and holds its
    // changes for a later block; the UI thread waits out at most one block.
    bool beginAudioChanges();
    void endAudioChanges();

    // UI thread: the bank is this thread's alone while the turn lives.
    class UiTurn {
    public:
        explicit UiTurn(ProcessorEffect& effect);
        ~UiTurn();
        UiTurn(const UiTurn&) = delete;
        UiTurn& operator=(const UiTurn&) = delete;

    private:
        ProcessorEffect& effect;
    };

private:
    // Each side raises its flag, then looks at the other's (sequentially
    // consistent, so that at least one of them sees the other).
    std::atomic<bool> audioChanging{false};
    std::atomic<int> uiTurns{0};
};

}  // namespace vst3
