#include "enginePath.h"

#include <cstdlib>
#include <cstring>

bool vectorEngineSupported() {
    // Asked once; the answer includes the operating system's support for the
    // wide registers (the compiler's check reads XGETBV as well as CPUID).
    static const bool supported = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    }();
    return supported;
}

EnginePath defaultEnginePath() {
    static const EnginePath path = [] {
        const char* forced = std::getenv("KVBR_ENGINE_PATH");
        if (forced && std::strcmp(forced, "baseline") == 0) return EnginePath::baseline;
        return vectorEngineSupported() ? EnginePath::vector : EnginePath::baseline;
    }();
    return path;
}

const char* enginePathName(EnginePath path) {
    return path == EnginePath::vector ? "vector (AVX2, FMA)" : "baseline (x86-64)";
}
