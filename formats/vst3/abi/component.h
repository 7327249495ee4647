// The processing half: the component with its buses and state, the audio
// processor, and what the host hands over with every block.
#pragma once

#include <cstddef>

#include "base.h"

namespace vst3 {

enum MediaType : int32 { kAudio = 0, kEvent = 1 };
enum BusDirection : int32 { kInput = 0, kOutput = 1 };
enum BusType : int32 { kMain = 0, kAux = 1 };
enum BusFlags : uint32 { kDefaultActive = 1 << 0 };
enum SymbolicSampleSize : int32 { kSample32 = 0, kSample64 = 1 };
enum ProcessMode : int32 { kRealtime = 0, kPrefetch = 1, kOffline = 2 };

inline constexpr SpeakerArrangement kSpeakerArrangementMono = 1ull << 19;
inline constexpr SpeakerArrangement kSpeakerArrangementStereo = 0x3;
inline constexpr uint32 kNoTail = 0;

struct BusInfo {
    int32 mediaType;
    int32 direction;
    int32 channelCount;
    String128 name;
    int32 busType;
    uint32 flags;
};

struct RoutingInfo {
    int32 mediaType;
    int32 busIndex;
    int32 channel;
};

struct ProcessSetup {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 maxSamplesPerBlock;
    double sampleRate;
};

// One bus's channels; the pointer array is float** or double** as the block's
// sample size says.
struct AudioBusBuffers {
    int32 numChannels;
    uint64 silenceFlags;
    void** channelBuffers;
};

class IParameterChanges;
class IEventList;
struct ProcessContext;

struct ProcessData {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 numSamples;
    int32 numInputs;
    int32 numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    ProcessContext* processContext;
};

static_assert(sizeof(BusInfo) == 276 && offsetof(BusInfo, name) == 12 &&
              offsetof(BusInfo, busType) == 268 && offsetof(BusInfo, flags) == 272);
static_assert(sizeof(RoutingInfo) == 12);
static_assert(sizeof(ProcessSetup) == 24 && offsetof(ProcessSetup, sampleRate) == 16);
static_assert(sizeof(AudioBusBuffers) == 24 && offsetof(AudioBusBuffers, silenceFlags) == 8 &&
              offsetof(AudioBusBuffers, channelBuffers) == 16);
static_assert(sizeof(ProcessData) == 80 && offsetof(ProcessData, inputs) == 24 &&
              offsetof(ProcessData, inputParameterChanges) == 40 &&
              offsetof(ProcessData, processContext) == 72);

// One parameter's changes within a block, in ascending sample offsets.
class IParamValueQueue : public FUnknown {
public:
    virtual ParamID KVBR_VST3_CALL getParameterId() = 0;
    virtual int32 KVBR_VST3_CALL getPointCount() = 0;
    virtual tresult KVBR_VST3_CALL getPoint(int32 index, int32* sampleOffset, ParamValue* value) = 0;
    virtual tresult KVBR_VST3_CALL addPoint(int32 sampleOffset, ParamValue value, int32* index) = 0;
    static constexpr Uid iid = uidOf(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);

protected:
    ~IParamValueQueue() = default;
};

// The queues are borrowed from the host for the block.
class IParameterChanges : public FUnknown {
public:
    virtual int32 KVBR_VST3_CALL getParameterCount() = 0;
    virtual IParamValueQueue* KVBR_VST3_CALL getParameterData(int32 index) = 0;
    virtual IParamValueQueue* KVBR_VST3_CALL addParameterData(const ParamID* id, int32* index) = 0;
    static constexpr Uid iid = uidOf(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);

protected:
    ~IParameterChanges() = default;
};

class IComponent : public IPluginBase {
public:
    virtual tresult KVBR_VST3_CALL getControllerClassId(Uid* classId) = 0;
    virtual tresult KVBR_VST3_CALL setIoMode(int32 mode) = 0;
    virtual int32 KVBR_VST3_CALL getBusCount(int32 type, int32 dir) = 0;
    virtual tresult KVBR_VST3_CALL getBusInfo(int32 type, int32 dir, int32 index, BusInfo* bus) = 0;
    virtual tresult KVBR_VST3_CALL getRoutingInfo(RoutingInfo* inInfo, RoutingInfo* outInfo) = 0;
    virtual tresult KVBR_VST3_CALL activateBus(int32 type, int32 dir, int32 index, TBool state) = 0;
    virtual tresult KVBR_VST3_CALL setActive(TBool state) = 0;
    virtual tresult KVBR_VST3_CALL setState(IBStream* state) = 0;
    virtual tresult KVBR_VST3_CALL getState(IBStream* state) = 0;
    static constexpr Uid iid = uidOf(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);

protected:
    ~IComponent() = default;
};

class IAudioProcessor : public FUnknown {
public:
    virtual tresult KVBR_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                      SpeakerArrangement* outputs, int32 numOuts) = 0;
    virtual tresult KVBR_VST3_CALL getBusArrangement(int32 dir, int32 index, SpeakerArrangement* arr) = 0;
    virtual tresult KVBR_VST3_CALL canProcessSampleSize(int32 symbolicSampleSize) = 0;
    virtual uint32 KVBR_VST3_CALL getLatencySamples() = 0;
    virtual tresult KVBR_VST3_CALL setupProcessing(ProcessSetup* setup) = 0;
    virtual tresult KVBR_VST3_CALL setProcessing(TBool state) = 0;
    virtual tresult KVBR_VST3_CALL process(ProcessData* data) = 0;
    virtual uint32 KVBR_VST3_CALL getTailSamples() = 0;
    static constexpr Uid iid = uidOf(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);

protected:
    ~IAudioProcessor() = default;
};

class IProcessContextRequirements : public FUnknown {
public:
    virtual uint32 KVBR_VST3_CALL getProcessContextRequirements() = 0;
    static constexpr Uid iid = uidOf(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);

protected:
    ~IProcessContextRequirements() = default;
};

}  // namespace vst3
