// Random dispatcher traffic against one instance: the plug-in must neither
// crash nor trip a sanitizer whatever a host sends.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "TestHost.h"

using namespace vst2;

TEST(DispatcherFuzz, HundredThousandRandomCalls) {
    ScratchConfigHome config;
    TestHost host;
    ASSERT_NE(host.open(), nullptr);
    std::mt19937_64 rng(20261207);
    std::vector<unsigned char> buffer(1024);
    std::vector<unsigned char> buffer2(1024);
    int answered = 0;
    for (int i = 0; i < 100000; ++i) {
        int32 opcode = static_cast<int32>(rng() % 211) - 10;
        if (opcode == effClose) continue;  // closing ends the instance; done once at the end
        int32 index = static_cast<int32>(rng());
        if (rng() % 4 == 0) index = static_cast<int32>(rng() % 40) - 5;
        intptr value = static_cast<intptr>(rng());
        if (rng() % 4 == 0) value = static_cast<intptr>(rng() % 40) - 5;
        float opt;
        uint32_t bits = static_cast<uint32_t>(rng());
        std::memcpy(&opt, &bits, 4);
        if (rng() % 4 == 0) opt = static_cast<float>(rng() % 200000);
        std::fill(buffer.begin(), buffer.end(), 0);
        std::fill(buffer2.begin(), buffer2.end(), 0);
        void* ptr = rng() % 2 ? buffer.data() : nullptr;
        // These two carry a pointer in value as well; a host cannot pass a random
        // address there, so it is null or a second zeroed buffer.
        if (opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement)
            value = rng() % 2 ? reinterpret_cast<intptr>(buffer2.data()) : 0;
        answered += host.dispatch(opcode, index, value, ptr, opt) != 0;
        if (i % 1000 == 0) {
            host.effect->setParameter(host.effect, index % 16, opt);
            (void)host.effect->getParameter(host.effect, index % 16);
        }
    }
    EXPECT_GT(answered, 0);
    // The instance still answers sensibly after the storm.
    EXPECT_EQ(host.dispatch(effGetVendorVersion), 1100);
    EXPECT_EQ(host.text(effGetEffectName), "Korvane Brassel");
    for (int32 p = 0; p < 12; ++p) {
        float v = host.effect->getParameter(host.effect, p);
        EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << p;
    }
}
