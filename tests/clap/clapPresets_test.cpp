// The factory programs in a host's preset browser: the discovery factory's
// provider lists programs 1 to 32 by name without an instance, and loading
// one selects that program of the instance's bank.
#include "clapTestSupport.h"
#include <span>

#include "core/controls.h"
#include "core/programs/CProgram.h"
#include "core/programs/factoryPresets.h"

namespace {

// The indexer and receiver a host hands the provider; records what it hears.
struct Indexer {
    clapabi::PresetIndexer record{};
    std::vector<clapabi::PresetLocation> locations;
    std::vector<std::string> locationNames;
    Indexer() {
        record.clapVersion = clapabi::kVersion;
        record.name = "test indexer";
        record.vendor = record.url = record.version = "";
        record.indexerData = this;
        record.declareFiletype = [](const clapabi::PresetIndexer*, const void*) { return true; };
        record.declareSoundpack = [](const clapabi::PresetIndexer*, const void*) { return true; };
        record.getExtension = [](const clapabi::PresetIndexer*, const char*) -> const void* { return nullptr; };
        record.declareLocation = [](const clapabi::PresetIndexer* i, const clapabi::PresetLocation* l) {
            auto* self = static_cast<Indexer*>(i->indexerData);
            self->locations.push_back(*l);
            self->locationNames.push_back(l->name ? l->name : "");
            return true;
        };
    }
};

struct Preset {
    std::string name, key;
    std::vector<std::string> plugins;
    std::uint32_t flags = 0;
};

struct Receiver {
    clapabi::PresetMetadataReceiver record{};
    std::vector<Preset> presets;
    std::size_t stopAfter = 1000;
    Receiver() {
        record.receiverData = this;
        record.onError = [](const clapabi::PresetMetadataReceiver*, std::int32_t, const char*) {};
        record.beginPreset = [](const clapabi::PresetMetadataReceiver* r, const char* name, const char* key) {
            auto* self = static_cast<Receiver*>(r->receiverData);
            if (self->presets.size() >= self->stopAfter) return false;
            self->presets.push_back({name, key, {}, 0});
            return true;
        };
        record.addPluginId = [](const clapabi::PresetMetadataReceiver* r, const clapabi::UniversalPluginId* id) {
            static_cast<Receiver*>(r->receiverData)->presets.back().plugins.push_back(std::string(id->abi) + ":" + id->id);
        };
        record.setFlags = [](const clapabi::PresetMetadataReceiver* r, std::uint32_t flags) {
            static_cast<Receiver*>(r->receiverData)->presets.back().flags = flags;
        };
        record.setSoundpackId = [](const clapabi::PresetMetadataReceiver*, const char*) {};
        record.addCreator = [](const clapabi::PresetMetadataReceiver*, const char*) {};
        record.setDescription = [](const clapabi::PresetMetadataReceiver*, const char*) {};
        record.setTimestamps = [](const clapabi::PresetMetadataReceiver*, clapabi::Timestamp, clapabi::Timestamp) {};
        record.addFeature = [](const clapabi::PresetMetadataReceiver*, const char*) {};
        record.addExtraInfo = [](const clapabi::PresetMetadataReceiver*, const char*, const char*) {};
    }
};

std::string factoryName(int slot) {
    CProgram program;
    writeFactoryPreset(slot, program);
    char name[kProgramNameLength + 1];
    program.getName(name);
    return name;
}

}  // namespace

TEST(ClapPresets, TheProviderListsTheThirtyTwoFactoryPrograms) {
    ClapLibrary library;
    const clapabi::PresetDiscoveryFactory* factory = library.presetFactory();
    ASSERT_NE(factory, nullptr);
    ASSERT_EQ(factory->count(factory), 1u);
    const clapabi::PresetProviderDescriptor* d = factory->getDescriptor(factory, 0);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(factory->getDescriptor(factory, 1), nullptr);
    EXPECT_STREQ(d->vendor, "Korvane");
    Indexer indexer;
    EXPECT_EQ(factory->create(factory, &indexer.record, "com.korvane.other"), nullptr);
    EXPECT_EQ(factory->create(factory, nullptr, d->id), nullptr);
    const clapabi::PresetProvider* provider = factory->create(factory, &indexer.record, d->id);
    ASSERT_NE(provider, nullptr);
    ASSERT_TRUE(provider->init(provider));
    // One location: inside the plug-in, factory content.
    ASSERT_EQ(indexer.locations.size(), 1u);
    EXPECT_EQ(indexer.locations[0].kind, clapabi::kPresetLocationPlugin);
    EXPECT_EQ(indexer.locations[0].location, nullptr);
    EXPECT_EQ(indexer.locations[0].flags, clapabi::kPresetIsFactoryContent);

    Receiver receiver;
    ASSERT_TRUE(provider->getMetadata(provider, clapabi::kPresetLocationPlugin, nullptr, &receiver.record));
    ASSERT_EQ(receiver.presets.size(), 32u);
    EXPECT_EQ(receiver.presets[0].name, "Default");
    EXPECT_EQ(receiver.presets[1].name, "CompressLite1");
    for (int slot = 1; slot <= 32; ++slot) {
        const Preset& p = receiver.presets[static_cast<std::size_t>(slot - 1)];
        EXPECT_EQ(p.name, factoryName(slot));
        EXPECT_EQ(p.key, std::to_string(slot));
        EXPECT_EQ(p.plugins, (std::vector<std::string>{"clap:com.korvane.brassel", "clap:com.korvane.brassel.mono"}));
        EXPECT_EQ(p.flags, clapabi::kPresetIsFactoryContent);
    }
    // A host that has seen enough stops the listing; other locations have nothing.
    Receiver impatient;
    impatient.stopAfter = 3;
    EXPECT_TRUE(provider->getMetadata(provider, clapabi::kPresetLocationPlugin, nullptr, &impatient.record));
    EXPECT_EQ(impatient.presets.size(), 3u);
    Receiver other;
    EXPECT_FALSE(provider->getMetadata(provider, clapabi::kPresetLocationFile, "/tmp/x.kvp", &other.record));
    EXPECT_FALSE(provider->getMetadata(provider, clapabi::kPresetLocationPlugin, nullptr, nullptr));
    EXPECT_TRUE(other.presets.empty());
    provider->destroy(provider);
}

TEST(ClapPresets, LoadingAProgramSelectsItInTheInstancesBank) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    const auto* load = host.extension<clapabi::PluginPresetLoad>(clapabi::kExtPresetLoad);
    ASSERT_NE(load, nullptr);
    for (int slot : {12, 1, 32}) {
        // Active, the values are there at once all the same: this host never processes.
        if (slot == 32) {
            ASSERT_TRUE(host.activate(48000));
        }
        host.clearCalls();
        const std::string key = std::to_string(slot);
        ASSERT_TRUE(load->fromLocation(host.plugin, clapabi::kPresetLocationPlugin, nullptr, key.c_str()));
        CProgram program;
        writeFactoryPreset(slot, program);
        for (const controls::Control& c : std::span(controls::kControls).first(controls::kProgramCount))
            EXPECT_EQ(valueOf(host, static_cast<clapabi::Id>(c.hostId)),
                      controls::valueOfStep(c, controls::stepOfNormalised(c, program.getParam(c.parameter))))
                << c.name << " of program " << slot;
        EXPECT_EQ(savedState(host)[8], slot);
        // Not automation: one rescan of the values, the project edited, the browser told.
        EXPECT_EQ(host.calls(), (std::vector<std::string>{"rescan 1", "mark_dirty", "loaded 1 " + key}));
    }
    const std::vector<unsigned char> before = savedState(host);
    for (const char* key : {"0", "33", "-1", "7a", "", "007"}) {
        host.clearCalls();
        EXPECT_FALSE(load->fromLocation(host.plugin, clapabi::kPresetLocationPlugin, nullptr, key)) << key;
        EXPECT_EQ(host.calls(), std::vector<std::string>{std::string("error 1 ") + key}) << key;
    }
    EXPECT_FALSE(load->fromLocation(host.plugin, clapabi::kPresetLocationPlugin, nullptr, nullptr));
    EXPECT_FALSE(load->fromLocation(host.plugin, clapabi::kPresetLocationFile, "/tmp/a.kvp", "3"));
    EXPECT_EQ(savedState(host), before);
    EXPECT_NO_THREAD_VIOLATIONS(host);
}
