// The VST 2.x effect: identity, channel layout, parameters and meter
// preferences of Korvane Brassel as a VST 2.x host sees them, mapped onto the
// core's compressor.
#pragma once

#include <atomic>

#include "CPresetSystemEffect.h"

class ADEditor;

using vst2::int32;
using vst2::intptr;

class AutoComp : public CPresetSystemEffect {
public:
    explicit AutoComp(vst2::audioMasterCallback audioMaster);

    // Host's main thread, never while processing: rate and activation.
    void setSampleRate(float rate) override;
    void resume() override;
    void suspend() override;

    // Host's audio thread: asks the host which pins it connected, then runs
    // the compressor. Input and output buffers may be the same memory.
    void processReplacing(float** inputs, float** outputs, int32 sampleFrames) override;
    void processDoubleReplacing(double** inputs, double** outputs, int32 sampleFrames) override;

    // Any host thread, the audio thread included: clamps and stores the target;
    // getParameter and the displays show it at once, the engine from its next block.
    void setParameter(int32 index, float value) override;
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

    // Any thread: the meter request of meterRequest.h and the host's factor
    // for the editor's scale, nothing else.
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

    bool isStereoInput() const { return stereoInput.load(std::memory_order_relaxed); }
    bool isStereoOutput() const { return stereoOutput.load(std::memory_order_relaxed); }
    double getMeterReading() const { return compressor.getMeterReading(); }
    // The editor behind the VST 2.x editor interface.
    ADEditor* view();

private:
    template <typename Sample>
    void processPins(Sample** inputs, Sample** outputs, int32 sampleFrames);

    // The layout the host negotiated; read by processing.
    std::atomic<bool> stereoInput{true};
    std::atomic<bool> stereoOutput{true};
};
