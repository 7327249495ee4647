// An offline VST 2.x host for one effect: loads it through its entry point,
// tells it the rate, block size and layout, drives its process calls and
// answers its callback the way a careful host does.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "effect.h"
#include "formats/vst2/aeffect.h"
#include "platform/sharedLibrary.h"

namespace render {

class PluginHost : public Effect {
public:
    // Loads the effect at path; throws ToolError naming what is wrong with it.
    // Loading and unloading take turns across threads (few plug-ins expect
    // two instances to be made at once); processing does not.
    explicit PluginHost(const std::string& path);
    ~PluginHost() override;  // stops, closes the effect and unloads the library
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    const PluginIdentity& identity() const override { return ident; }
    bool isKorvaneBrassel() const override;

    std::string parameterName(int index) override;
    std::string parameterDisplay(int index) override;
    std::string parameterLabel(int index) override;
    float getParameter(int index) override;
    void setParameter(int index, float value) override;
    std::string programName() override;
    void setProgramName(const std::string& name) override;

    void start(double sampleRate, int blockSize, int channels, bool doublePrecision) override;
    void process(const std::vector<const double*>& input, const std::vector<double*>& output, int frames,
                 const std::vector<const double*>* key = nullptr) override;
    int pinCount() const override;  // at least two
    void processPins(float** inputs, float** outputs, int frames) override;
    void processPins(double** inputs, double** outputs, int frames) override;
    void stop() override;

    // Only when the effect is Korvane Brassel's plug-in and answers the request.
    std::optional<double> meterReading() override;

    bool usesDoublePrecision() const { return doublePrecision; }
    bool isStarted() const { return started; }
    bool negotiatedLayout() const { return layoutAccepted; }
    // Automation the effect reported on its own (audioMasterAutomate).
    long automationCalls() const { return automateCount; }

    // The host callback and its answers (hostCallback.cpp).
    static vst2::intptr callback(vst2::AEffect* effect, vst2::int32 opcode, vst2::int32 index,
                                 vst2::intptr value, void* ptr, float opt);

private:
    vst2::intptr answer(vst2::int32 opcode, vst2::int32 index, vst2::intptr value, void* ptr,
                        float opt);
    vst2::intptr dispatch(vst2::int32 opcode, vst2::int32 index = 0, vst2::intptr value = 0,
                          void* ptr = nullptr, float opt = 0.0f);
    std::string text(vst2::int32 opcode, vst2::int32 index = 0);
    vst2::AEffect* callEntry(vst2::int32 shellId);
    void openShellMember();
    void readIdentity();
    void negotiateLayout(int channels);
    void advanceTime(int frames);

    // The host whose entry call is running on this thread: effects call back
    // before they hand out their record, so the record cannot lead to the host
    // yet. Per thread, since a batch loads effects on several.
    static thread_local PluginHost* loadingHost;

    std::unique_ptr<platform::SharedLibrary> library;
    using Entry = vst2::AEffect* (*)(vst2::audioMasterCallback);
    Entry entry = nullptr;
    vst2::AEffect* effect = nullptr;
    PluginIdentity ident;
    vst2::int32 currentShellId = 0;

    double rate = 44100.0;
    int maxBlock = 512;
    int channels = 2;
    bool doublePrecision = false;
    bool started = false;
    bool layoutAccepted = false;
    vst2::VstTimeInfo timeInfo{};
    long automateCount = 0;

    // Pin buffers in the effect's precision; inputs beyond the file's channels
    // carry a copy (mono into a stereo effect) or silence.
    std::vector<std::vector<float>> floatIn, floatOut;
    std::vector<std::vector<double>> doubleIn, doubleOut;
    std::vector<float*> floatInPtr, floatOutPtr;
    std::vector<double*> doubleInPtr, doubleOutPtr;
};

}  // namespace render
