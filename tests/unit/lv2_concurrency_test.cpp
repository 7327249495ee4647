// An LV2 instance as a busy host drives it: run() on the audio thread with
// its controls moving, while the main thread saves and restores the state
// thousands of times and opens, idles and closes the editor on the instance's
// own effect. Under the tsan preset ThreadSanitizer reports any data race
// between the two; under ASan a freed editor touched by run() is a report.
#include <gtest/gtest.h>
#include <lv2/atom/atom.h>

#include <atomic>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/ADEditor.h"
#include "formats/lv2/lv2Instance.h"
#include "formats/lv2/lv2State.h"
#include "platform/headless/headless.h"

namespace {

// A URID map and a state store of the test's own, as a host keeps them.
struct HostState {
    std::map<std::string, LV2_URID> ids;
    LV2_URID_Map map{this, [](LV2_URID_Map_Handle h, const char* uri) -> LV2_URID {
                         auto& ids = static_cast<HostState*>(h)->ids;
                         return ids.emplace(uri, static_cast<LV2_URID>(ids.size() + 1)).first->second;
                     }};
    struct Value {
        std::vector<unsigned char> bytes;
        uint32_t type;
    };
    std::map<LV2_URID, Value> saved;

    static LV2_State_Status store(LV2_State_Handle h, uint32_t key, const void* value, size_t size,
                                  uint32_t type, uint32_t) {
        const auto* bytes = static_cast<const unsigned char*>(value);
        static_cast<HostState*>(h)->saved[key] = {{bytes, bytes + size}, type};
        return LV2_STATE_SUCCESS;
    }
    static const void* retrieve(LV2_State_Handle h, uint32_t key, size_t* size, uint32_t* type,
                                uint32_t* flags) {
        auto& saved = static_cast<HostState*>(h)->saved;
        const auto at = saved.find(key);
        if (at == saved.end()) return nullptr;
        *size = at->second.bytes.size();
        *type = at->second.type;
        *flags = LV2_STATE_IS_POD;
        return at->second.bytes.data();
    }
};

}  // namespace

TEST(Concurrency, Lv2StateAndEditorOnTheMainThreadWhileRunRuns) {
    platform::headless::resetHeadless();
    HostState host;
    Lv2Instance instance(lv2ports::kStereoLayout, 48000.0, &host.map);
    constexpr int kFrames = 64;
    std::vector<float> inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames);
    float controlValues[controls::kCount], meter = 0.0f;
    instance.ports = {inL.data(), inR.data(), outL.data(), outR.data()};
    for (int c = 0; c < controls::kCount; ++c) {
        controlValues[c] = controls::kControls[c].defaultValue;
        instance.ports[lv2ports::kStereoLayout.controlPort(c)] = &controlValues[c];
    }
    instance.ports[lv2ports::kStereoLayout.gainReduction()] = &meter;
    instance.compressor.resume();

    std::atomic<bool> done{false};
    std::atomic<long> blocks{0};
    std::atomic<bool> finite{true};
    std::thread audio([&] {
        long t = 0;
        while (!done.load()) {
            for (int i = 0; i < kFrames; ++i, ++t)
                inL[i] = inR[i] = static_cast<float>(0.8 * std::sin(0.05 * static_cast<double>(t)));
            // The host's automation moves a control every block.
            controlValues[3] = static_cast<float>(t / kFrames % 41) * 0.25f;
            instance.run(kFrames);
            if (!std::isfinite(outL[kFrames - 1]) || !std::isfinite(meter)) finite = false;
            blocks.fetch_add(1);
        }
    });

    // The editor on the instance's own compressor, as a UI with instance access has it.
    EditorModel model(instance.compressor.parameters(), &instance.compressor.bank(), nullptr,
                      instance.compressor.meterSource());
    auto view = std::make_unique<ADEditor>(model);
    ADEditor* editor = view.get();
    int parentWindow = 0;
    const LV2_State_Interface& state = lv2State::kInterface;
    for (int cycle = 0; cycle < 2000; ++cycle) {
        if (cycle % 100 == 0) {
            ASSERT_TRUE(editor->open(&parentWindow));
        }
        if (cycle % 5 == 0) instance.compressor.bank().renamePreset(cycle % 10 ? "Busy Bus" : "Drum Room");
        editor->idle();
        host.saved.clear();
        ASSERT_EQ(state.save(&instance, HostState::store, &host, 0, nullptr), LV2_STATE_SUCCESS);
        ASSERT_EQ(state.restore(&instance, HostState::retrieve, &host, 0, nullptr),
                  LV2_STATE_SUCCESS);
        if (cycle % 100 == 99) editor->close();
    }
    // The audio thread may not have been scheduled yet on a busy machine.
    while (blocks.load() < 100) std::this_thread::yield();
    done = true;
    audio.join();
    EXPECT_TRUE(finite.load());

    // Whatever run() did meanwhile, the bank it leaves saves and restores whole.
    host.saved.clear();
    ASSERT_EQ(state.save(&instance, HostState::store, &host, 0, nullptr), LV2_STATE_SUCCESS);
    const auto bank = host.saved.at(host.ids.at(lv2State::kBankUri)).bytes;
    Lv2Instance fresh(lv2ports::kStereoLayout, 48000.0, &host.map);
    ASSERT_EQ(state.restore(&fresh, HostState::retrieve, &host, 0, nullptr), LV2_STATE_SUCCESS);
    host.saved.clear();
    ASSERT_EQ(state.save(&fresh, HostState::store, &host, 0, nullptr), LV2_STATE_SUCCESS);
    EXPECT_EQ(host.saved.at(host.ids.at(lv2State::kBankUri)).bytes, bank);
    char name[kProgramNameLength + 1];
    fresh.compressor.bank().getBankProgram(0)->getName(name);
    EXPECT_STREQ(name, "Busy Bus");
}
