// The state a host saves with its project: the shared state block, through
// streams that move a few bytes at a time; anything short, long, damaged,
// newer or failing is refused with nothing changed.
#include "clapTestSupport.h"

namespace {

constexpr std::size_t kVersion1End = 12 + 2381;

class ClapState : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(host.create(library, kStereoId), nullptr);
        presets = host.extension<clapabi::PluginPresetLoad>(clapabi::kExtPresetLoad);
        ASSERT_NE(presets, nullptr);
    }
    void TearDown() override { EXPECT_NO_THREAD_VIOLATIONS(host); }
    // An edited instance: program 7 chosen, then two controls and every instance setting moved.
    std::vector<unsigned char> editedState() {
        EXPECT_TRUE(presets->fromLocation(host.plugin, clapabi::kPresetLocationPlugin, nullptr, "7"));
        flushValues(host, {{kCompression, 8.25}, {kOutput, 4.5}, {kOversampling, 2}, {kMix, 35},
                           {kSidechainFilter, 3}, {kKey, 1}});
        return savedState(host);
    }
    ClapLibrary library;
    TestClapHost host;
    const clapabi::PluginPresetLoad* presets = nullptr;
};

}  // namespace

TEST_F(ClapState, ARoundTripThroughStreamsThatMoveFewBytesRestoresEverything) {
    const std::vector<unsigned char> saved = editedState();
    ASSERT_EQ(saved.size(), kVersion1End + 4 + 4 * 5) << "header, bank file and five settings";
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 4), "KvBS");
    EXPECT_EQ(saved[4], 3) << "the version";
    EXPECT_EQ(saved[8], 7) << "the selected program";
    // A host that writes five bytes a call gets the same bytes.
    ByteStream slow;
    slow.chunk = 5;
    ASSERT_TRUE(stateOf(host).save(host.plugin, &slow.out));
    EXPECT_EQ(slow.bytes, saved);

    // Into a new instance of either plug-in, seven bytes a read.
    for (const char* id : {kStereoId, kMonoId}) {
        TestClapHost other;
        ASSERT_NE(other.create(library, id), nullptr);
        ASSERT_TRUE(loadState(other, saved, 7)) << id;
        EXPECT_EQ(valueOf(other, kCompression), 8.25);
        EXPECT_EQ(valueOf(other, kOutput), 4.5);
        EXPECT_EQ(valueOf(other, kOversampling), 2);
        EXPECT_EQ(valueOf(other, kMix), 35);
        EXPECT_EQ(valueOf(other, kSidechainFilter), 3);
        EXPECT_EQ(valueOf(other, kKey), 1);
        for (clapabi::Id param : {kProcess, kRatio, kTime}) EXPECT_EQ(valueOf(other, param), valueOf(host, param));
        EXPECT_EQ(savedState(other), saved) << id;
        // Loading a project is no edit of it, and the host that loads knows
        // the values changed: the host hears nothing back.
        EXPECT_EQ(other.calls(), std::vector<std::string>{});
        EXPECT_NO_THREAD_VIOLATIONS(other);
    }
}

// A session saved before the instance settings existed (version 1, the bank
// alone) or before all but Oversampling did (version 2, one setting) loads
// with the settings it lacks at their defaults, whatever they were before.
TEST_F(ClapState, AnOlderStateLoadsWithTheSettingsItLacksAtTheirDefaults) {
    const std::vector<unsigned char> current = editedState();
    for (int version : {1, 2}) {
        SCOPED_TRACE("version " + std::to_string(version));
        std::vector<unsigned char> old = current;
        old[4] = static_cast<unsigned char>(version);
        if (version == 1) {
            old.resize(kVersion1End);
        } else {
            old.resize(kVersion1End + 4 + 4);
            old[kVersion1End] = 1;  // the setting count: Oversampling alone
        }
        TestClapHost other;
        ASSERT_NE(other.create(library, kStereoId), nullptr);
        flushValues(other, {{kOversampling, 1}, {kMix, 20}, {kSidechainFilter, 2}, {kKey, 1}});
        ASSERT_TRUE(loadState(other, old, 64));
        EXPECT_EQ(valueOf(other, kOversampling), version == 1 ? 0 : 2);
        EXPECT_EQ(valueOf(other, kMix), 100);
        EXPECT_EQ(valueOf(other, kSidechainFilter), 0);
        EXPECT_EQ(valueOf(other, kKey), 0);
        EXPECT_EQ(valueOf(other, kOutput), 4.5);
        // Saved again, it is the current version with the same bank.
        const std::vector<unsigned char> again = savedState(other);
        ASSERT_EQ(again.size(), current.size());
        EXPECT_EQ(again[4], 3);
        EXPECT_TRUE(std::equal(old.begin() + 8, old.begin() + kVersion1End, again.begin() + 8));
        EXPECT_NO_THREAD_VIOLATIONS(other);
    }
}

TEST_F(ClapState, BadStatesAreRefusedWithNothingChanged) {
    const std::vector<unsigned char> good = editedState();
    TestClapHost fresh;
    ASSERT_NE(fresh.create(library, kStereoId), nullptr);
    const std::vector<unsigned char> before = savedState(fresh);
    fresh.clearCalls();

    auto refused = [&](const std::string& what, ByteStream stream) {
        EXPECT_FALSE(stateOf(fresh).load(fresh.plugin, &stream.in)) << what;
        EXPECT_EQ(savedState(fresh), before) << what;
    };
    auto withBytes = [](std::vector<unsigned char> bytes) {
        ByteStream stream;
        stream.bytes = std::move(bytes);
        return stream;
    };
    refused("empty", withBytes({}));
    refused("one byte short", withBytes({good.begin(), good.end() - 1}));
    refused("header only", withBytes({good.begin(), good.begin() + 12}));
    std::vector<unsigned char> longer = good;
    longer.push_back(0);
    refused("one byte long", withBytes(longer));
    std::vector<unsigned char> bytes = good;
    bytes[0] = 'X';
    refused("another magic", withBytes(bytes));
    bytes = good;
    bytes[4] = 4;
    refused("a newer version", withBytes(bytes));
    bytes = good;
    bytes[kVersion1End] = 65;
    refused("more settings than any version has", withBytes(bytes));
    bytes = good;
    bytes[8] = 33;
    refused("no such program", withBytes(bytes));
    bytes = good;
    bytes[12] ^= 0xFF;
    refused("a damaged bank", withBytes(bytes));
    ByteStream failing = withBytes(good);
    failing.failAfter = 1000;
    failing.chunk = 100;
    refused("a stream failing half-way", failing);
    ByteStream lying = withBytes(good);
    lying.overReport = true;
    refused("a stream claiming more than it gave", lying);
    EXPECT_FALSE(stateOf(fresh).load(fresh.plugin, nullptr));
    clapabi::InputStream noRead{nullptr, nullptr};
    EXPECT_FALSE(stateOf(fresh).load(fresh.plugin, &noRead));
    // Nothing to re-read after a refusal; each is reported to the log.
    EXPECT_EQ(fresh.count("rescan 1"), 0);
    EXPECT_GE(fresh.calls().size(), 10u);
    EXPECT_NO_THREAD_VIOLATIONS(fresh);
}

TEST_F(ClapState, SavingIntoAFailingStreamIsRefused) {
    ByteStream failing;
    failing.failAfter = 100;
    failing.chunk = 50;
    EXPECT_FALSE(stateOf(host).save(host.plugin, &failing.out));
    struct Stuck {
        static std::int64_t write(const clapabi::OutputStream*, const void*, std::uint64_t) { return 0; }
    };
    clapabi::OutputStream stuck{nullptr, Stuck::write};
    EXPECT_FALSE(stateOf(host).save(host.plugin, &stuck)) << "a stream that takes nothing";
    EXPECT_FALSE(stateOf(host).save(host.plugin, nullptr));
}
