// The effect: identity, channel layout, parameters and meter preferences of
// Korvane Brassel, and the owner of the engine state.
#pragma once

#include <array>
#include <atomic>

#include "core/engine/EngineState.h"
#include "core/engine/enginePath.h"
#include "CPresetSystemEffect.h"

using vst2::int32;
using vst2::intptr;

constexpr int32 kNumParams = 12;

class AutoComp : public CPresetSystemEffect {
public:
    explicit AutoComp(vst2::audioMasterCallback audioMaster);
    ~AutoComp() override;

    // Host's main thread, never while processing: rate and activation.
    void setSampleRate(float rate) override;
    void resume() override;
    void suspend() override;
    // Audio thread, between blocks, active: every filter, detector and the
    // meter back at rest as a suspend and resume leave them, the parameters
    // kept; touches neither the editor nor the host (a CLAP host's reset).
    void clearEngine();

    // Host's audio thread. Input and output buffers may be the same memory.
    void processReplacing(float** inputs, float** outputs, int32 sampleFrames) override;
    void processDoubleReplacing(double** inputs, double** outputs, int32 sampleFrames) override;

    // Any host thread, the audio thread included: clamp, store, derive the
    // engine quantity, and move the editor's control.
    void setParameter(int32 index, float value) override;
    // The same without touching the editor: for the audio thread of the formats
    // whose editor follows the host's controls on the host's GUI thread (LV2,
    // VST 3, CLAP), so that processing never meets an editor being opened or closed.
    void setEngineParameter(int32 index, float value);
    float getParameter(int32 index) override;
    // Host's main thread: the texts hosts show for each parameter.
    void getParameterLabel(int32 index, char* label) override;
    void getParameterDisplay(int32 index, char* text) override;
    void getParameterName(int32 index, char* text) override;

    // Host's main thread: identity.
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32 getVendorVersion() override { return 1100; }
    int32 getVstVersion() override { return 2400; }
    int32 canDo(char* text) override;
    int32 getPlugCategory() override { return vst2::kPlugCategMastering; }

    // Host's main thread: pins and channel layout.
    bool getInputProperties(int32 index, vst2::VstPinProperties* properties) override;
    bool getOutputProperties(int32 index, vst2::VstPinProperties* properties) override;
    bool setSpeakerArrangement(vst2::VstSpeakerArrangement* input,
                               vst2::VstSpeakerArrangement* output) override;

    // Any thread: answers the meter request of meterRequest.h, nothing else.
    intptr vendorSpecific(int32 index, intptr value, void* ptr, float opt) override;

    // Meter preferences, kept per machine in the settings store.
    virtual float getVUreference();
    virtual float getVUtimeConst();
    virtual float getPPMrelease();
    virtual float getPPMhold();
    virtual void setVUreference(float value);
    virtual void setVUtimeConst(float value);
    virtual void setPPMrelease(float value);
    virtual void setPPMhold(float value);

    // Engine quantities derived by setParameter; read per sample by the engine.
    int getProcessMode() const { return processMode.load(std::memory_order_relaxed); }
    int getRatioStep() const { return ratioStep.load(std::memory_order_relaxed); }
    double getTimeFactor() const { return timeFactor.load(std::memory_order_relaxed); }
    double getCompressionGain() const { return compressionGain.load(std::memory_order_relaxed); }
    double getOutputGain() const { return outputGain.load(std::memory_order_relaxed); }
    bool isStereoInput() const { return stereoInput.load(std::memory_order_relaxed); }
    bool isStereoOutput() const { return stereoOutput.load(std::memory_order_relaxed); }
    // 1.0 means no gain reduction; written per sample, read by the editor's idle.
    double getMeterReading() const { return meterReading.load(std::memory_order_relaxed); }
    const EngineState& engineState() const { return engine; }

    // Host's main thread, never while processing (tests and tools): which
    // implementation of the audio path this effect runs. The vector path is
    // refused where the processor cannot run it; answers the path now in use.
    EnginePath setEnginePath(EnginePath path);
    EnginePath getEnginePath() const { return enginePath; }

    double vuReference = -14.0;
    double vuTimeConst = 0.6;
    double ppmRelease = 0.6;
    double ppmHold = 1.0;

protected:
    void loadMeterPreferences();
    void restSections();
    void initEngine();
    std::array<FilterSection*, 5> processingSections();
    template <typename Sample>
    void processBlock(Sample** inputs, Sample** outputs, int32 sampleFrames);
    // Clear and Valve over a block, on the two paths (processing.cpp and
    // processingVector.cpp); the right channel may be the left one.
    template <typename Sample>
    void processBaseline(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                         int32 sampleFrames, int32 step);
    template <typename Sample>
    void processVector(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                       int32 sampleFrames, int32 step);

    EngineState engine;
    // The engine state passes between the host's main thread (resume and
    // suspend set it up) and the audio thread (processing runs it) through
    // these two, each written with a release by one side and read with an
    // acquire by the other, so each side sees all the other wrote however the
    // host hands over between the two.
    std::atomic<unsigned> engineGeneration{0};  // written by resume and suspend
    std::atomic<unsigned> blocksProcessed{0};   // written by processing
    // An increment, not a store: hosts that run one instance on several
    // threads in turn keep one chain of releases that resume's acquire reads.
    void publishBlock() { blocksProcessed.fetch_add(1, std::memory_order_release); }
    // Before resume or suspend change the engine: whatever processing, or an
    // earlier resume or suspend on another thread, left there is seen.
    void takeEngine() {
        blocksProcessed.load(std::memory_order_acquire);
        engineGeneration.load(std::memory_order_acquire);
    }
    EnginePath enginePath = defaultEnginePath();
    std::atomic<double> meterReading{1.0};

    // Values cross threads (automation on the audio thread, the engine reading
    // them per sample): relaxed atomics are plain loads and stores on x86-64.
    std::atomic<float> params[kNumParams];
    std::atomic<int32> processMode{0};
    std::atomic<int32> ratioStep{0};
    std::atomic<double> timeFactor{0.005};
    std::atomic<double> compressionGain{0.125};
    std::atomic<double> outputGain{1.0};
    std::atomic<bool> stereoInput{true};
    std::atomic<bool> stereoOutput{true};
};
