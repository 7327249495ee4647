// Random dispatcher traffic against one instance: the plug-in must neither
// crash nor trip a sanitizer whatever a host sends.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "TestHost.h"
#include "tests/support/dispatcherTraffic.h"

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
        const testsupport::DispatcherCall call = testsupport::nextDispatcherCall(rng, buffer, buffer2);
        const int32 opcode = call.opcode, index = call.index;
        const float opt = call.opt;
        // Closing ends the instance; done once at the end.
        if (opcode == effClose) continue;
        const intptr value = call.value;
        void* const ptr = call.ptr;
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
