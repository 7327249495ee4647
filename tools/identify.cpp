// kvbr-identify: loads a VST 2.x plug-in through its entry point and prints
// what a host sees: identity, layout and the parameters with their displays.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "formats/vst2/aeffect.h"

using namespace vst2;

namespace {

intptr host(AEffect*, int32 opcode, int32, intptr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::string text(AEffect* e, int32 opcode, int32 index = 0) {
    char buffer[256] = {};
    e->dispatcher(e, opcode, index, 0, buffer, 0.0f);
    buffer[sizeof(buffer) - 1] = 0;
    return buffer;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "build/korvane-brassel.so";
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "kvbr-identify: cannot load %s: %s\n", path, dlerror());
        return 1;
    }
    using Entry = AEffect* (*)(audioMasterCallback);
    auto entry = reinterpret_cast<Entry>(dlsym(library, "VSTPluginMain"));
    if (!entry) entry = reinterpret_cast<Entry>(dlsym(library, "main"));
    if (!entry) {
        std::fprintf(stderr, "kvbr-identify: %s is not a VST 2.x plug-in (no entry point)\n", path);
        return 1;
    }
    AEffect* e = entry(host);
    if (!e || e->magic != kEffectMagic) {
        std::fprintf(stderr, "kvbr-identify: the plug-in's entry point returned no effect\n");
        return 1;
    }
    char id[5] = {static_cast<char>(e->uniqueID >> 24), static_cast<char>(e->uniqueID >> 16),
                  static_cast<char>(e->uniqueID >> 8), static_cast<char>(e->uniqueID), 0};
    std::printf("Effect   %s\n", text(e, effGetEffectName).c_str());
    std::printf("Product  %s\n", text(e, effGetProductString).c_str());
    std::printf("Vendor   %s, version %ld\n", text(e, effGetVendorString).c_str(),
                static_cast<long>(e->dispatcher(e, effGetVendorVersion, 0, 0, nullptr, 0.0f)));
    std::printf("ID       %s (0x%08X), flags 0x%04X, %d in / %d out, %d parameters\n", id,
                static_cast<unsigned>(e->uniqueID), static_cast<unsigned>(e->flags), e->numInputs,
                e->numOutputs, e->numParams);
    std::printf("Program  %s\n", text(e, effGetProgramName).c_str());
    std::printf("\n  #  %-12s %-10s %s\n", "name", "display", "value");
    for (int32 i = 0; i < e->numParams; ++i) {
        std::printf(" %2d  %-12s %-10s %.6f\n", i, text(e, effGetParamName, i).c_str(),
                    text(e, effGetParamDisplay, i).c_str(), e->getParameter(e, i));
    }
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    dlclose(library);
    return 0;
}
