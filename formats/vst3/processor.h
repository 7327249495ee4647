// The processing half of the plug-in: the component (buses, activation,
// state) and the audio processor over one Compressor. Its controller is a
// separate object the host makes from the controller's class ID; the two
// share nothing but what the host carries between them (parameter changes,
// the component state, and the bank messages of bankMessage.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "formats/vst3/abi/component.h"
#include "formats/vst3/abi/host.h"
#include "processorAudio.h"
#include "unknown.h"

class Compressor;

namespace vst3 {

class Processor final : public IComponent,
                        public IAudioProcessor,
                        public IProcessContextRequirements,
                        public IConnectionPoint {
public:
    Processor();
    ~Processor();

    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override;
    uint32 KVBR_VST3_CALL addRef() override { return refs.up(); }
    uint32 KVBR_VST3_CALL release() override;

    // UI thread.
    tresult KVBR_VST3_CALL initialize(FUnknown* context) override;
    tresult KVBR_VST3_CALL terminate() override;
    tresult KVBR_VST3_CALL getControllerClassId(Uid* classId) override;
    tresult KVBR_VST3_CALL setIoMode(int32) override { return kNotImplemented; }
    int32 KVBR_VST3_CALL getBusCount(int32 type, int32 dir) override;
    tresult KVBR_VST3_CALL getBusInfo(int32 type, int32 dir, int32 index, BusInfo* bus) override;
    tresult KVBR_VST3_CALL getRoutingInfo(RoutingInfo*, RoutingInfo*) override { return kNotImplemented; }
    tresult KVBR_VST3_CALL activateBus(int32 type, int32 dir, int32 index, TBool state) override;
    tresult KVBR_VST3_CALL setActive(TBool state) override;
    // UI thread, in any state, even while process() runs on the audio thread:
    // the bank is the UI thread's, process() changes programs without it.
    tresult KVBR_VST3_CALL setState(IBStream* state) override;
    tresult KVBR_VST3_CALL getState(IBStream* state) override;

    // UI thread, while inactive.
    tresult KVBR_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                              SpeakerArrangement* outputs, int32 numOuts) override;
    tresult KVBR_VST3_CALL getBusArrangement(int32 dir, int32 index, SpeakerArrangement* arr) override;
    tresult KVBR_VST3_CALL canProcessSampleSize(int32 size) override;
    uint32 KVBR_VST3_CALL getLatencySamples() override { return 0; }
    tresult KVBR_VST3_CALL setupProcessing(ProcessSetup* setup) override;
    // UI or audio thread.
    tresult KVBR_VST3_CALL setProcessing(TBool) override { return kResultOk; }
    // Audio thread: no allocation, no lock, no system call, no host call but
    // the output parameter changes.
    tresult KVBR_VST3_CALL process(ProcessData* data) override;
    uint32 KVBR_VST3_CALL getTailSamples() override { return kNoTail; }

    uint32 KVBR_VST3_CALL getProcessContextRequirements() override { return 0; }

    // UI thread: the controller's peer (usually the host's proxy for it).
    tresult KVBR_VST3_CALL connect(IConnectionPoint* other) override;
    tresult KVBR_VST3_CALL disconnect(IConnectionPoint* other) override;
    tresult KVBR_VST3_CALL notify(IMessage* message) override;

private:
    void applyChange(ParamID id, ParamValue value, int32 offset);
    // After a program change within the block: its controls' values, as
    // output changes, so that hosts show what the program set.
    void reportProgram(ProcessData& data);

    RefCount refs;
    std::unique_ptr<Compressor> compressor;
    HostRef<FUnknown> host;
    HostRef<IConnectionPoint> peer;
    // Stored last by setActive with release and loaded first by process()
    // with acquire, so the audio thread sees what activation set up (rate,
    // layout, the bypass blend) whatever the host's own hand-over.
    std::atomic<bool> active{false};
    // The other way: process() ends each call with a release increment that
    // setActive takes with acquire before it touches what processing used.
    std::atomic<std::uint32_t> handedBack{0};
    bool mono = false;  // both main buses and the side-chain's
    // Set by the host on the UI thread (before activation, as a rule) and
    // read by process(): the side-chain's buffers are heard only while it is on.
    std::atomic<bool> keyBusActive{false};
    ProcessSetup setup{kRealtime, kSample32, 1024, 44100.0};
    // Written by the audio thread's bypass changes and by a restored state.
    std::atomic<bool> bypassed{false};
    int32 programLoadedAt = -1;  // audio thread: the offset of this block's program change
    ProcessorAudio audio;
};

}  // namespace vst3
