// The audio path of the built plug-ins allocates nothing, locks nothing and
// makes no system call, in every mode, layout and sample width, in every format.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <pthread.h>
#include <time.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "interposers.h"
#include "formats/vst2/aeffect.h"
#include "tests/vst3/hostObjects.h"
#include "formats/vst3/abi/factory.h"

#include <lv2/core/lv2.h>

using namespace vst2;

namespace {

// A host that answers without allocating: the callback runs inside the process calls.
intptr quietHost(AEffect*, int32 opcode, int32, intptr, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    return 0;  // pins connected, everything else unanswered
}

struct Plugin {
    void* library = nullptr;
    AEffect* effect = nullptr;
    Plugin() {
        setenv("XDG_CONFIG_HOME", "/tmp/kvbr-rtsafety-config", 1);
        library = dlopen(KVBR_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        auto entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(
            library ? dlsym(library, "VSTPluginMain") : nullptr);
        effect = entry ? entry(quietHost) : nullptr;
    }
    ~Plugin() {
        if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        if (library) dlclose(library);
    }
    intptr dispatch(int32 op, int32 index = 0, intptr value = 0, void* ptr = nullptr, float opt = 0) {
        return effect->dispatcher(effect, op, index, value, ptr, opt);
    }
};

VstSpeakerArrangement arrangement(int channels) {
    VstSpeakerArrangement a;
    std::memset(&a, 0, sizeof(a));
    a.numChannels = channels;
    return a;
}

template <typename Sample>
rtcount::Counts oneSecond(Plugin& p, bool doublePrecision) {
    const int block = 512, rate = 48000;
    std::vector<Sample> l(block), r(block), ol(block), orr(block);
    Sample* in[2] = {l.data(), r.data()};
    Sample* out[2] = {ol.data(), orr.data()};
    long t = 0;
    rtcount::Counts total{0, 0, 0};
    for (int done = 0; done < rate; done += block) {
        for (int i = 0; i < block; ++i, ++t) {
            const double burst = (t / 4800) % 2 ? 0.9 : 0.05;
            l[i] = static_cast<Sample>(burst * std::sin(t * 0.05));
            r[i] = static_cast<Sample>(burst * std::sin(t * 0.07));
        }
        rtcount::start();
        if (doublePrecision)
            p.effect->processDoubleReplacing(p.effect, reinterpret_cast<double**>(in),
                                             reinterpret_cast<double**>(out), block);
        else
            p.effect->processReplacing(p.effect, reinterpret_cast<float**>(in),
                                       reinterpret_cast<float**>(out), block);
        // Automation arrives on the audio thread too.
        p.effect->setParameter(p.effect, 5, static_cast<float>((done / block) % 10) / 10.0f);
        (void)p.effect->getParameter(p.effect, 5);
        const rtcount::Counts c = rtcount::stop();
        total.allocations += c.allocations;
        total.locks += c.locks;
        total.systemCalls += c.systemCalls;
    }
    return total;
}

}  // namespace

void* volatile escape;

TEST(RealTimeSafety, TheCountersSeeWhatTheyCount) {
    rtcount::start();
    escape = std::malloc(16);
    std::free(escape);
    escape = new int(3);
    delete static_cast<int*>(escape);
    timespec nap{0, 1000};
    nanosleep(&nap, nullptr);
    pthread_mutex_t m = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&m);
    pthread_mutex_unlock(&m);
    const rtcount::Counts c = rtcount::stop();
    EXPECT_EQ(c.allocations, 4);
    EXPECT_EQ(c.systemCalls, 1);
    EXPECT_EQ(c.locks, 1);
}

TEST(RealTimeSafety, ProcessingAllocatesLocksAndCallsNothing) {
    Plugin p;
    ASSERT_NE(p.effect, nullptr);
    p.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    p.dispatch(effSetBlockSize, 0, 512);
    p.dispatch(effMainsChanged, 0, 1);
    for (int layout = 0; layout < 3; ++layout) {
        const int ins = layout == 2 ? 2 : 1, outs = layout == 0 ? 1 : 2;
        auto in = arrangement(ins), out = arrangement(outs);
        p.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr>(&in), &out);
        for (float mode : {0.0f, 0.5f, 1.0f}) {
            p.effect->setParameter(p.effect, 0, mode);
            for (bool dbl : {false, true}) {
                const rtcount::Counts c =
                    dbl ? oneSecond<double>(p, true) : oneSecond<float>(p, false);
                EXPECT_EQ(c.allocations, 0) << "layout " << layout << " mode " << mode << " double " << dbl;
                EXPECT_EQ(c.locks, 0) << "layout " << layout << " mode " << mode;
                EXPECT_EQ(c.systemCalls, 0) << "layout " << layout << " mode " << mode;
            }
        }
    }
}

// The LV2 entry: run() with the controls moving every block (the
// oversampling and the ratio crossfading, the mix gliding, the side-chain
// filter and the key switching, the key input connected), both plug-ins,
// every mode.
TEST(RealTimeSafety, Lv2RunAllocatesLocksAndCallsNothing) {
    setenv("XDG_CONFIG_HOME", "/tmp/kvbr-rtsafety-config", 1);
    void* library = dlopen(KVBR_LV2_DSP_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<const LV2_Descriptor* (*)(uint32_t)>(dlsym(library, "lv2_descriptor"));
    ASSERT_NE(entry, nullptr);
    for (uint32_t which : {0u, 1u}) {
        const LV2_Descriptor* d = entry(which);
        LV2_Handle h = d->instantiate(d, 48000, KVBR_LV2_DSP_PATH, nullptr);
        ASSERT_NE(h, nullptr);
        const int audio = which == 0 ? 4 : 2;
        const int block = 512;
        std::vector<std::vector<float>> buffers(audio, std::vector<float>(block));
        // The five, the meter, then oversampling, mix, side-chain filter and key.
        float controls[10] = {2, 3, 5, 5, 0, 0, 0, 100, 0, 0};
        for (int p = 0; p < audio; ++p) d->connect_port(h, p, buffers[p].data());
        for (int c = 0; c < 10; ++c) d->connect_port(h, audio + c, &controls[c]);
        // The key inputs come after the controls: fed from the input buffers.
        for (int p = 0; p < audio / 2; ++p) d->connect_port(h, audio + 10 + p, buffers[p].data());
        d->activate(h);
        for (float mode : {0.0f, 1.0f, 2.0f}) {
            controls[0] = mode;
            rtcount::Counts total{0, 0, 0};
            for (int done = 0, k = 0; done < 48000; done += block, ++k) {
                for (int i = 0; i < block; ++i)
                    for (int p = 0; p < audio / 2; ++p)
                        buffers[p][i] = static_cast<float>((k % 10 < 5 ? 0.9 : 0.05) * std::sin((done + i) * 0.05 * (p + 1)));
                controls[3] = static_cast<float>(k % 40) / 4.0f;
                controls[1] = static_cast<float>(k % 7);
                controls[6] = static_cast<float>(k % 3);
                controls[7] = static_cast<float>(k % 2 ? 30 : 100);
                controls[8] = static_cast<float>(k % 5);
                controls[9] = static_cast<float>(k / 3 % 2);
                rtcount::start();
                d->run(h, block);
                const rtcount::Counts c = rtcount::stop();
                total.allocations += c.allocations;
                total.locks += c.locks;
                total.systemCalls += c.systemCalls;
            }
            EXPECT_EQ(total.allocations, 0) << d->URI << " mode " << mode;
            EXPECT_EQ(total.locks, 0) << d->URI << " mode " << mode;
            EXPECT_EQ(total.systemCalls, 0) << d->URI << " mode " << mode;
        }
        d->deactivate(h);
        d->cleanup(h);
    }
    dlclose(library);
}

// The VST 3 processor: process() with changes at sample offsets in every
// block (controls, programs, the bypass and its blend, the new settings), a
// key on the side-chain bus, the meter reported through the output changes,
// both widths and both layouts.
TEST(RealTimeSafety, Vst3ProcessAllocatesLocksAndCallsNothing) {
    using namespace vst3;
    setenv("XDG_CONFIG_HOME", "/tmp/kvbr-rtsafety-config", 1);
    void* library = dlopen(KVBR_VST3_BINARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<bool (*)(void*)>(dlsym(library, "ModuleEntry"));
    auto getFactory = reinterpret_cast<IPluginFactory* (*)()>(dlsym(library, "GetPluginFactory"));
    ASSERT_TRUE(entry && getFactory && entry(library));
    IPluginFactory* factory = getFactory();
    PClassInfo info{};
    ASSERT_EQ(factory->getClassInfo(0, &info), kResultOk);
    for (bool mono : {false, true})
        for (int32 width : {kSample32, kSample64}) {
            void* made = nullptr;
            ASSERT_EQ(factory->createInstance(info.cid, IComponent::iid, &made), kResultOk);
            auto* component = static_cast<IComponent*>(made);
            ASSERT_EQ(component->initialize(nullptr), kResultOk);
            ASSERT_EQ(component->queryInterface(IAudioProcessor::iid, &made), kResultOk);
            auto* processor = static_cast<IAudioProcessor*>(made);
            SpeakerArrangement layout = mono ? kSpeakerArrangementMono : kSpeakerArrangementStereo;
            SpeakerArrangement inputs[2] = {layout, layout};
            processor->setBusArrangements(inputs, 2, &layout, 1);
            component->activateBus(kAudio, kInput, 1, 1);  // the side-chain, fed below
            ProcessSetup setup{kRealtime, width, 512, 48000};
            processor->setupProcessing(&setup);
            component->setActive(1);
            processor->setProcessing(1);

            const int block = 512;
            std::vector<double> buffers(4 * block);
            void* channels[4] = {};
            const size_t bytes = width == kSample64 ? sizeof(double) : sizeof(float);
            for (int c = 0; c < 4; ++c) channels[c] = reinterpret_cast<char*>(buffers.data()) + c * block * bytes;
            // The key reads the other channel's samples (the right, or the left when mono).
            void* keyChannels[2] = {channels[mono ? 0 : 1], channels[0]};
            AudioBusBuffers ins[2] = {{mono ? 1 : 2, 0, channels}, {mono ? 1 : 2, 0, keyChannels}};
            AudioBusBuffers out{mono ? 1 : 2, 0, channels + 2};
            vst3test::ParameterChanges changes, reported;
            rtcount::Counts total{0, 0, 0};
            for (int k = 0; k < 100; ++k) {
                for (int i = 0; i < block; ++i)
                    for (int c = 0; c < 2; ++c) {
                        const double x = (k % 10 < 5 ? 0.9 : 0.05) * std::sin((k * block + i) * 0.05 * (c + 1));
                        if (width == kSample64)
                            static_cast<double*>(channels[c])[i] = x;
                        else
                            static_cast<float*>(channels[c])[i] = static_cast<float>(x);
                    }
                changes.clear();
                reported.clear();
                changes.add(5, 17, (k % 41) / 40.0);
                changes.add(5, 300, ((k + 7) % 41) / 40.0);
                changes.add(2, 100, (k % 7) / 6.0);
                changes.add(1003, 40, (k % 3) / 2.0);
                changes.add(1004, 60, k % 2 ? 0.3 : 1.0);  // Mix
                changes.add(1005, 80, (k % 5) / 4.0);      // Sidechain Filter
                changes.add(1006, 90, (k / 3) % 2);        // Key
                if (k % 9 == 0) changes.add(1001, 0, (k % 33) / 32.0);
                if (k % 13 == 0) changes.add(1000, 250, (k / 13) % 2);
                ProcessData data{kRealtime, width, block, 2, 1, ins, &out, &changes, &reported,
                                 nullptr, nullptr, nullptr};
                rtcount::start();
                processor->process(&data);
                const rtcount::Counts c = rtcount::stop();
                total.allocations += c.allocations;
                total.locks += c.locks;
                total.systemCalls += c.systemCalls;
            }
            EXPECT_EQ(total.allocations, 0) << "mono " << mono << " width " << width;
            EXPECT_EQ(total.locks, 0) << "mono " << mono << " width " << width;
            EXPECT_EQ(total.systemCalls, 0) << "mono " << mono << " width " << width;
            EXPECT_NE(reported.queueOf(1002), nullptr) << "the meter was reported";
            component->setActive(0);
            processor->release();
            component->terminate();
            component->release();
        }
    factory->release();
    reinterpret_cast<bool (*)()>(dlsym(library, "ModuleExit"))();
    dlclose(library);
}
