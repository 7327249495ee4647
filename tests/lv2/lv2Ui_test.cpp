// The LV2 UI in a real X server, hosted the way suil-based hosts do it: the
// UI object loaded with dlopen, given the host's window, instance access (or
// not), touch and resize, idled by the host, its port writes taken into the
// plug-in's ports, and every picture compared with the headless rendering.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <poll.h>

#include <cmath>
#include <cstdio>
#include <functional>

#include "formats/lv2/lv2Instance.h"
#include "lv2Reference.h"
#include "platform/linux/childProcess.h"
#include "platform/linux/testing/x11Driver.h"

using platform::linux_backend::testing::Pixels;
using platform::linux_backend::testing::X11Driver;

namespace {

constexpr int kTopX = 60, kTopY = 50, kPanelX = 41, kPanelY = 27;
const lv2ports::Layout& kLayout = lv2ports::kStereoLayout;

void sleepMs(int ms) { poll(nullptr, 0, ms); }
int portOf(const char* symbol) {
    for (int c = 0; c < controls::kCount; ++c)
        if (std::string(controls::kControls[c].symbol) == symbol) return kLayout.controlPort(c);
    return kLayout.gainReduction();
}
std::string shotPath(const std::string& name) {
    return std::string(KVBR_TEST_OUTPUT_DIR) + "/lv2_ui_" + name + ".png";
}
Compressor& effectOf(Lv2TestInstance& dsp) { return static_cast<Lv2Instance*>(dsp.handle())->compressor; }

// The host's side of one UI: features, the write callback storing into the
// plug-in's ports, the touch and resize requests it saw.
class UiHost {
public:
    // scale: the ui:scaleFactor option to give, 0 for none.
    UiHost(Lv2TestInstance& dsp, unsigned long parent, bool instanceAccess, float scale = 0.0f)
        : dsp(dsp), scale(scale) {
        library = dlopen(KVBR_LV2_BUNDLE "/korvane-brassel-ui.so", RTLD_NOW | RTLD_LOCAL);
        auto entry = library ? reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"))
                             : nullptr;
        descriptor = entry ? entry(0) : nullptr;
        if (!descriptor) return;
        touchFeature = {this, [](LV2UI_Feature_Handle h, uint32_t port, bool grabbed) {
                            static_cast<UiHost*>(h)->log.push_back((grabbed ? "grab " : "release ") +
                                                                   std::to_string(port));
                        }};
        resizeFeature = {this, [](LV2UI_Feature_Handle h, int w, int hgt) {
                             static_cast<UiHost*>(h)->requested = {w, hgt};
                             return 0;
                         }};
        features = {{LV2_UI__parent, reinterpret_cast<void*>(static_cast<uintptr_t>(parent))},
                    {LV2_UI__touch, &touchFeature},
                    {LV2_UI__resize, &resizeFeature},
                    {LV2_INSTANCE_ACCESS_URI, dsp.handle()}};
        std::vector<const LV2_Feature*> list;
        for (size_t i = 0; i < features.size() - (instanceAccess ? 0 : 1); ++i) list.push_back(&features[i]);
        LV2_URID_Map* map = dsp.world.urids.map();
        options[0] = {LV2_OPTIONS_INSTANCE, 0, map->map(map->handle, LV2_UI__scaleFactor), sizeof(float),
                      map->map(map->handle, LV2_ATOM__Float), &this->scale};
        options[1] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
        optionsFeature = {LV2_OPTIONS__options, options};
        mapFeature = {LV2_URID__map, map};
        if (scale > 0.0f) {
            list.push_back(&optionsFeature);
            list.push_back(&mapFeature);
        }
        list.push_back(nullptr);
        ui = descriptor->instantiate(descriptor, lv2ports::kStereoUri, KVBR_LV2_BUNDLE "/", write, this,
                                     &widget, list.data());
        if (ui) idleInterface = static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
    }
    ~UiHost() {
        if (ui) descriptor->cleanup(ui);
        if (library) dlclose(library);
    }
    bool valid() const { return ui && idleInterface; }
    void idle() { idleInterface->idle(ui); }
    void idleFor(int ms) {
        for (int waited = 0; waited < ms; waited += 20, sleepMs(20)) idle();
    }
    void portEvent(int port, float value) { descriptor->port_event(ui, static_cast<uint32_t>(port), 4, 0, &value); }
    // What the host does after a run: hands the meter port to the UI.
    void runPlugin(const Channels& in) {
        dsp.process(in, {512});
        portEvent(kLayout.gainReduction(), dsp.get("gain_reduction"));
    }
    // A user's hands on their own thread while the host keeps idling.
    void whileIdling(const std::function<void(X11Driver&)>& hands) {
        platform::linux_backend::testing::whileIdling([&] { idle(); }, hands);
        idleFor(150);
    }

    Lv2TestInstance& dsp;
    std::vector<std::string> log;  // "write P V", "grab P", "release P"
    std::pair<int, int> requested{0, 0};
    LV2UI_Widget widget = nullptr;

private:
    static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format,
                      const void* buffer) {
        auto* self = static_cast<UiHost*>(controller);
        if (format != 0 || size != 4) return;
        const float value = *static_cast<const float*>(buffer);
        char line[48];
        std::snprintf(line, sizeof line, "write %u %g", port, static_cast<double>(value));
        self->log.push_back(line);
        self->dsp.controls.at(port) = value;
    }
    void* library = nullptr;
    const LV2UI_Descriptor* descriptor = nullptr;
    LV2UI_Handle ui = nullptr;
    const LV2UI_Idle_Interface* idleInterface = nullptr;
    LV2UI_Touch touchFeature{};
    LV2UI_Resize resizeFeature{};
    std::vector<LV2_Feature> features;
    float scale;
    LV2_Options_Option options[2]{};
    LV2_Feature optionsFeature{}, mapFeature{};
};

class Lv2UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (std::string(KVBR_TEST_OUTPUT_DIR) + "/lv2-ui-config").c_str(), 1);
        driver = std::make_unique<X11Driver>();
        ASSERT_TRUE(driver->valid()) << "needs an X server with XTest and X-Resource ($DISPLAY)";
        // Room for the editor at twice its size.
        top = driver->createTopLevel(kTopX, kTopY, 900, 860, "LV2 host");
        panel = driver->createChild(top, kPanelX, kPanelY, 820, 800);
        dsp = std::make_unique<Lv2TestInstance>(world, lv2ports::kStereoUri, 48000);
        ASSERT_TRUE(dsp->valid());
    }
    void TearDown() override {
        host.reset();
        dsp.reset();
        if (driver && driver->valid() && driver->exists(top)) driver->destroyWindow(top);
    }
    void openUi(bool instanceAccess, float scale = 0.0f) {
        host = std::make_unique<UiHost>(*dsp, panel, instanceAccess, scale);
        ASSERT_TRUE(host->valid());
        host->idleFor(200);
        const auto inside = driver->children(panel);
        ASSERT_EQ(inside.size(), 1u);
        editorWindow = inside[0];
        EXPECT_EQ(reinterpret_cast<uintptr_t>(host->widget), editorWindow);
    }
    int x(int editorX) const { return kTopX + kPanelX + editorX; }
    int y(int editorY) const { return kTopY + kPanelY + editorY; }
    bool logged(const std::string& line) const {
        return std::find(host->log.begin(), host->log.end(), line) != host->log.end();
    }
    void dragCompressionUp() {
        host->whileIdling([&](X11Driver& hands) {
            hands.moveTo(x(200), y(200));
            hands.press(1);
            for (int step = 1; step <= 6; ++step, sleepMs(30)) hands.moveTo(x(200), y(200 - 10 * step));
            sleepMs(200);
            hands.release(1);
        });
    }
    // The window against the headless rendering of `parameters` and the rest.
    void expectLooksLike(const std::string& name, const std::vector<float>& parameters,
                         std::vector<std::string> extra = {}) {
        driver->moveTo(5, 5);
        host->idleFor(150);
        const Pixels shot = driver->capture(editorWindow);
        ASSERT_TRUE(platform::linux_backend::testing::savePng(shot, shotPath(name)));
        std::vector<std::string> argv{KVBR_EDITOR_REFERENCE, shotPath(name + "_reference"), "--strip", "closed"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        for (size_t i = 0; i < parameters.size(); ++i) {
            char value[48];
            std::snprintf(value, sizeof value, "%zu=%.9g", i, static_cast<double>(parameters[i]));
            argv.insert(argv.end(), {"--param", value});
        }
        ASSERT_EQ(platform::linux_backend::runChild(argv, nullptr).exitCode, 0);
        Pixels expected;
        ASSERT_TRUE(platform::linux_backend::testing::loadPng(shotPath(name + "_reference"), expected));
        const long differing = platform::linux_backend::testing::differingPixels(shot, expected);
        std::printf("%s: %ld pixels differ from the headless rendering\n", name.c_str(), differing);
        EXPECT_EQ(differing, 0) << name << ": see " << shotPath(name);
    }
    std::vector<float> dspParameters() {
        std::vector<float> values;
        for (int i = 0; i < 12; ++i) values.push_back(effectOf(*dsp).parameters().get(i));
        return values;
    }

    Lv2World world;
    std::unique_ptr<X11Driver> driver;
    std::unique_ptr<Lv2TestInstance> dsp;
    std::unique_ptr<UiHost> host;
    unsigned long top = 0, panel = 0, editorWindow = 0;
};

}  // namespace

TEST_F(Lv2UiTest, WithInstanceAccessTheEditorEditsThePluginThroughItsPorts) {
    openUi(true);
    EXPECT_EQ(host->requested, std::make_pair(400, 309));
    expectLooksLike("open", dspParameters());

    // A knob drag: one touch gesture around the port writes, and the plug-in
    // takes the value without a second push from its ports.
    const int compression = portOf("compression");
    dragCompressionUp();
    ASSERT_TRUE(logged("grab " + std::to_string(compression)));
    EXPECT_EQ(host->log.back(), "release " + std::to_string(compression));
    const controls::Control& port = controls::kControls[3];
    EXPECT_GT(dsp->get("compression"), 5.0f);
    EXPECT_EQ(effectOf(*dsp).parameters().get(5),
              controls::normalisedOfStep(port, controls::stepOf(port, dsp->get("compression"))));
    expectLooksLike("compression_raised", dspParameters());

    // A preset from the pop-up list: the ports follow, the bank selects it.
    unsigned long popup = 0;
    host->whileIdling([&](X11Driver& hands) {
        hands.click(x(259), y(292));
        for (int i = 0; i < 100 && !popup; ++i, sleepMs(20)) popup = hands.popup();
        if (!popup) return;
        sleepMs(150);
        const auto at = hands.screenOrigin(popup);
        hands.click(at.x + 40, at.y + 2 + 20 + 9 + 3 * 20 + 10);  // slot 4
    });
    ASSERT_NE(popup, 0u) << "no pop-up menu appeared";
    EXPECT_EQ(effectOf(*dsp).bank().getCurrentPreset(), 4);
    CProgram* chosen = effectOf(*dsp).bank().getBankProgram(4);
    // A preset holds the program's controls; the instance's settings stay.
    for (int c = 0; c < controls::kProgramCount; ++c) {
        const controls::Control& p = controls::kControls[c];
        EXPECT_EQ(dsp->get(p.symbol), controls::valueOfStep(p, controls::stepOfNormalised(p, chosen->getParam(p.parameter))))
            << p.symbol;
    }
    expectLooksLike("preset_chosen", dspParameters(), {"--slot", "4"});

    // A new name typed into the name field lands in the plug-in's bank, which
    // the host saves with its session.
    host->whileIdling([&](X11Driver& hands) {
        hands.click(x(194), y(292));
        sleepMs(200);
        hands.type("My Mix");
        hands.key("Return");
    });
    char name[kProgramNameLength + 1];
    effectOf(*dsp).bank().getBankProgram(4)->getName(name);
    EXPECT_STREQ(name, "My Mix");

    // The meter: audio through the plug-in, the needle where the port says.
    host->runPlugin(testSignal(2, 48000));
    const double reading = effectOf(*dsp).getMeterReading();
    EXPECT_LT(reading, 0.9);
    EXPECT_FLOAT_EQ(dsp->get("gain_reduction"), controls::gainReductionDb(reading));
    host->idleFor(1500);
    char meter[32];
    std::snprintf(meter, sizeof meter, "%.9g", reading);
    expectLooksLike("meter", dspParameters(), {"--slot", "4", "--name", "My Mix", "--meter", meter});
}

TEST_F(Lv2UiTest, WithoutInstanceAccessPortsDriveTheControlsAndTheMeter) {
    openUi(false);
    // The host's automation and the meter arrive as port events only.
    host->portEvent(portOf("compression"), 2.5f);
    host->portEvent(portOf("ratio"), 6.0f);
    host->portEvent(kLayout.gainReduction(), 6.0f);
    host->idleFor(1500);
    std::vector<float> shown = dspParameters();
    shown[5] = 0.25f;
    shown[2] = 1.0f;
    char meter[32];
    std::snprintf(meter, sizeof meter, "%.9g", std::pow(10.0, -6.0 / 20.0));
    expectLooksLike("ports", shown, {"--meter", meter, "--no-presets"});
    EXPECT_TRUE(host->log.empty()) << "port events came back as writes";

    // The preset panel says it is unavailable and its arrow opens nothing.
    unsigned long popup = 0;
    host->whileIdling([&](X11Driver& hands) {
        hands.click(x(259), y(292));
        for (int i = 0; i < 15 && !popup; ++i, sleepMs(20)) popup = hands.popup();
    });
    EXPECT_EQ(popup, 0u);

    // A drag still reaches the plug-in, through its port.
    dragCompressionUp();
    EXPECT_GT(dsp->get("compression"), 2.5f);
    EXPECT_TRUE(logged("grab " + std::to_string(portOf("compression"))));
}

TEST_F(Lv2UiTest, TwoHundredOpenCloseCyclesLeaveTheServerAsItWas) {
    openUi(true);
    host.reset();
    driver->sync();
    const int clients = driver->clientCount();
    const long resources = driver->resourceTotal();
    for (int cycle = 0; cycle < 200; ++cycle) {
        UiHost ui(*dsp, panel, cycle % 2 == 0);
        ASSERT_TRUE(ui.valid());
        ui.idle();
        ui.idle();
    }
    driver->sync();
    sleepMs(100);
    EXPECT_EQ(driver->clientCount(), clients);
    EXPECT_EQ(driver->resourceTotal(), resources);
    EXPECT_TRUE(driver->children(panel).empty());
}

TEST_F(Lv2UiTest, APluginFreedBeforeItsUiLeavesTheUiHarmless) {
    openUi(true);
    dsp.reset();  // a host that frees the instance first
    host->idleFor(60);
    host->portEvent(portOf("compression"), 7.0f);
    host.reset();
    EXPECT_TRUE(driver->children(panel).empty());
}

TEST_F(Lv2UiTest, TheHostsScaleFactorSizesTheEditor) {
    unsetenv("KVBR_EDITOR_SCALE");
    openUi(true, 2.0f);
    EXPECT_EQ(host->requested, std::make_pair(800, 618));
    const Pixels shot = driver->capture(editorWindow);
    EXPECT_EQ(shot.width, 800);
    EXPECT_EQ(shot.height, 618);
    expectLooksLike("scale2", dspParameters(), {"--scale", "2"});

    // The tab opens the strip: the host hears the taller size, the instance
    // keeps the strip's state for its saved state, and the strip's selector
    // writes its port.
    host->whileIdling([&](X11Driver& hands) { hands.click(x(2 * 364), y(2 * 292)); });
    EXPECT_EQ(host->requested, std::make_pair(800, 778));
    EXPECT_EQ(driver->capture(editorWindow).height, 778);
    EXPECT_EQ(effectOf(*dsp).parameters().get(kEditorStripParameter), 1.0f);
    host->whileIdling([&](X11Driver& hands) { hands.click(x(2 * 169), y(2 * 352)); });
    EXPECT_TRUE(logged("write " + std::to_string(portOf("oversampling")) + " 2"));
    expectLooksLike("scale2_strip", dspParameters(), {"--scale", "2", "--strip", "open", "--param", "12=1"});
}
