// The CLAP 1.2 binary interface, part two: the process call, audio buffers
// and the events that travel with it.
#pragma once

#include <cstdint>

#include "clapCore.h"

namespace clapabi {

// ----------------------------------------------------------------- events

inline constexpr std::uint16_t kCoreEventSpace = 0;

enum EventType : std::uint16_t {
    kEventNoteOn = 0,
    kEventNoteOff = 1,
    kEventNoteChoke = 2,
    kEventNoteEnd = 3,
    kEventNoteExpression = 4,
    kEventParamValue = 5,
    kEventParamMod = 6,
    kEventParamGestureBegin = 7,
    kEventParamGestureEnd = 8,
    kEventTransport = 9,
    kEventMidi = 10,
    kEventMidiSysex = 11,
    kEventMidi2 = 12,
};

enum EventFlags : std::uint32_t {
    kEventIsLive = 1,
    kEventDontRecord = 2,
};

struct EventHeader {
    std::uint32_t size;  // the whole event, this header included
    std::uint32_t time;  // frame within the block
    std::uint16_t spaceId;
    std::uint16_t type;
    std::uint32_t flags;
};

// A parameter's new plain value (PARAM_VALUE) or a modulation amount (PARAM_MOD).
struct EventParamValue {
    EventHeader header;
    Id paramId;
    void* cookie;
    std::int32_t noteId;  // -1: any
    std::int16_t portIndex;
    std::int16_t channel;
    std::int16_t key;
    double value;
};

// GESTURE_BEGIN and GESTURE_END.
struct EventParamGesture {
    EventHeader header;
    Id paramId;
};

struct InputEvents {
    void* ctx;
    std::uint32_t (*size)(const InputEvents* list);
    // Owned by the list.
    const EventHeader* (*get)(const InputEvents* list, std::uint32_t index);
};

struct OutputEvents {
    void* ctx;
    // Copies `size` bytes of the event; false when it could not be queued.
    bool (*tryPush)(const OutputEvents* list, const EventHeader* event);
};

// ------------------------------------------------------------- processing

enum ProcessStatusValue : ProcessStatus {
    kProcessError = 0,
    kProcessContinue = 1,
    kProcessContinueIfNotQuiet = 2,
    kProcessTail = 3,
    kProcessSleep = 4,
};

struct AudioBuffer {
    float** data32;    // exactly one of the two is set
    double** data64;
    std::uint32_t channelCount;
    std::uint32_t latency;
    std::uint64_t constantMask;  // a hint only; 0 is always true of outputs
};

struct EventTransport;

struct Process {
    std::int64_t steadyTime;  // -1 when unknown
    std::uint32_t framesCount;
    const EventTransport* transport;  // null in a free-running host
    const AudioBuffer* audioInputs;
    AudioBuffer* audioOutputs;
    std::uint32_t audioInputsCount;
    std::uint32_t audioOutputsCount;
    const InputEvents* inEvents;
    const OutputEvents* outEvents;
};

}  // namespace clapabi
