// A VST 3 processor as a busy host drives it: process() on the audio thread
// with controls, programs and the bypass changing at sample offsets, while
// the UI thread saves and restores the component state and delivers the
// controller's bank message thousands of times (hosts may do both during
// processing). Every state saved meanwhile names and holds one program.
// Under the tsan preset ThreadSanitizer reports any data race.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "core/parameters.h"
#include "core/pluginState.h"
#include "core/programs/ProgramBank.h"
#include "tests/vst3/hostObjects.h"
#include "formats/vst3/identity.h"
#include "formats/vst3/parameters.h"
#include "formats/vst3/processor.h"

using namespace vst3;

namespace {

// The selected slot, and slot 0 (the program playing, name and values) as
// that slot holds it. The bank's records start after the state's 12-byte
// header and the bank file's 5 bytes, 72 bytes each.
::testing::AssertionResult selfConsistent(const std::vector<unsigned char>& state) {
    constexpr size_t kRecords = 12 + 5, kRecord = 72;
    if (state.size() < kRecords + 33 * kRecord) return ::testing::AssertionFailure() << "no state";
    const int selected = state[8];
    if (std::memcmp(state.data() + kRecords, state.data() + kRecords + kRecord * selected, kRecord) != 0)
        return ::testing::AssertionFailure() << "slot 0 is not the selected slot " << selected;
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(Concurrency, Vst3StateAndMessagesOnTheUiThreadWhileProcessRuns) {
    auto* processor = new Processor;
    ASSERT_EQ(processor->initialize(nullptr), kResultOk);
    ProcessSetup setup{kRealtime, kSample32, 64, 48000.0};
    ASSERT_EQ(processor->setupProcessing(&setup), kResultOk);
    ASSERT_EQ(processor->setActive(1), kResultOk);

    std::atomic<bool> done{false};
    std::atomic<long> blocks{0};
    std::atomic<bool> finite{true};
    std::thread audio([&] {
        constexpr int kFrames = 64;
        std::vector<float> left(kFrames), right(kFrames);
        float* channels[2] = {left.data(), right.data()};
        AudioBusBuffers bus{2, 0, reinterpret_cast<void**>(channels)};
        vst3test::ParameterChanges changes, reported;
        long t = 0;
        while (!done.load()) {
            for (int i = 0; i < kFrames; ++i, ++t)
                left[i] = right[i] = static_cast<float>(0.8 * std::sin(0.05 * static_cast<double>(t)));
            const long block = t / kFrames;
            changes.clear();
            reported.clear();
            changes.add(5, 10, static_cast<double>(block % 41) / 40);
            if (block % 7 == 0) changes.add(1001, 30, static_cast<double>(block % 33) / 32);
            if (block % 11 == 0) changes.add(1000, 50, static_cast<double>(block / 11 % 2));
            ProcessData data{kRealtime, kSample32, kFrames, 1, 1, &bus, &bus, &changes, &reported,
                             nullptr, nullptr, nullptr};
            processor->process(&data);
            if (!std::isfinite(left[kFrames - 1])) finite = false;
            blocks.fetch_add(1);
        }
    });

    // The controller's bank message, as a rename in the editor sends it.
    Parameters parameters;
    ProgramBank renamed(parameters);
    renamed.selectPreset(4);
    renamed.renamePreset("Busy Bus");
    const std::vector<unsigned char> block = pluginState::save(renamed, nullptr);
    vst3test::HostApplication application;
    void* made = nullptr;
    ASSERT_EQ(application.createInstance(IMessage::iid, IMessage::iid, &made), kResultOk);
    auto* message = static_cast<IMessage*>(made);
    message->setMessageID("KorvaneBrassel.bank");
    message->getAttributes()->setBinary("state", block.data(), static_cast<uint32>(block.size()));

    for (int cycle = 0; cycle < 2000; ++cycle) {
        vst3test::MemoryStream saved;
        ASSERT_EQ(processor->getState(&saved), kResultOk);
        ASSERT_TRUE(selfConsistent(saved.bytes)) << "cycle " << cycle;
        saved.position = 0;
        ASSERT_EQ(processor->setState(&saved), kResultOk);
        if (cycle % 10 == 0) {
            ASSERT_EQ(processor->notify(message), kResultOk);
        }
    }
    while (blocks.load() < 100) std::this_thread::yield();
    done = true;
    audio.join();
    EXPECT_TRUE(finite.load());
    message->release();

    // Whatever process() did meanwhile, the state it leaves saves and restores whole.
    vst3test::MemoryStream last;
    ASSERT_EQ(processor->getState(&last), kResultOk);
    auto* fresh = new Processor;
    ASSERT_EQ(fresh->initialize(nullptr), kResultOk);
    last.position = 0;
    ASSERT_EQ(fresh->setState(&last), kResultOk);
    vst3test::MemoryStream again;
    ASSERT_EQ(fresh->getState(&again), kResultOk);
    EXPECT_EQ(again.bytes, last.bytes);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(last.bytes.data() + 12 + 5 + 72 * 4)), "Busy Bus");
    processor->setActive(0);
    processor->terminate();
    processor->release();
    fresh->terminate();
    fresh->release();
}

// Hosts hand a freshly activated processor to their audio thread by means a
// sanitizer cannot see (Ardour sleeps), and take it back the same way to
// reactivate it at a new rate or layout (now and then from the audio thread
// itself): the processor's own ordering must carry everything across. The
// flags here are relaxed so that they carry nothing themselves.
TEST(Concurrency, Vst3ActivationCrossesToAnAudioThreadTheHostDoesNotSynchronise) {
    auto* processor = new Processor;
    ASSERT_EQ(processor->initialize(nullptr), kResultOk);
    std::atomic<int> round{0}, seen{0};
    std::atomic<bool> done{false}, finite{true};
    std::thread audio([&] {
        constexpr int kFrames = 32;
        std::vector<float> left(kFrames, 0.5f), right(kFrames, -0.5f);
        float* channels[2] = {left.data(), right.data()};
        int last = 0;
        while (!done.load(std::memory_order_relaxed)) {
            const int now = round.load(std::memory_order_relaxed);
            if (now == last) continue;
            // Ardour sometimes activates again from its audio thread.
            if (now % 4 == 0) {
                processor->setActive(0);
                processor->setActive(1);
            }
            AudioBusBuffers bus{now % 2 ? 1 : 2, 0, reinterpret_cast<void**>(channels)};
            for (int block = 0; block < 4; ++block) {
                ProcessData data{kRealtime, kSample32, kFrames, 1, 1, &bus, &bus, nullptr, nullptr,
                                 nullptr, nullptr, nullptr};
                processor->process(&data);
            }
            if (!std::isfinite(left[kFrames - 1])) finite.store(false, std::memory_order_relaxed);
            last = now;
            seen.store(now, std::memory_order_relaxed);
        }
    });
    for (int r = 1; r <= 300; ++r) {
        ASSERT_EQ(processor->setActive(0), kResultOk);
        ProcessSetup setup{kRealtime, kSample32, 32, r % 3 ? 48000.0 : 44100.0};
        ASSERT_EQ(processor->setupProcessing(&setup), kResultOk);
        SpeakerArrangement in = r % 2 ? kSpeakerArrangementMono : kSpeakerArrangementStereo, out = in;
        ASSERT_EQ(processor->setBusArrangements(&in, 1, &out, 1), kResultTrue);
        ASSERT_EQ(processor->setActive(1), kResultOk);
        round.store(r, std::memory_order_relaxed);
        while (seen.load(std::memory_order_relaxed) != r) std::this_thread::yield();
    }
    done.store(true, std::memory_order_relaxed);
    audio.join();
    EXPECT_TRUE(finite.load());
    processor->setActive(0);
    processor->terminate();
    processor->release();
}

namespace {

// A state stream whose first read waits for the test's word, so that the UI
// thread is inside setState while the audio thread processes.
class GatedStream final : public vst3test::Held<IBStream> {
public:
    explicit GatedStream(std::vector<unsigned char> bytes) : inner(std::move(bytes)) {}
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return vst3test::answerQuery<GatedStream, IBStream>(this, iid, obj);
    }
    tresult KVBR_VST3_CALL read(void* buffer, int32 numBytes, int32* numBytesRead) override {
        entered = true;
        while (!go) std::this_thread::yield();
        return inner.read(buffer, numBytes, numBytesRead);
    }
    tresult KVBR_VST3_CALL write(void* buffer, int32 numBytes, int32* written) override {
        return inner.write(buffer, numBytes, written);
    }
    tresult KVBR_VST3_CALL seek(int64 pos, int32 mode, int64* result) override {
        return inner.seek(pos, mode, result);
    }
    tresult KVBR_VST3_CALL tell(int64* pos) override { return inner.tell(pos); }
    std::atomic<bool> entered{false}, go{false};

private:
    vst3test::MemoryStream inner;
};

}  // namespace

// A program change from the host that arrives while the UI thread is inside
// a restore takes effect at its offset, and the state saved afterwards,
// whichever of the two selected last, names and holds one program.
TEST(Concurrency, Vst3ProgramChangeDuringARestoreLeavesASelfConsistentState) {
    auto* processor = new Processor;
    ASSERT_EQ(processor->initialize(nullptr), kResultOk);
    ProcessSetup setup{kRealtime, kSample32, 32, 48000.0};
    ASSERT_EQ(processor->setupProcessing(&setup), kResultOk);
    ASSERT_EQ(processor->setActive(1), kResultOk);
    vst3test::MemoryStream saved;  // slot 3 selected, slot 0 still program 0's
    ASSERT_EQ(processor->getState(&saved), kResultOk);
    saved.bytes[8] = 3;

    std::vector<float> left(32, 0.25f), right(32, 0.25f);
    float* channels[2] = {left.data(), right.data()};
    AudioBusBuffers bus{2, 0, reinterpret_cast<void**>(channels)};
    vst3test::ParameterChanges changes, reported;
    const auto block = [&] {
        reported.clear();
        ProcessData data{kRealtime, kSample32, 32, 1, 1, &bus, &bus, &changes, &reported,
                         nullptr, nullptr, nullptr};
        processor->process(&data);
        changes.clear();
    };

    GatedStream stream(saved.bytes);
    std::thread ui([&] { EXPECT_EQ(processor->setState(&stream), kResultOk); });
    while (!stream.entered) std::this_thread::yield();
    changes.add(vst3id::kProgramId, 5, 22.0 / params::kProgramSteps);
    block();
    vst3test::ValueQueue* compression = reported.queueOf(5);
    ASSERT_NE(compression, nullptr) << "the program change waited for the restore";
    EXPECT_EQ(compression->points.front().first, 5);
    stream.go = true;
    ui.join();
    block();

    vst3test::MemoryStream after;
    ASSERT_EQ(processor->getState(&after), kResultOk);
    EXPECT_EQ(after.bytes[8], 3) << "the restore came last";
    EXPECT_TRUE(selfConsistent(after.bytes));
    processor->setActive(0);
    processor->terminate();
    processor->release();
}
