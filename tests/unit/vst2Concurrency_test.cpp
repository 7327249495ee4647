// The VST 2.x plug-in as a host drives it while the user works: automation
// with setParameter on the host's audio thread while the editor opens, idles
// and closes on the GUI thread. Under the tsan preset ThreadSanitizer reports
// any data race between the two; under ASan a freed editor touched by the
// automation is a report.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "formats/vst2/AutoComp.h"
#include "platform/headless/headless.h"
#include "platform/headless/memorySettingsStore.h"

namespace {

vst2::intptr quietHost(vst2::AEffect*, vst2::int32 opcode, vst2::int32, vst2::intptr, void*, float) {
    return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

}  // namespace

TEST(Concurrency, Vst2AutomationWhileTheEditorOpensAndCloses) {
    platform::headless::resetHeadless();
    platform::headless::memorySettingsStore().clear();
    AutoComp effect(quietHost);
    vst2::AEffect* record = effect.getAeffect();
    std::atomic<bool> done{false};
    std::thread automation([&] {
        float value = 0.0f;
        for (int n = 0; !done.load(std::memory_order_relaxed); ++n) {
            record->setParameter(record, n % 2 ? 0 : 5, value);
            value = value < 0.95f ? value + 0.05f : 0.0f;
        }
    });
    int parent = 0;
    // Each opening draws the whole window: slow under ThreadSanitizer, which
    // sees the race in the first few.
#if defined(__SANITIZE_THREAD__)
    constexpr int kCycles = 50;
#else
    constexpr int kCycles = 300;
#endif
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        ASSERT_EQ(record->dispatcher(record, vst2::effEditOpen, 0, 0, &parent, 0.0f), 1);
        for (int i = 0; i < 3; ++i) record->dispatcher(record, vst2::effEditIdle, 0, 0, nullptr, 0.0f);
        record->dispatcher(record, vst2::effEditClose, 0, 0, nullptr, 0.0f);
    }
    done = true;
    automation.join();
}
