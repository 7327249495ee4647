// One program of the bank: a name of at most 24 characters and the twelve
// normalised parameter values.
#pragma once

#include <atomic>


constexpr int kProgramNameLength = 24;  // the program-name limit hosts have always had
constexpr int kProgramParams = 12;  // kProgramParameters of core/parameters.h
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
    virtual void setParam(int index, float value);
    // -1.0 for an index outside 0 to 11.
    virtual float getParam(int index);

    char name[kProgramNameLength + 1];
    // The main thread's (ProgramBank); atomics all the same, so that a host
    // that breaks that rule cannot tear a value.
    std::atomic<float> params[kProgramParams];
};

// The length of text, looking at no more than limit bytes.
int boundedLength(const char* text, int limit);
