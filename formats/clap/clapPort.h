// How a CLAP host hears what the user did in the editor. Edits become
// parameter events, which only process() and flush() may send: they wait in
// a lock-free queue that the audio thread (or the main thread, while
// inactive) drains into the host's output list. Program changes, renames and
// recalls become one rescan of the values and a mark-dirty.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/hostPort.h"
#include "core/parameters.h"
#include "editQueue.h"
#include "formats/clap/abi/clapCore.h"
#include "formats/clap/abi/clapEvents.h"
#include "formats/clap/abi/clapExtensions.h"

// What the host offers; any of it may be missing.
struct ClapHostExtensions {
    const clapabi::HostParams* params = nullptr;
    const clapabi::HostState* state = nullptr;
    const clapabi::HostTimerSupport* timer = nullptr;
    const clapabi::HostPosixFdSupport* fd = nullptr;
    const clapabi::HostLog* log = nullptr;
    const clapabi::HostPresetLoad* presetLoad = nullptr;
    const clapabi::HostGui* gui = nullptr;
    const clapabi::HostThreadCheck* threadCheck = nullptr;
};

class ClapPort : public HostPort {
public:
    // The extensions are filled in later, by the instance's init.
    ClapPort(const Parameters& parameters, const clapabi::Host* host,
             const ClapHostExtensions& extensions)
        : parameters(parameters), host(host), extensions(extensions) {}

    // Main thread (HostPort): the editor's gestures and values, queued.
    void beginEdit(int parameter) override { gesture(parameter, true); }
    void endEdit(int parameter) override { gesture(parameter, false); }
    void automate(int parameter, float value) override;
    // A program chosen, renamed or recalled in the editor: new values and a
    // bank the host saves with the project.
    void updateDisplay() override;

    // Main thread: edits held back for a gesture that did not come go out alone.
    void sendHeldEdits();
    // Main thread: hosts re-read the values, the project counts as edited.
    void tellHostEdited();
    // Audio thread (or main while inactive): the queued edits out to the
    // host, each value as the parameter has it now.
    void sendEdits(const clapabi::OutputEvents* out);

private:
    void gesture(int parameter, bool begin);
    bool queueEdit(const EditRecord& record, std::size_t keepFree);
    void queueValue(std::uint32_t paramId);
    void requestFlush();

    const Parameters& parameters;
    const clapabi::Host* host;
    const ClapHostExtensions& extensions;
    // Edits on their way out; gestures the host has been told of begin.
    EditQueue<256> edits;
    EditRecord lastQueued;
    unsigned openGestures = 0;
    // Values edited outside a gesture, held until it is clear whether one
    // begins: the editor's knob reports its value just before its gesture.
    unsigned heldValues = 0;
    std::atomic<bool> flushRequested{false};
};
