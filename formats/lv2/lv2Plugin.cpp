// The DSP object's entry point: two descriptors, stereo and mono, mapping the
// host's calls onto one Lv2Instance each.
#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <new>

#include "lv2Instance.h"
#include "lv2State.h"

namespace {

const LV2_URID_Map* findMap(const LV2_Feature* const* features) {
    if (!features) return nullptr;
    for (const LV2_Feature* const* f = features; *f; ++f)
        if ((*f)->URI && std::strcmp((*f)->URI, LV2_URID__map) == 0)
            return static_cast<const LV2_URID_Map*>((*f)->data);
    return nullptr;
}

template <const lv2ports::Layout& layout>
LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*,
                       const LV2_Feature* const* features) {
    // No exception may cross into the host: a failed construction is a refusal.
    try {
        return new Lv2Instance(layout, rate, findMap(features));
    } catch (...) {
        return nullptr;
    }
}

// Host's main thread or audio thread, never during run(): remembers a buffer.
void connectPort(LV2_Handle handle, uint32_t port, void* data) {
    auto* self = static_cast<Lv2Instance*>(handle);
    if (!self || port >= static_cast<uint32_t>(self->layout.portCount())) return;
    self->ports[port] = static_cast<float*>(data);
}

// Host's main thread, never during run(): rate set-up and reset.
void activate(LV2_Handle handle) { static_cast<Lv2Instance*>(handle)->compressor.resume(); }
void deactivate(LV2_Handle handle) { static_cast<Lv2Instance*>(handle)->compressor.suspend(); }

// Host's audio thread.
void run(LV2_Handle handle, uint32_t frames) { static_cast<Lv2Instance*>(handle)->run(frames); }

void cleanup(LV2_Handle handle) { delete static_cast<Lv2Instance*>(handle); }

const void* extensionData(const char* uri) {
    if (uri && std::strcmp(uri, LV2_STATE__interface) == 0) return &lv2State::kInterface;
    return nullptr;
}

const LV2_Descriptor kDescriptors[] = {
    {lv2ports::kStereoUri, instantiate<lv2ports::kStereoLayout>, connectPort, activate, run,
     deactivate, cleanup, extensionData},
    {lv2ports::kMonoUri, instantiate<lv2ports::kMonoLayout>, connectPort, activate, run,
     deactivate, cleanup, extensionData},
};

}  // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index < sizeof kDescriptors / sizeof kDescriptors[0] ? &kDescriptors[index] : nullptr;
}
