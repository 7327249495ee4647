#include "CProgram.h"

#include <cmath>
#include <cstring>

namespace {
constexpr float kInitialParams[kProgramParams] = {1.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f,
                                                  0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
}  // namespace

int boundedLength(const char* text, int limit) {
    int n = 0;
    while (text && n < limit && text[n]) ++n;
    return n;
}

CProgram::CProgram() {
    for (int i = 0; i < kProgramParams; ++i)
        params[i].store(kInitialParams[i], std::memory_order_relaxed);
    std::memset(name, 0, sizeof(name));
    std::memcpy(name, "init", 4);
}

void CProgram::setName(const char* text) {
    // Only the first 24 characters matter, so a host buffer without its zero
    // is never read beyond them.
    const int length = boundedLength(text, kProgramNameLength);
    std::memset(name, 0, sizeof(name));
    if (length) std::memcpy(name, text, static_cast<size_t>(length));
}

void CProgram::getName(char* out) {
    if (out) std::memcpy(out, name, sizeof(name));
}

void CProgram::setParam(int index, float value) {
    if (index < 0 || index >= kProgramParams) return;
    // A NaN from a file or a memory would otherwise pass both comparisons.
    if (std::isnan(value)) value = 0.0f;
    if (value < 0.0f)
        value = 0.0f;
    else if (value > 1.0f)
        value = 1.0f;
    params[index].store(value, std::memory_order_relaxed);
}

float CProgram::getParam(int index) {
    if (index < 0 || index >= kProgramParams) return -1.0f;
    return params[index].load(std::memory_order_relaxed);
}
