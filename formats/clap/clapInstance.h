// One CLAP plug-in instance: the same effect the VST 2.x entry point builds,
// the host's extensions, and the state of the CLAP life cycle. The tables in
// clapExtensions.h reach it through the plug-in record's plugin_data.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "formats/clap/abi/clapCore.h"
#include "formats/clap/abi/clapEvents.h"
#include "formats/clap/abi/clapExtensions.h"
#include "formats/clap/abi/clapPresetDiscovery.h"
#include "editQueue.h"
#include "formats/vst2/AutoComp.h"
#include "formats/hostLink.h"

class ClapEditor;

// The stereo and the mono plug-in differ only in these.
struct ClapVariant {
    const clapabi::PluginDescriptor* descriptor;
    std::uint32_t channels;  // on the one input and the one output port
};

// What the host offers; any of it may be missing.
struct ClapHostExtensions {
    const clapabi::HostParams* params = nullptr;
    const clapabi::HostState* state = nullptr;
    const clapabi::HostTimerSupport* timer = nullptr;
    const clapabi::HostPosixFdSupport* fd = nullptr;
    const clapabi::HostLog* log = nullptr;
    const clapabi::HostPresetLoad* presetLoad = nullptr;
};

class ClapInstance {
public:
    ClapInstance(const ClapVariant& variant, const clapabi::Host* host);
    ~ClapInstance();
    ClapInstance(const ClapInstance&) = delete;
    ClapInstance& operator=(const ClapInstance&) = delete;

    // The instance behind a record the host hands back, or null for a record
    // that is not one of ours.
    static ClapInstance* of(const clapabi::Plugin* plugin);

    // Main thread: fetches the host's extensions.
    bool init();
    // Main thread, inactive: rate set-up, as a VST 2.x host's resume.
    bool activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
    void deactivate();
    // Audio thread, active.
    bool startProcessing();
    void stopProcessing();
    void reset();
    clapabi::ProcessStatus process(const clapabi::Process& process);
    // Audio thread while active, else main thread: parameter events without audio.
    void flush(const clapabi::InputEvents* in, const clapabi::OutputEvents* out);
    // Audio thread: the gain change of the latest block in dB (0 or negative).
    double gainAdjustment() const;
    // Main thread: selects a program of the instance's bank, as the editor's
    // preset menu does, and tells the host what changed.
    bool loadProgram(int slot);
    // Main thread: the state block in and out (clapState.cpp).
    bool saveState(const clapabi::OutputStream* stream);
    bool loadState(const clapabi::InputStream* stream);
    // Main thread: the editor moves its controls to what the audio thread took.
    void showParameterChanges();
    // Main thread: edits held back for a gesture that did not come go out alone.
    void sendHeldEdits();

    const clapabi::Plugin* record() const { return &plugin; }
    const clapabi::Host* host() const { return hostRecord; }
    const ClapHostExtensions& hostExtensions() const { return extensions; }
    const ClapVariant& layout() const { return variant; }
    AutoComp& effectRef() { return *effect; }
    ClapEditor& editorRef() { return *editor; }
    bool isActive() const { return active; }
    // Main thread: reports a refusal to the host's log, if it has one.
    void log(std::int32_t severity, const char* message) const;

private:
    // The effect's host link, called on the main thread by the editor.
    static void automate(void* context, int parameter, float normalised);
    static void gesture(void* context, int parameter, bool begin);
    static void updated(void* context);
    bool queueEdit(const EditRecord& record, std::size_t keepFree);
    void queueValue(std::uint32_t paramId);
    void requestFlush();
    // Audio thread (or main while inactive): the editor's edits out to the host.
    void sendEdits(const clapabi::OutputEvents* out);
    // Takes one host event; false for events that are not ours to take.
    void applyEvent(const clapabi::EventHeader& event);
    template <typename Sample>
    void render(Sample* const* in, Sample* const* out, std::uint32_t from, std::uint32_t to);
    // Main thread: hosts re-read the values, the project counts as edited.
    void tellHostEdited();

    clapabi::Plugin plugin{};
    ClapVariant variant;
    const clapabi::Host* hostRecord;
    ClapHostExtensions extensions;
    HostLink link;
    std::unique_ptr<AutoComp> effect;
    std::unique_ptr<ClapEditor> editor;
    bool initialised = false;
    // Read by process, which a misbehaving host may call at any time.
    std::atomic<bool> active{false};
    // Main thread: a program or a state is being restored; the host hears
    // of it once afterwards, not of each value (the host link's own mute is
    // read on the audio thread and stays untouched).
    bool restoring = false;
    std::atomic<bool> processing{false};
    // Editor edits on their way out; gestures the host has been told of begin.
    EditQueue<256> edits;
    EditRecord lastQueued;
    unsigned openGestures = 0;
    // Values edited outside a gesture, held until it is clear whether one
    // begins: the editor's knob reports its value just before its gesture.
    unsigned heldValues = 0;
    std::atomic<bool> flushRequested{false};
    // Parameters the audio thread changed that the editor has not shown yet.
    std::atomic<std::uint32_t> unshownChanges{0};
};
