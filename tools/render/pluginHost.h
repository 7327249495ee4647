// An offline VST 2.x host for one effect: loads it through its entry point,
// tells it the rate, block size and layout, drives its process calls and
// answers its callback the way a careful host does.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sharedLibrary.h"
#include "formats/vst2/aeffect.h"

namespace render {

struct PluginIdentity {
    std::string path;
    std::string effectName;
    std::string productName;
    std::string vendor;
    std::string shellMember;  // the effect opened from a shell, empty otherwise
    vst2::int32 uniqueID = 0;
    vst2::int32 vendorVersion = 0;
    vst2::int32 category = 0;
    vst2::int32 numInputs = 0;
    vst2::int32 numOutputs = 0;
    vst2::int32 numParams = 0;
    bool canDouble = false;

    std::string uniqueIDText() const;  // "KvBr", or hex when not printable
    // The name people know it by: the effect name, else the product, else the file.
    std::string displayName() const;
};

class PluginHost {
public:
    // Loads the effect at path; throws ToolError naming what is wrong with it.
    // Loading and unloading take turns across threads (few plug-ins expect
    // two instances to be made at once); processing does not.
    explicit PluginHost(const std::string& path);
    ~PluginHost();  // stops, closes the effect and unloads the library
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    const PluginIdentity& identity() const { return ident; }
    bool isKorvaneBrassel() const;

    int numParams() const { return ident.numParams; }
    std::string parameterName(int index);
    std::string parameterDisplay(int index);
    std::string parameterLabel(int index);
    float getParameter(int index);
    void setParameter(int index, float value);
    // The name of the effect's current program, and a new one (cut to 24 characters).
    std::string programName();
    void setProgramName(const std::string& name);

    // Sets rate, block size, layout and precision and resumes. Throws ToolError
    // when the effect cannot take this many channels or this precision.
    void start(double sampleRate, int blockSize, int channels, bool doublePrecision);
    // One block of at most the block size; the input has `channels` buffers of
    // frames samples, the output receives the same number of channels.
    void process(const std::vector<const double*>& input, const std::vector<double*>& output,
                 int frames);
    // The same for a caller that has the effect's own pin buffers ready (bench).
    void processPins(float** inputs, float** outputs, int frames);
    void processPins(double** inputs, double** outputs, int frames);
    // Suspends; start may follow again.
    void stop();

    // Korvane Brassel's meter reading (1.0 = no gain reduction), when the
    // effect is this plug-in and answers the request.
    std::optional<double> meterReading();

    int pinCount() const;  // buffers handed to process calls: at least two
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
