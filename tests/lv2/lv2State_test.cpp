// The bank saved with a host's session and restored into a new instance, the
// factory presets as hosts load them, and every kind of bad host input.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <lv2/atom/atom.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>

#include <cstring>
#include <limits>
#include <map>

#include "formats/vst2/CPresetSystemEffect.h"
#include "formats/lv2/lv2Instance.h"
#include "formats/lv2/lv2State.h"
#include "lv2Reference.h"

namespace {

// The instance's bank behind a handle: the tests reach it the way a UI with
// instance access does.
ProgramBank& bankOf(Lv2TestInstance& lv2) {
    return static_cast<Lv2Instance*>(lv2.handle())->compressor.bank();
}

std::string programName(ProgramBank& bank, int slot) {
    char name[kProgramNameLength + 1];
    bank.getBankProgram(slot)->getName(name);
    return name;
}

// A saved state as a host hands it back: properties by key.
struct FakeState {
    struct Property {
        std::vector<unsigned char> bytes;
        uint32_t type;
    };
    std::map<uint32_t, Property> properties;
    static const void* retrieve(LV2_State_Handle handle, uint32_t key, size_t* size,
                                uint32_t* type, uint32_t* flags) {
        auto& props = static_cast<FakeState*>(handle)->properties;
        auto found = props.find(key);
        if (found == props.end()) return nullptr;
        *size = found->second.bytes.size();
        *type = found->second.type;
        *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
        return found->second.bytes.data();
    }
};

std::vector<unsigned char> intBytes(int32_t value) {
    std::vector<unsigned char> bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

}  // namespace

TEST(Lv2State, ASessionKeepsTheRenamedAndEditedBank) {
    Lv2World world;
    Lv2TestInstance first(world, lv2ports::kStereoUri, 48000);
    ASSERT_TRUE(first.valid());
    bankOf(first).selectPreset(12);  // "Hats Smasher"
    bankOf(first).renamePreset("Drum Bus Smash");
    // The editor's strip, opened in a UI with instance access.
    static_cast<Lv2Instance*>(first.handle())->compressor.parameters().set(kEditorStripParameter, 1.0f);
    first.set("compression", 7.5f);
    first.set("ratio", 1);
    // A run of no frames takes the ports in without moving the engine on.
    lilv_instance_run(first.instance, 0);

    // Through the text a session file holds, as hosts save it.
    LilvState* saved = first.saveState();
    ASSERT_NE(saved, nullptr);
    char* text = lilv_state_to_string(world.world, world.urids.map(), world.urids.unmap(), saved,
                                      "urn:kvbr:test-state", nullptr);
    ASSERT_NE(text, nullptr);
    LilvState* loaded = lilv_state_new_from_string(world.world, world.urids.map(), text);
    ASSERT_NE(loaded, nullptr);

    Lv2TestInstance second(world, lv2ports::kStereoUri, 48000);
    second.restoreState(loaded);
    ProgramBank& restored = bankOf(second);
    EXPECT_EQ(restored.getCurrentPreset(), 12);
    EXPECT_EQ(programName(restored, 12), "Drum Bus Smash");
    EXPECT_EQ(programName(restored, 0), "Drum Bus Smash");
    EXPECT_EQ(second.get("compression"), 7.5f);
    EXPECT_EQ(restored.getBankProgram(12)->getParam(5), controls::normalisedOfStep(controls::kControls[3], 30));
    EXPECT_EQ(restored.saveBank(), bankOf(first).saveBank());
    EXPECT_EQ(static_cast<Lv2Instance*>(second.handle())->compressor.parameters().get(kEditorStripParameter), 1.0f);
    // And it sounds the same.
    const Channels in = testSignal(2, 4800);
    EXPECT_TRUE(sameSamples(second.process(in, {512}), first.process(in, {512})));

    lilv_free(text);
    lilv_state_free(saved);
    lilv_state_free(loaded);
}

TEST(Lv2State, DamagedStatesLeaveTheFactoryBank) {
    Lv2World world;
    Lv2TestInstance donor(world, lv2ports::kStereoUri, 48000), target(world, lv2ports::kStereoUri, 48000);
    bankOf(donor).selectPreset(3);
    bankOf(donor).renamePreset("Changed");
    const auto bank = bankOf(donor).saveBank();
    const auto factory = bankOf(target).saveBank();
    LV2_URID_Map* map = world.urids.map();
    auto id = [&](const char* uri) { return map->map(map->handle, uri); };
    const uint32_t chunk = id(LV2_ATOM__Chunk), atomInt = id(LV2_ATOM__Int);
    const uint32_t bankKey = id(lv2State::kBankUri), selectedKey = id(lv2State::kSelectedProgramUri),
                   versionKey = id(lv2State::kStateVersionUri);

    auto complete = [&] {
        FakeState s;
        s.properties[bankKey] = {{bank.begin(), bank.end()}, chunk};
        s.properties[selectedKey] = {intBytes(3), atomInt};
        s.properties[versionKey] = {intBytes(1), atomInt};
        return s;
    };
    std::vector<std::pair<const char*, FakeState>> cases;
    cases.push_back({"empty", FakeState{}});
    cases.push_back({"no bank", complete()});
    cases.back().second.properties.erase(bankKey);
    cases.push_back({"short bank", complete()});
    cases.back().second.properties[bankKey].bytes.resize(2000);
    cases.push_back({"bank of another type", complete()});
    cases.back().second.properties[bankKey].type = atomInt;
    cases.push_back({"damaged bank", complete()});
    cases.back().second.properties[bankKey].bytes[1] = 'X';
    cases.push_back({"future version", complete()});
    cases.back().second.properties[versionKey] = {intBytes(2), atomInt};
    cases.push_back({"no version", complete()});
    cases.back().second.properties.erase(versionKey);
    cases.push_back({"selection out of range", complete()});
    cases.back().second.properties[selectedKey] = {intBytes(33), atomInt};
    cases.push_back({"selection of 8 bytes", complete()});
    cases.back().second.properties[selectedKey] = {std::vector<unsigned char>(8), atomInt};

    const auto* state = static_cast<const LV2_State_Interface*>(target.extension(LV2_STATE__interface));
    ASSERT_NE(state, nullptr);
    for (auto& [what, fake] : cases) {
        EXPECT_NE(state->restore(target.handle(), FakeState::retrieve, &fake, 0, nullptr),
                  LV2_STATE_SUCCESS)
            << what;
        EXPECT_EQ(bankOf(target).saveBank(), factory) << what;
    }
    FakeState good = complete();
    Parameters& settings = static_cast<Lv2Instance*>(target.handle())->compressor.parameters();
    settings.set(kEditorStripParameter, 1.0f);
    EXPECT_EQ(state->restore(target.handle(), FakeState::retrieve, &good, 0, nullptr), LV2_STATE_SUCCESS);
    EXPECT_EQ(settings.get(kEditorStripParameter), 0.0f) << "a session saved before the strip opens it closed";
    EXPECT_EQ(programName(bankOf(target), 3), "Changed");
}

TEST(Lv2Presets, EachFactoryPresetSoundsAsItsProgramInTheVstPlugin) {
    Lv2World world;
    const LilvPlugin* plugin = world.plugin(lv2ports::kStereoUri);
    ASSERT_NE(plugin, nullptr);
    LilvNode* presetClass = lilv_new_uri(world.world, LV2_PRESETS__Preset);
    LilvNodes* presets = lilv_plugin_get_related(plugin, presetClass);
    EXPECT_EQ(lilv_nodes_size(presets), 32u);
    const Channels in = testSignal(2, 9600);
    int checked = 0;
    LILV_FOREACH (nodes, i, presets) {
        const LilvNode* node = lilv_nodes_get(presets, i);
        const std::string uri = lilv_node_as_uri(node);
        const int slot = std::stoi(uri.substr(uri.rfind("preset") + 6));
        lilv_world_load_resource(world.world, node);
        LilvState* preset = lilv_state_new_from_world(world.world, world.urids.map(), node);
        ASSERT_NE(preset, nullptr) << uri;
        Lv2TestInstance lv2(world, lv2ports::kStereoUri, 48000);
        lv2.restoreState(preset);
        VstReference vst(48000, false);
        auto* effect = static_cast<CPresetSystemEffect*>(vst2::AudioEffect::fromAeffect(vst.host.effect));
        effect->selectPreset(slot);
        EXPECT_EQ(lilv_state_get_label(preset), programName(effect->bank(), slot));
        EXPECT_TRUE(sameSamples(lv2.process(in, {512}), vst.process(in))) << uri;
        lilv_state_free(preset);
        ++checked;
    }
    EXPECT_EQ(checked, 32);
    lilv_nodes_free(presets);
    lilv_node_free(presetClass);
}

TEST(Lv2BadHost, NoFeaturesNoBuffersUnknownPluginsAndNoMap) {
    Lv2World world;
    Lv2TestInstance lv2(world, lv2ports::kStereoUri, 48000, false);
    ASSERT_TRUE(lv2.valid());
    const LV2_Descriptor* descriptor = lilv_instance_get_descriptor(lv2.instance);
    // A null feature list.
    LV2_Handle bare = descriptor->instantiate(descriptor, 44100, KVBR_LV2_BUNDLE "/", nullptr);
    ASSERT_NE(bare, nullptr);
    // Nothing connected at all: run does nothing and survives.
    descriptor->activate(bare);
    descriptor->run(bare, 512);
    // Audio without controls: the controls' defaults apply.
    const Channels in = testSignal(2, 2048);
    Channels out(2, std::vector<float>(2048, 7.0f));
    float* ins[2] = {const_cast<float*>(in[0].data()), const_cast<float*>(in[1].data())};
    for (uint32_t p = 0; p < 4; ++p) descriptor->connect_port(bare, p, p < 2 ? ins[p] : out[p - 2].data());
    descriptor->connect_port(bare, 1000, out[0].data());  // no such port: ignored
    descriptor->run(bare, 2048);
    VstReference vst(44100, false);
    EXPECT_TRUE(sameSamples(out, vst.process(in)));
    // One input missing: nothing to process, the outputs are silent.
    descriptor->connect_port(bare, 1, nullptr);
    descriptor->run(bare, 2048);
    for (const auto& channel : out)
        for (float x : channel) ASSERT_EQ(x, 0.0f);
    // Without urid:map there is no state to save or restore, and no crash.
    const auto* state = static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
    ASSERT_NE(state, nullptr);
    FakeState empty;
    EXPECT_EQ(state->restore(bare, FakeState::retrieve, &empty, 0, nullptr), LV2_STATE_ERR_NO_FEATURE);
    EXPECT_EQ(descriptor->extension_data("urn:kvbr:no-such-extension"), nullptr);
    descriptor->deactivate(bare);
    descriptor->cleanup(bare);

    // The library offers exactly the two plug-ins.
    void* library = dlopen(KVBR_LV2_BUNDLE "/korvane-brassel-dsp.so", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr);
    auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(library, "lv2_descriptor"));
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry(0)->URI, lv2ports::kStereoUri);
    EXPECT_STREQ(entry(1)->URI, lv2ports::kMonoUri);
    EXPECT_EQ(entry(2), nullptr);
    EXPECT_EQ(entry(UINT32_MAX), nullptr);
    dlclose(library);
    LilvNode* unknown = lilv_new_uri(world.world, "https://korvane.com/plugins/brassel#quad");
    EXPECT_EQ(lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world.world), unknown), nullptr);
    lilv_node_free(unknown);
}

// lv2info does not print units or steps; lilv reads them for the hosts that do.
TEST(Lv2Description, UnitsStepsAndFeaturesAsHostsReadThem) {
    Lv2World world;
    LilvWorld* w = world.world;
    LilvNode* unit = lilv_new_uri(w, "http://lv2plug.in/ns/extensions/units#unit");
    LilvNode* db = lilv_new_uri(w, "http://lv2plug.in/ns/extensions/units#db");
    LilvNode* rangeSteps = lilv_new_uri(w, "http://lv2plug.in/ns/ext/port-props#rangeSteps");
    LilvNode* inPlaceBroken = lilv_new_uri(w, LV2_CORE__inPlaceBroken);
    LilvNode* hardRT = lilv_new_uri(w, LV2_CORE__hardRTCapable);
    LilvNode* sideChain = lilv_new_uri(w, LV2_CORE_PREFIX "isSideChain");
    LilvNode* optional = lilv_new_uri(w, LV2_CORE__connectionOptional);
    for (const char* uri : {lv2ports::kStereoUri, lv2ports::kMonoUri}) {
        const LilvPlugin* plugin = world.plugin(uri);
        ASSERT_NE(plugin, nullptr);
        const std::map<std::string, std::pair<bool, int>> expected = {
            {"process", {false, 0}}, {"ratio", {false, 0}},         {"time", {false, 21}},
            {"compression", {false, 41}}, {"output", {true, 61}}, {"gain_reduction", {true, 0}},
            {"oversampling", {false, 0}}, {"mix", {false, 101}}, {"sidechain_filter", {false, 0}},
            {"key", {false, 0}}};
        for (const auto& [symbol, want] : expected) {
            LilvNode* sym = lilv_new_string(w, symbol.c_str());
            const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin, sym);
            lilv_node_free(sym);
            ASSERT_NE(port, nullptr) << symbol;
            LilvNodes* units = lilv_port_get_value(plugin, port, unit);
            EXPECT_EQ(units && lilv_nodes_contains(units, db), want.first) << uri << " " << symbol;
            lilv_nodes_free(units);
            LilvNodes* steps = lilv_port_get_value(plugin, port, rangeSteps);
            EXPECT_EQ(steps ? lilv_node_as_int(lilv_nodes_get_first(steps)) : 0, want.second) << symbol;
            lilv_nodes_free(steps);
        }
        EXPECT_FALSE(lilv_plugin_has_feature(plugin, inPlaceBroken));
        EXPECT_TRUE(lilv_plugin_has_feature(plugin, hardRT));
        const bool stereo = std::string(uri) == lv2ports::kStereoUri;
        EXPECT_EQ(lilv_plugin_get_num_ports(plugin), stereo ? 16u : 13u);
        // The key inputs come last, and a host may leave them unconnected.
        for (const char* symbol : stereo ? std::vector<const char*>{"key_left", "key_right"}
                                         : std::vector<const char*>{"key_in"}) {
            LilvNode* sym = lilv_new_string(w, symbol);
            const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin, sym);
            lilv_node_free(sym);
            ASSERT_NE(port, nullptr) << symbol;
            EXPECT_GE(lilv_port_get_index(plugin, port), stereo ? 14u : 12u);
            EXPECT_TRUE(lilv_port_has_property(plugin, port, sideChain)) << symbol;
            EXPECT_TRUE(lilv_port_has_property(plugin, port, optional)) << symbol;
        }
    }
    for (LilvNode* n : {unit, db, rangeSteps, inPlaceBroken, hardRT, sideChain, optional}) lilv_node_free(n);
}
