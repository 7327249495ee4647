// The effect behind the VST 3 processor: the same AutoComp as every other
// format, plus a program change the audio thread can make. The host delivers
// a program choice as a parameter change inside process(), where the engine
// must take the slot's values at their sample offset without a host call, a
// lock or a name copy that the UI thread might be reading.
#pragma once

#include <atomic>

#include "plugin/AutoComp.h"

namespace vst3 {

class ProcessorEffect : public AutoComp {
public:
    ProcessorEffect();

    // Audio thread: selects a slot exactly as selectPreset does for the
    // engine, the selection and slot 0's values; slot 0 takes the slot's name
    // at the next settleProgramName.
    void selectPresetForAudio(vst2::int32 slot);
    // UI thread, before the bank is read or replaced: finishes what the audio
    // thread's last selection left to it.
    void settleProgramName();

private:
    std::atomic<vst2::int32> pendingName{-1};
};

}  // namespace vst3
