// kvbr-reference: loads the Linux build of the plug-in like a host, runs the
// fixed cases of referenceRun.h in both sample widths and writes the input and
// the outputs to a file, which the Windows test host replays and compares.
#include <dlfcn.h>

#include <cstdio>

#include "referenceRun.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kvbr-reference PLUGIN.so OUTPUT-FILE\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "kvbr-reference: cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    auto entry = reinterpret_cast<reference::Entry>(dlsym(library, "VSTPluginMain"));
    if (!entry) {
        std::fprintf(stderr, "kvbr-reference: %s has no VSTPluginMain\n", argv[1]);
        return 1;
    }
    reference::Recording rec;
    reference::makeInput(rec.inLeft, rec.inRight);
    rec.outputs.resize(reference::kNumCases);
    for (int i = 0; i < reference::kNumCases; ++i) {
        if (!reference::run(entry, reference::kCases[i], rec.inLeft, rec.inRight,
                            rec.outputs[static_cast<size_t>(i)])) {
            std::fprintf(stderr, "kvbr-reference: the plug-in gave no effect\n");
            return 1;
        }
    }
    if (!reference::save(argv[2], rec)) {
        std::fprintf(stderr, "kvbr-reference: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("kvbr-reference: %d cases of %d frames written to %s\n", reference::kNumCases,
                reference::kFrames, argv[2]);
    dlclose(library);
    return 0;
}
