// The CLAP build's audio thread: process with parameter events in every
// block and a key on the side-chain's input, flush, reset and the meter read
// allocate nothing, lock nothing and make no system call, in both plug-ins,
// every mode and both sample widths.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "formats/clap/abi/clapCore.h"
#include "formats/clap/abi/clapEvents.h"
#include "formats/clap/abi/clapExtensions.h"
#include "interposers.h"

namespace {

// A host that asks nothing of the allocator while the plug-in runs.
const void* noExtension(const clapabi::Host*, const char*) { return nullptr; }
void nothing(const clapabi::Host*) {}
const clapabi::Host kQuietHost = {clapabi::kVersion, nullptr, "rt", "", "", "1", noExtension,
                                  nothing, nothing, nothing};

// Value events in every block, in fixed storage.
struct Events {
    static constexpr std::uint32_t kCount = 6;
    clapabi::EventParamValue values[kCount]{};
    clapabi::InputEvents in{this, size, get};
    clapabi::OutputEvents out{this, push};
    static std::uint32_t size(const clapabi::InputEvents*) { return kCount; }
    static const clapabi::EventHeader* get(const clapabi::InputEvents* list, std::uint32_t i) {
        return &static_cast<Events*>(list->ctx)->values[i].header;
    }
    static bool push(const clapabi::OutputEvents*, const clapabi::EventHeader*) { return true; }
    void set(int k, std::uint32_t time, clapabi::Id id, double value) {
        values[k].header = {sizeof(clapabi::EventParamValue), time, 0, clapabi::kEventParamValue, 0};
        values[k].paramId = id;
        values[k].value = value;
    }
};

rtcount::Counts& operator+=(rtcount::Counts& a, const rtcount::Counts& b) {
    a.allocations += b.allocations;
    a.locks += b.locks;
    a.systemCalls += b.systemCalls;
    return a;
}

template <typename Sample>
rtcount::Counts oneSecond(const clapabi::Plugin* plugin, std::uint32_t channels, double mode) {
    const std::uint32_t block = 512;
    std::vector<Sample> left(block), right(block), keyLeft(block), keyRight(block);
    Sample* io[2] = {left.data(), right.data()};
    Sample* key[2] = {keyLeft.data(), keyRight.data()};
    clapabi::AudioBuffer buffers[2]{};
    for (auto [buffer, data] : {std::pair{&buffers[0], io}, std::pair{&buffers[1], key}}) {
        if constexpr (sizeof(Sample) == sizeof(float))
            buffer->data32 = reinterpret_cast<float**>(data);
        else
            buffer->data64 = reinterpret_cast<double**>(data);
        buffer->channelCount = channels;
    }
    clapabi::AudioBuffer& buffer = buffers[0];
    Events events;
    const auto* params = static_cast<const clapabi::PluginParams*>(plugin->getExtension(plugin, clapabi::kExtParams));
    const auto* meter = static_cast<const clapabi::PluginGainAdjustmentMetering*>(
        plugin->getExtension(plugin, clapabi::kExtGainAdjustmentMetering));
    rtcount::Counts total{0, 0, 0};
    for (std::uint32_t done = 0, k = 0; done < 48000; done += block, ++k) {
        for (std::uint32_t i = 0; i < block; ++i) {
            const double level = k % 10 < 5 ? 0.9 : 0.05;
            left[i] = static_cast<Sample>(level * std::sin((done + i) * 0.05));
            right[i] = static_cast<Sample>(level * std::sin((done + i) * 0.07));
            keyLeft[i] = keyRight[i] = static_cast<Sample>((k % 10 < 5 ? 0.05 : 0.9) * std::sin((done + i) * 0.03));
        }
        events.set(0, 0, 0, mode);
        // The detector hears the key, then the input, through the moving high-pass.
        events.set(1, 0, 1006, k % 4 < 2 ? 1 : 0);
        events.set(2, 0, 1005, k % 5);
        events.set(3, k % 7, 1003, k % 3);  // the oversampling, crossfading
        events.set(4, k % 7, 1004, k % 3 == 0 ? 100 : 50);  // Mix, gliding
        events.set(5, k % block, 5, (k % 40) / 4.0);
        clapabi::Process process{done, block, nullptr, buffers, &buffer, 2, 1, &events.in, &events.out};
        rtcount::start();
        plugin->process(plugin, &process);
        (void)meter->get(plugin);
        if (k % 16 == 0) params->flush(plugin, &events.in, &events.out);
        if (k % 50 == 49) plugin->reset(plugin);
        total += rtcount::stop();
    }
    return total;
}

}  // namespace

TEST(RealTimeSafety, ClapProcessAllocatesLocksAndCallsNothing) {
    setenv("XDG_CONFIG_HOME", "/tmp/kvbr-rtsafety-config", 1);
    void* library = dlopen(KVBR_CLAP_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto* entry = static_cast<const clapabi::PluginEntry*>(dlsym(library, "clap_entry"));
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->init(KVBR_CLAP_PATH));
    const auto* factory =
        static_cast<const clapabi::PluginFactory*>(entry->getFactory(clapabi::kPluginFactoryId));
    for (const auto& [id, channels] : {std::pair{"com.korvane.brassel", 2u}, std::pair{"com.korvane.brassel.mono", 1u}}) {
        const clapabi::Plugin* plugin = factory->createPlugin(factory, &kQuietHost, id);
        ASSERT_NE(plugin, nullptr);
        ASSERT_TRUE(plugin->init(plugin));
        ASSERT_TRUE(plugin->activate(plugin, 48000, 1, 512));
        ASSERT_TRUE(plugin->startProcessing(plugin));
        for (double mode : {0.0, 1.0, 2.0})
            for (bool wide : {false, true}) {
                const rtcount::Counts c = wide ? oneSecond<double>(plugin, channels, mode)
                                               : oneSecond<float>(plugin, channels, mode);
                EXPECT_EQ(c.allocations, 0) << id << " mode " << mode << " 64 bits " << wide;
                EXPECT_EQ(c.locks, 0) << id << " mode " << mode << " 64 bits " << wide;
                EXPECT_EQ(c.systemCalls, 0) << id << " mode " << mode << " 64 bits " << wide;
            }
        plugin->stopProcessing(plugin);
        plugin->deactivate(plugin);
        plugin->destroy(plugin);
    }
    entry->deinit();
    dlclose(library);
}
