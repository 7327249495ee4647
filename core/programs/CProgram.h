// One program of the bank: a name of at most 24 characters and the twelve
// normalised parameter values.
#pragma once

#include <atomic>

#include "formats/vst2/aeffect.h"

constexpr int kProgramNameLength = 24;  // the VST 2.x program-name limit
constexpr int kProgramParams = 12;
constexpr int kBankPrograms = 33;  // the working program and 32 presets

class CProgram {
public:
    CProgram();
    virtual ~CProgram() = default;
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    // Longer names are cut to their first 24 characters.
    virtual void setName(const char* text);
    // out needs room for 25 bytes.
    virtual void getName(char* out);
    // Ignores indices outside 0 to 11; clamps to 0.0 to 1.0 and stores NaN as 0.0.
    virtual void setParam(vst2::int32 index, float value);
    // -1.0 for an index outside 0 to 11.
    virtual float getParam(vst2::int32 index);

    char name[kProgramNameLength + 1];
    // Automation writes these from the audio thread while the editor reads
    // them: relaxed atomics are plain float loads and stores on x86-64.
    std::atomic<float> params[kProgramParams];
};

// The length of text, looking at no more than limit bytes.
int boundedLength(const char* text, int limit);
