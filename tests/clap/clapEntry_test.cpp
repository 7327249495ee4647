// What a host sees while it scans: the entry, the factories, the two
// plug-ins' descriptors and ports, and refusals of what it may not ask.
#include <cstring>

#include "clapTestSupport.h"
#include "kvbrVersion.h"

namespace {

std::vector<std::string> featuresOf(const clapabi::PluginDescriptor& d) {
    std::vector<std::string> out;
    for (const char* const* f = d.features; f && *f; ++f) out.push_back(*f);
    return out;
}

}  // namespace

TEST(ClapEntry, InitAndDeinitAreCountedAcrossLoadsAndReloads) {
    ClapLibrary library;
    ASSERT_TRUE(library.valid()) << library.error;
    const clapabi::PluginEntry& entry = *library.entry;
    EXPECT_EQ(entry.clapVersion.major, 1u);
    EXPECT_EQ(entry.clapVersion.minor, 2u);
    // A second user in the same process (a wrapper), then it leaves again.
    ASSERT_TRUE(entry.init("second user"));
    entry.deinit();
    EXPECT_NE(library.pluginFactory(), nullptr) << "the first user's init still holds";
    // The last deinit, a stray one, then a reload.
    entry.deinit();
    EXPECT_EQ(entry.getFactory(clapabi::kPluginFactoryId), nullptr);
    entry.deinit();
    ASSERT_TRUE(entry.init(nullptr));
    EXPECT_NE(library.pluginFactory(), nullptr);
    EXPECT_EQ(entry.getFactory("clap.no-such-factory"), nullptr);
    EXPECT_EQ(entry.getFactory(nullptr), nullptr);
    EXPECT_NE(entry.getFactory(clapabi::kPresetDiscoveryFactoryIdCompat), nullptr);
}

TEST(ClapEntry, TheFactoryOffersTheStereoAndTheMonoPlugin) {
    ClapLibrary library;
    const clapabi::PluginFactory* factory = library.pluginFactory();
    ASSERT_NE(factory, nullptr);
    ASSERT_EQ(factory->getPluginCount(factory), 2u);
    EXPECT_EQ(factory->getPluginDescriptor(factory, 2), nullptr);
    EXPECT_EQ(factory->getPluginDescriptor(factory, 0xFFFFFFFFu), nullptr);
    const struct {
        const char* id;
        const char* name;
        const char* layout;
    } expected[] = {{kStereoId, "Korvane Brassel", "stereo"}, {kMonoId, "Korvane Brassel Mono", "mono"}};
    for (std::uint32_t i = 0; i < 2; ++i) {
        const clapabi::PluginDescriptor& d = *factory->getPluginDescriptor(factory, i);
        EXPECT_EQ(d.clapVersion.major, 1u);
        EXPECT_STREQ(d.id, expected[i].id);
        EXPECT_STREQ(d.name, expected[i].name);
        EXPECT_STREQ(d.vendor, "Korvane");
        EXPECT_STREQ(d.url, "https://korvane.com/");
        EXPECT_STREQ(d.version, KVBR_VERSION);
        ASSERT_NE(d.manualUrl, nullptr);
        ASSERT_NE(d.supportUrl, nullptr);
        ASSERT_NE(d.description, nullptr);
        EXPECT_EQ(featuresOf(d), (std::vector<std::string>{"audio-effect", "compressor", expected[i].layout}));
    }
}

TEST(ClapEntry, EachPluginHasAMainPortEachWayAndASidechainInput) {
    ClapLibrary library;
    for (const auto& [id, channels] : {std::pair{kStereoId, 2u}, std::pair{kMonoId, 1u}}) {
        TestClapHost host;
        ASSERT_NE(host.create(library, id), nullptr) << id;
        const auto* ports = host.extension<clapabi::PluginAudioPorts>(clapabi::kExtAudioPorts);
        ASSERT_NE(ports, nullptr);
        const struct {
            bool input;
            std::uint32_t index;
            const char* name;
            bool main;
            clapabi::Id inPlacePair;
        } expected[] = {{true, 0, "Main In", true, 0},
                        {true, 1, "Sidechain", false, clapabi::kInvalidId},
                        {false, 0, "Main Out", true, 0}};
        EXPECT_EQ(ports->count(host.plugin, true), 2u);
        EXPECT_EQ(ports->count(host.plugin, false), 1u);
        for (const auto& port : expected) {
            SCOPED_TRACE(std::string(id) + " " + port.name);
            clapabi::AudioPortInfo info;
            std::memset(&info, 0x55, sizeof info);
            ASSERT_TRUE(ports->get(host.plugin, port.index, port.input, &info));
            EXPECT_EQ(info.id, port.index);
            EXPECT_STREQ(info.name, port.name);
            EXPECT_EQ((info.flags & clapabi::kAudioPortIsMain) != 0, port.main);
            // Every port in the main input's width, whichever the host picks.
            EXPECT_TRUE(info.flags & clapabi::kAudioPortSupports64Bits);
            EXPECT_TRUE(info.flags & clapabi::kAudioPortRequiresCommonSampleSize);
            EXPECT_EQ(info.channelCount, channels);
            EXPECT_STREQ(info.portType, channels == 2 ? "stereo" : "mono");
            EXPECT_EQ(info.inPlacePair, port.inPlacePair);
            EXPECT_FALSE(ports->get(host.plugin, port.index, port.input, nullptr));
        }
        clapabi::AudioPortInfo info;
        EXPECT_FALSE(ports->get(host.plugin, 2, true, &info));
        EXPECT_FALSE(ports->get(host.plugin, 1, false, &info));
        EXPECT_NO_THREAD_VIOLATIONS(host);
    }
}

TEST(ClapEntry, CreateRefusesUnknownIdsNullHostsAndOldHosts) {
    ClapLibrary library;
    const clapabi::PluginFactory* factory = library.pluginFactory();
    TestClapHost host;
    EXPECT_EQ(factory->createPlugin(factory, host.record(), "com.korvane.brassel.quad"), nullptr);
    EXPECT_EQ(factory->createPlugin(factory, host.record(), nullptr), nullptr);
    EXPECT_EQ(factory->createPlugin(factory, nullptr, kStereoId), nullptr);
    clapabi::Host development = *host.record();
    development.clapVersion = {0, 9, 9};
    EXPECT_EQ(factory->createPlugin(factory, &development, kStereoId), nullptr);
    // Version 1.0 is enough.
    clapabi::Host first = *host.record();
    first.clapVersion = {1, 0, 0};
    const clapabi::Plugin* plugin = factory->createPlugin(factory, &first, kStereoId);
    ASSERT_NE(plugin, nullptr);
    plugin->destroy(plugin);
    EXPECT_NO_THREAD_VIOLATIONS(host);
}

TEST(ClapEntry, UnknownExtensionsAreNullAndOnlyTheNativeEditorIsOffered) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    for (const char* id : {"clap.note-ports", "clap.latency", "clap.render", "clap.audio-ports-config",
                           "clap.state-context/2", "", "clap.params "})
        EXPECT_EQ(host.plugin->getExtension(host.plugin, id), nullptr) << id;
    EXPECT_EQ(host.plugin->getExtension(host.plugin, nullptr), nullptr);
    EXPECT_EQ(host.plugin->getExtension(host.plugin, clapabi::kExtPresetLoad),
              host.plugin->getExtension(host.plugin, clapabi::kExtPresetLoadCompat));
    const auto* gui = host.extension<clapabi::PluginGui>(clapabi::kExtGui);
    ASSERT_NE(gui, nullptr);
#if defined(_WIN32)
    const char* native = "win32";
    const char* foreign = "x11";
#else
    const char* native = "x11";
    const char* foreign = "win32";
#endif
    EXPECT_TRUE(gui->isApiSupported(host.plugin, native, false));
    EXPECT_FALSE(gui->isApiSupported(host.plugin, native, true));
    EXPECT_FALSE(gui->isApiSupported(host.plugin, foreign, false));
    EXPECT_FALSE(gui->isApiSupported(host.plugin, "wayland", false));
    EXPECT_FALSE(gui->isApiSupported(host.plugin, "cocoa", false));
    EXPECT_FALSE(gui->isApiSupported(host.plugin, nullptr, false));
    const char* api = nullptr;
    bool floating = true;
    ASSERT_TRUE(gui->getPreferredApi(host.plugin, &api, &floating));
    EXPECT_STREQ(api, native);
    EXPECT_FALSE(floating);
    EXPECT_FALSE(gui->canResize(host.plugin));
    EXPECT_NO_THREAD_VIOLATIONS(host);
}

TEST(ClapEntry, TheTestHostsThreadCheckTellsTheTruth) {
    // What every suite's thread-rule check relies on.
    TestClapHost host;
    const auto* check = static_cast<const clapabi::HostThreadCheck*>(
        host.record()->getExtension(host.record(), clapabi::kExtThreadCheck));
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->isMainThread(host.record()));
    EXPECT_FALSE(check->isAudioThread(host.record()));
    bool main = true, audio = false;
    host.audio.run([&] {
        main = check->isMainThread(host.record());
        audio = check->isAudioThread(host.record());
    });
    EXPECT_FALSE(main);
    EXPECT_TRUE(audio);
    // A main-thread call from the audio thread is caught.
    const auto* params = static_cast<const clapabi::HostParams*>(
        host.record()->getExtension(host.record(), clapabi::kExtParams));
    host.audio.run([&] { params->rescan(host.record(), clapabi::kParamRescanValues); });
    EXPECT_EQ(host.violations().size(), 3u) << "two extensions asked for before init, one rescan";
}
