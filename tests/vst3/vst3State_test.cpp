// The component state: the whole bank, names and all, the selected program
// and the bypass, restored into a fresh instance; anything damaged, foreign
// or from a later version refused with nothing changed; the controller's
// own state empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "vst3TestHost.h"

using namespace vst3test;

namespace {

// Where the state keeps things: a 12-byte header (magic, version, selected
// slot), the bank file's 5-byte header, 72 bytes a program (name first).
constexpr size_t kVersionAt = 4, kSelectedAt = 8;
size_t nameAt(int slot) { return 12 + 5 + 72 * static_cast<size_t>(slot); }

std::string programName(Instance& plugin, int slot) {
    String128 name{};
    plugin.units->getProgramName(kProgramId, slot, name);
    std::string out;
    for (int i = 0; name[i]; ++i) out.push_back(static_cast<char>(name[i]));
    return out;
}

std::vector<double> controllerValues(Instance& plugin) {
    std::vector<double> values;
    for (ParamID id : {0u, 2u, 4u, 5u, 6u, kBypassId, kProgramId, kOversamplingId, kMixId, kSidechainFilterId, kKeyId})
        values.push_back(plugin.controller->getParamNormalized(id));
    return values;
}

// Slot 14 selected, two controls moved, and every setting off its default.
const std::vector<Change> kEdits = {{kProgramId, 0, 14.0 / 32}, {5, 0, 33.0 / 40}, {2, 0, 1.0},
                                    {kOversamplingId, 0, 0.5}, {kMixId, 0, 0.7},
                                    {kSidechainFilterId, 0, 0.5}, {kKeyId, 0, 1.0}};

// A state with the edits and the bypass on.
std::vector<unsigned char> editedState(Module& module) {
    Instance plugin(module);
    std::vector<Change> edits = kEdits;
    edits.push_back({kBypassId, 0, 1.0});
    plugin.flush(edits);
    return plugin.saveState();
}

// The settings a state's block carries, as saved: the count, then the floats.
constexpr size_t kVersion1Block = 12 + 2381;
std::vector<float> settingsIn(const std::vector<unsigned char>& state) {
    std::int32_t count = 0;
    std::memcpy(&count, state.data() + kVersion1Block, 4);
    std::vector<float> settings(static_cast<size_t>(count));
    std::memcpy(settings.data(), state.data() + kVersion1Block + 4, 4 * settings.size());
    return settings;
}

}  // namespace

TEST(Vst3State, AFreshInstanceGetsTheBankSelectionControlsAndBypass) {
    Module module;
    std::vector<unsigned char> state = editedState(module);
    ASSERT_FALSE(state.empty());
    EXPECT_EQ(state[kSelectedAt], 14);
    // A program renamed in the saved bank, as the editor would have done.
    std::memset(state.data() + nameAt(7), 0, 24);
    std::memcpy(state.data() + nameAt(7), "Renamed Seven", 13);

    Instance fresh(module);
    ASSERT_TRUE(fresh.loadState(state));
    EXPECT_EQ(fresh.saveState(), state);
    EXPECT_EQ(programName(fresh, 7), "Renamed Seven");
    EXPECT_EQ(programName(fresh, 0), "Make it Pump");
    EXPECT_EQ(fresh.controller->getParamNormalized(kProgramId), 14.0 / 32);
    EXPECT_EQ(fresh.controller->getParamNormalized(5), 33.0 / 40);
    EXPECT_EQ(fresh.controller->getParamNormalized(kOversamplingId), 0.5);
    EXPECT_EQ(fresh.controller->getParamNormalized(kMixId), 0.7);
    EXPECT_EQ(fresh.controller->getParamNormalized(kSidechainFilterId), 0.5);
    EXPECT_EQ(fresh.controller->getParamNormalized(kKeyId), 1.0);
    EXPECT_EQ(fresh.controller->getParamNormalized(2), 1.0);
    EXPECT_EQ(fresh.controller->getParamNormalized(kBypassId), 1.0);
    EXPECT_TRUE(fresh.handler.saw("programs 1001 -1"));
    // Restored bypassed: the input passes from the first sample.
    ASSERT_TRUE(fresh.start(48000));
    const Buffers<float> in(2, std::vector<float>(2000, 0.25f));
    EXPECT_EQ(fresh.process(in, {500}), in);
}

TEST(Vst3State, TheSoundComesBackWithTheState) {
    Module module;
    const std::vector<unsigned char> state = editedState(module);
    Buffers<float> in(2, std::vector<float>(20000));
    for (size_t i = 0; i < in[0].size(); ++i) in[0][i] = in[1][i] = static_cast<float>(0.8 * std::sin(i * 0.03));
    // Set by changes, or restored from the state (and the bypass switched
    // off): the same output.
    Instance edited(module);
    ASSERT_TRUE(edited.start(48000));
    const Buffers<float> expected = edited.process(in, {512}, kEdits);
    Instance restored(module);
    ASSERT_TRUE(restored.loadState(state));
    restored.flush({{kBypassId, 0, 0.0}});
    ASSERT_TRUE(restored.start(48000));
    EXPECT_EQ(restored.process(in, {512}), expected);
}

// Projects saved before the settings existed (a version 1 block, none) or
// with Oversampling alone (a version 2 block, a count of 1), before the
// bypass trailer: they load, the settings they lack at their defaults.
TEST(Vst3State, OlderStatesLoadWithTheSettingsTheyLackAtTheirDefaults) {
    Module module;
    const std::vector<unsigned char> now = editedState(module);
    ASSERT_EQ(now.size(), kVersion1Block + 4 + 4 * 5 + 8) << "block, five settings, bypass trailer";
    // The processor's editor strip is always closed: the controller keeps its own.
    ASSERT_EQ(settingsIn(now), (std::vector<float>{0.5f, 0.7f, 0.5f, 1.0f, 0.0f}));
    std::vector<unsigned char> version1 = now, version2 = now;
    version1.erase(version1.begin() + kVersion1Block, version1.end() - 8);
    version1[kVersionAt] = 1;
    version2.erase(version2.begin() + kVersion1Block + 8, version2.end() - 8);
    version2[kVersionAt] = 2;
    version2[kVersion1Block] = 1;
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        const double oversampling = version == 2 ? 0.5 : 0.0;
        Instance plugin(module);
        plugin.flush({{kOversamplingId, 0, 1.0}, {kMixId, 0, 0.3}, {kSidechainFilterId, 0, 1.0}, {kKeyId, 0, 1.0}});
        ASSERT_TRUE(plugin.loadState(version == 1 ? version1 : version2));
        EXPECT_EQ(plugin.controller->getParamNormalized(kOversamplingId), oversampling);
        EXPECT_EQ(plugin.controller->getParamNormalized(kMixId), 1.0);
        EXPECT_EQ(plugin.controller->getParamNormalized(kSidechainFilterId), 0.0);
        EXPECT_EQ(plugin.controller->getParamNormalized(kKeyId), 0.0);
        EXPECT_EQ(plugin.controller->getParamNormalized(5), 33.0 / 40);
        // The processor took the same, and saves the newest version.
        const std::vector<unsigned char> again = plugin.saveState();
        ASSERT_EQ(again.size(), now.size());
        EXPECT_EQ(again[kVersionAt], 3);
        EXPECT_TRUE(std::equal(now.begin() + 8, now.begin() + kVersion1Block, again.begin() + 8));
        EXPECT_EQ(settingsIn(again), (std::vector<float>{static_cast<float>(oversampling), 1.0f, 0.0f, 0.0f, 0.0f}));
    }
}

TEST(Vst3State, DamagedForeignOrLaterStatesAreRefusedWithNothingChanged) {
    Module module;
    const std::vector<unsigned char> good = editedState(module);
    auto changed = [&](size_t at, unsigned char value) {
        std::vector<unsigned char> bytes = good;
        bytes[at] = value;
        return bytes;
    };
    const size_t trailer = good.size() - 8;
    const std::vector<std::vector<unsigned char>> bad = {
        {},
        std::vector<unsigned char>(good.begin(), good.begin() + 11),
        std::vector<unsigned char>(good.begin(), good.begin() + 2000),
        std::vector<unsigned char>(good.begin(), good.end() - 3),
        changed(0, 'X'),                 // not our magic
        changed(kVersionAt, 4),          // a later version
        changed(kVersionAt, 0),
        changed(kSelectedAt, 33),        // no such slot
        changed(13, 'Q'),                // the bank's own magic
        changed(trailer, 'k'),           // the bypass tag
        changed(trailer + 4, 2),         // a bypass that is neither on nor off
        std::vector<unsigned char>(good.size(), 0xA5),
    };
    Instance plugin(module);
    plugin.flush({{kProgramId, 0, 3.0 / 32}, {6, 0, 0.5}});
    const std::vector<unsigned char> before = plugin.saveState();
    const std::vector<double> values = controllerValues(plugin);
    for (size_t i = 0; i < bad.size(); ++i) {
        MemoryStream forComponent(bad[i]), forController(bad[i]);
        EXPECT_EQ(plugin.component->setState(&forComponent), kResultFalse) << i;
        EXPECT_EQ(plugin.controller->setComponentState(&forController), kResultFalse) << i;
        EXPECT_EQ(plugin.saveState(), before) << i;
        EXPECT_EQ(controllerValues(plugin), values) << i;
    }
    EXPECT_EQ(plugin.component->setState(nullptr), kInvalidArgument);
    EXPECT_EQ(plugin.controller->setComponentState(nullptr), kInvalidArgument);
    // A block saved without the bypass is the plug-in's own and loads.
    EXPECT_TRUE(plugin.loadState(std::vector<unsigned char>(good.begin(), good.end() - 8)));
    EXPECT_EQ(plugin.controller->getParamNormalized(kBypassId), 0.0);
}

TEST(Vst3State, ShortReadsOtherDataBeforeOursAndFullStreams) {
    Module module;
    const std::vector<unsigned char> good = editedState(module);
    Instance plugin(module);
    // A stream that hands out 7 bytes a call, and one where the host's own
    // data comes first.
    MemoryStream trickle(good);
    trickle.readLimit = 7;
    EXPECT_EQ(plugin.component->setState(&trickle), kResultOk);
    std::vector<unsigned char> prefixed = {'h', 'o', 's', 't'};
    prefixed.insert(prefixed.end(), good.begin(), good.end());
    MemoryStream afterHostData(prefixed);
    afterHostData.position = 4;
    EXPECT_EQ(plugin.controller->setComponentState(&afterHostData), kResultOk);
    EXPECT_EQ(plugin.controller->getParamNormalized(kProgramId), 14.0 / 32);
    // Saving appends at the stream's position.
    MemoryStream saved(std::vector<unsigned char>{1, 2, 3});
    saved.position = 3;
    ASSERT_EQ(plugin.component->getState(&saved), kResultOk);
    EXPECT_EQ(std::vector<unsigned char>(saved.bytes.begin() + 3, saved.bytes.end()), good);
    MemoryStream full;
    full.refuseWrites = true;
    EXPECT_EQ(plugin.component->getState(&full), kResultFalse);
}

// The controller's state is the editor's strip alone: it comes back after a
// component state, and sessions saved before it (an empty state) or damaged
// ones open the strip closed and change no control.
TEST(Vst3State, TheControllerStateHoldsTheEditorStripAndNothingElse) {
    Module module;
    Instance plugin(module);
    plugin.flush({{5, 0, 0.75}});
    const std::vector<unsigned char> open = {'K', 'v', 'B', 'E', 1}, closed = {'K', 'v', 'B', 'E', 0};
    MemoryStream saved;
    EXPECT_EQ(plugin.controller->getState(&saved), kResultOk);
    EXPECT_EQ(saved.bytes, closed);
    MemoryStream opened(open);
    EXPECT_EQ(plugin.controller->setState(&opened), kResultOk);
    MemoryStream component;
    ASSERT_EQ(plugin.component->getState(&component), kResultOk);
    component.position = 0;
    EXPECT_EQ(plugin.controller->setComponentState(&component), kResultOk);
    const std::vector<double> values = controllerValues(plugin);
    MemoryStream again;
    EXPECT_EQ(plugin.controller->getState(&again), kResultOk);
    EXPECT_EQ(again.bytes, open);
    EXPECT_EQ(controllerValues(plugin), values);
    for (const std::vector<unsigned char>& bytes :
         {std::vector<unsigned char>{}, std::vector<unsigned char>(300, 0x5A), std::vector<unsigned char>{'K', 'v', 'B', 'E'}}) {
        MemoryStream damaged(bytes);
        EXPECT_EQ(plugin.controller->setState(&damaged), kResultOk);
        MemoryStream after;
        EXPECT_EQ(plugin.controller->getState(&after), kResultOk);
        EXPECT_EQ(after.bytes, closed) << bytes.size() << " bytes";
        EXPECT_EQ(controllerValues(plugin), values);
    }
}
