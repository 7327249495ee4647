// The module as a host scans it: entry points, the factory and its two
// classes, what each object answers to, buses and layouts, the parameters
// with their IDs, flags and texts, and the program list.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "vst3TestHost.h"
#include "formats/vst3/abi/view.h"

using namespace vst3test;

namespace {

std::string text16(const char16* text, int capacity = 128) {
    std::string out;
    for (int i = 0; i < capacity && text[i]; ++i) out.push_back(static_cast<char>(text[i]));
    return out;
}

std::string valueText(Instance& plugin, ParamID id, double value) {
    String128 text;
    for (auto& unit : text) unit = 0x7F;
    if (plugin.controller->getParamStringByValue(id, value, text) != kResultOk) return "(refused)";
    return text16(text);
}

double readBack(Instance& plugin, ParamID id, const char* text) {
    String128 wide{};
    for (int i = 0; text[i]; ++i) wide[i] = static_cast<char16>(text[i]);
    double value = -1.0;
    return plugin.controller->getParamValueByString(id, wide, &value) == kResultOk ? value : -1.0;
}

bool answers(FUnknown* object, const Uid& iid) {
    void* found = reinterpret_cast<void*>(&found);
    const tresult result = object->queryInterface(iid, &found);
    if (result == kResultOk && found) static_cast<FUnknown*>(found)->release();
    if (result != kResultOk) {
        EXPECT_EQ(found, nullptr) << "a refused query leaves null";
    }
    return result == kResultOk;
}

}  // namespace

TEST(Vst3Module, FactoryListsTheProcessorAndItsControllerAlike) {
    Module module;
    ASSERT_TRUE(module.valid()) << module.error;
    void* found = nullptr;
    ASSERT_EQ(module.factory->queryInterface(IPluginFactory3::iid, &found), kResultOk);
    auto* factory = static_cast<IPluginFactory3*>(found);

    PFactoryInfo info{};
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Korvane");
    EXPECT_STREQ(info.url, "https://korvane.com");
    EXPECT_EQ(info.flags, PFactoryInfo::kUnicode);
    ASSERT_EQ(factory->countClasses(), 2);

    const char* cids[2] = {kProcessorCid, kControllerCid};
    const char* categories[2] = {"Audio Module Class", "Component Controller Class"};
    const char* subCategories[2] = {"Fx|Dynamics", ""};
    for (int32 i = 0; i < 2; ++i) {
        PClassInfo plain{};
        PClassInfo2 second{};
        PClassInfoW wide{};
        ASSERT_EQ(factory->getClassInfo(i, &plain), kResultOk);
        ASSERT_EQ(factory->getClassInfo2(i, &second), kResultOk);
        ASSERT_EQ(factory->getClassInfoUnicode(i, &wide), kResultOk);
        EXPECT_EQ(textOfUid(plain.cid), cids[i]);
        EXPECT_TRUE(sameUid(plain.cid, second.cid) && sameUid(plain.cid, wide.cid));
        EXPECT_STREQ(plain.category, categories[i]);
        EXPECT_STREQ(plain.name, "Korvane Brassel");
        EXPECT_EQ(text16(wide.name, 64), "Korvane Brassel");
        EXPECT_EQ(plain.cardinality, 0x7FFFFFFF);
        EXPECT_STREQ(second.subCategories, subCategories[i]);
        EXPECT_STREQ(wide.subCategories, subCategories[i]);
        EXPECT_EQ(second.classFlags, 0u);
        EXPECT_STREQ(second.version, "1.1.0.0");
        EXPECT_EQ(text16(wide.version, 64), "1.1.0.0");
        EXPECT_STREQ(second.sdkVersion, "VST 3.7.14");
        EXPECT_STREQ(second.vendor, "Korvane");
    }
    PClassInfo none{};
    EXPECT_EQ(factory->getClassInfo(2, &none), kInvalidArgument);
    EXPECT_EQ(factory->getClassInfo2(-1, nullptr), kInvalidArgument);

    // An unknown class, or a known one asked for an interface it lacks, gives nothing.
    void* made = &made;
    EXPECT_EQ(factory->createInstance(uidOf(1, 2, 3, 4), IComponent::iid, &made), kNoInterface);
    EXPECT_EQ(made, nullptr);
    made = &made;
    EXPECT_EQ(factory->createInstance(uidOfText(kProcessorCid), IEditController::iid, &made), kNoInterface);
    EXPECT_EQ(made, nullptr);

    // A second GetPluginFactory hands out the same factory once more.
    auto get = reinterpret_cast<IPluginFactory* (*)()>(module.symbol("GetPluginFactory"));
    IPluginFactory* again = get();
    EXPECT_EQ(static_cast<void*>(again), static_cast<void*>(module.factory));
    again->release();
    factory->release();
}

TEST(Vst3Module, ModuleInfoDescribesWhatTheFactorySays) {
    std::ifstream file(KVBR_VST3_BUNDLE "/Contents/Resources/moduleinfo.json");
    ASSERT_TRUE(file.good());
    std::stringstream json;
    json << file.rdbuf();
    const std::string text = json.str();
    for (const std::string& expected : std::vector<std::string>{"\"Name\": \"Korvane Brassel\"", "\"Version\": \"1.1.0.0\"", "\"Vendor\": \"Korvane\"",
          std::string("\"CID\": \"") + kProcessorCid + "\"", std::string("\"CID\": \"") + kControllerCid + "\"",
          "\"Sub Categories\": [\"Fx\", \"Dynamics\"]", "\"Category\": \"Component Controller Class\"",
          "\"SDKVersion\": \"VST 3.7.14\"", "\"Cardinality\": 2147483647"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    // The processor is listed first, as the factory's class 0.
    EXPECT_LT(text.find(kProcessorCid), text.find(kControllerCid));
}

TEST(Vst3Module, BothHostPatternsGetAProcessorAndASeparateController) {
    Module module;
    for (auto pattern : {Instance::Pattern::askComponentFirst, Instance::Pattern::controllerClassId}) {
        Instance plugin(module, pattern);
        ASSERT_TRUE(plugin.valid());
        EXPECT_NE(static_cast<void*>(plugin.controller), static_cast<void*>(plugin.component));
        Uid controllerId{};
        EXPECT_EQ(plugin.component->getControllerClassId(&controllerId), kResultOk);
        EXPECT_EQ(textOfUid(controllerId), kControllerCid);
        // The halves hold their proxies and the handler while connected.
        EXPECT_EQ(plugin.toController.held(), 1);
        EXPECT_EQ(plugin.handler.held(), 1);
    }
}

TEST(Vst3Module, EachObjectAnswersExactlyItsInterfaces) {
    Module module;
    {
        Instance plugin(module);
        ASSERT_TRUE(plugin.valid());
        FUnknown* component = plugin.component;
        for (const Uid& iid : {FUnknown::iid, IPluginBase::iid, IComponent::iid, IAudioProcessor::iid,
                               IProcessContextRequirements::iid, IConnectionPoint::iid})
            EXPECT_TRUE(answers(component, iid));
        for (const Uid& iid : {IEditController::iid, IUnitInfo::iid, IPlugView::iid, IBStream::iid,
                               uidOf(0x309ECE78, 0xEB7D4FAE, 0x8B2225D9, 0x09FD08B6)})
            EXPECT_FALSE(answers(component, iid));
        FUnknown* controller = plugin.controller;
        for (const Uid& iid : {FUnknown::iid, IPluginBase::iid, IEditController::iid,
                               IEditController2::iid, IUnitInfo::iid, IConnectionPoint::iid})
            EXPECT_TRUE(answers(controller, iid));
        // IMidiMapping and INoteExpressionController are for instruments.
        for (const Uid& iid : {IComponent::iid, IAudioProcessor::iid,
                               uidOf(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5),
                               uidOf(0xB7F8F859, 0x41234872, 0x91169581, 0x4F3721A3)})
            EXPECT_FALSE(answers(controller, iid));
        // FUnknown's answer is the same object for every way in.
        void* a = nullptr;
        void* b = nullptr;
        plugin.processor->queryInterface(FUnknown::iid, &a);
        plugin.component->queryInterface(FUnknown::iid, &b);
        EXPECT_EQ(a, b);
        static_cast<FUnknown*>(a)->release();
        static_cast<FUnknown*>(b)->release();

        IPlugView* view = plugin.controller->createView("editor");
        ASSERT_NE(view, nullptr);
        for (const Uid& iid : {FUnknown::iid, IPlugView::iid, IPlugViewContentScaleSupport::iid})
            EXPECT_TRUE(answers(view, iid));
        EXPECT_FALSE(answers(view, IEditController::iid));
        EXPECT_EQ(view->release(), 0u);
        EXPECT_EQ(plugin.controller->createView("another"), nullptr);
        EXPECT_EQ(plugin.controller->createView(nullptr), nullptr);
        void* requirements = nullptr;
        ASSERT_EQ(plugin.component->queryInterface(IProcessContextRequirements::iid, &requirements), kResultOk);
        EXPECT_EQ(static_cast<IProcessContextRequirements*>(requirements)->getProcessContextRequirements(), 0u);
        static_cast<IProcessContextRequirements*>(requirements)->release();
    }
    EXPECT_EQ(Message::alive.load(), 0);
}

TEST(Vst3Module, HostObjectsAreAllGivenBackAtTheEnd) {
    Module module;
    HostApplication* application = nullptr;
    ComponentHandler* handler = nullptr;
    {
        Instance plugin(module);
        ASSERT_TRUE(plugin.valid());
        ASSERT_TRUE(plugin.start(48000));
        plugin.process(Buffers<float>(2, std::vector<float>(512, 0.1f)), {512});
        application = &plugin.application;
        handler = &plugin.handler;
        plugin.stop();
        plugin.controller->terminate();
        plugin.component->terminate();
        EXPECT_EQ(application->held(), 0);
        EXPECT_EQ(handler->held(), 0);
        EXPECT_EQ(plugin.toController.held(), 0);
        EXPECT_EQ(plugin.toProcessor.held(), 0);
        // A terminated object can be initialized afresh.
        EXPECT_EQ(plugin.component->initialize(application), kResultOk);
        EXPECT_EQ(plugin.controller->initialize(application), kResultOk);
    }
}

// The main buses, and the side-chain's input after the main one: an aux bus
// that starts inactive and always has the main input's layout.
TEST(Vst3Module, MainBusesAndASidechainInputStereoByDefaultMonoOnRequest) {
    Module module;
    Instance plugin(module);
    ASSERT_TRUE(plugin.valid());
    EXPECT_EQ(plugin.component->getBusCount(kAudio, kInput), 2);
    EXPECT_EQ(plugin.component->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(plugin.component->getBusCount(kEvent, kInput), 0);
    EXPECT_EQ(plugin.component->getBusCount(kEvent, kOutput), 0);
    auto busChannels = [&](int32 dir, int32 index = 0) {
        BusInfo first{}, second{};
        EXPECT_EQ(plugin.component->getBusInfo(kAudio, dir, index, &first), kResultOk);
        plugin.component->getBusInfo(kAudio, dir, index, &second);
        EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0) << "the same bytes every time";
        EXPECT_EQ(first.direction, dir);
        if (index == 1) {
            EXPECT_EQ(first.busType, kAux);
            EXPECT_EQ(first.flags, 0u) << "inactive by default";
            EXPECT_EQ(text16(first.name), "Sidechain");
        } else {
            EXPECT_EQ(first.busType, kMain);
            EXPECT_EQ(first.flags, kDefaultActive);
            EXPECT_FALSE(text16(first.name).empty());
        }
        SpeakerArrangement layout = 0;
        EXPECT_EQ(plugin.processor->getBusArrangement(dir, index, &layout), kResultOk);
        EXPECT_EQ(std::popcount(layout), first.channelCount);
        return first.channelCount;
    };
    auto channels = [&] {
        return std::vector<int32>{busChannels(kInput), busChannels(kInput, 1), busChannels(kOutput)};
    };
    const std::vector<int32> stereoBuses = {2, 2, 2}, monoBuses = {1, 1, 1};
    EXPECT_EQ(channels(), stereoBuses);
    BusInfo none{};
    EXPECT_EQ(plugin.component->getBusInfo(kAudio, kInput, 2, &none), kInvalidArgument);
    EXPECT_EQ(plugin.component->getBusInfo(kAudio, kOutput, 1, &none), kInvalidArgument);
    EXPECT_EQ(plugin.component->getBusInfo(kEvent, kInput, 0, &none), kInvalidArgument);
    EXPECT_EQ(plugin.component->activateBus(kAudio, kInput, 1, 1), kResultOk);
    EXPECT_EQ(plugin.component->activateBus(kAudio, kInput, 1, 0), kResultOk);
    EXPECT_EQ(plugin.component->activateBus(kAudio, kOutput, 1, 1), kInvalidArgument);

    // Hosts name the side-chain's layout with the main input's, or leave it out.
    SpeakerArrangement mono = kSpeakerArrangementMono, stereo = kSpeakerArrangementStereo;
    SpeakerArrangement monoPair[2] = {mono, mono}, stereoPair[2] = {stereo, stereo};
    EXPECT_EQ(plugin.processor->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
    EXPECT_EQ(channels(), monoBuses);
    EXPECT_EQ(plugin.processor->setBusArrangements(stereoPair, 2, &stereo, 1), kResultTrue);
    EXPECT_EQ(channels(), stereoBuses);
    EXPECT_EQ(plugin.processor->setBusArrangements(monoPair, 2, &mono, 1), kResultTrue);
    EXPECT_EQ(channels(), monoBuses);
    // Mono in, stereo out, five channels, a side-chain unlike the input, two
    // outputs, none: refused, stereo kept.
    SpeakerArrangement five = 0x1F, stereoThenMono[2] = {stereo, mono}, monoThenStereo[2] = {mono, stereo};
    struct Layout {
        SpeakerArrangement* ins;
        int32 numIns;
        SpeakerArrangement* outs;
        int32 numOuts;
    };
    const Layout refused[] = {{&mono, 1, &stereo, 1},         {&stereo, 1, &mono, 1},
                              {&five, 1, &five, 1},           {stereoThenMono, 2, &stereo, 1},
                              {monoThenStereo, 2, &mono, 1},  {stereoPair, 2, stereoPair, 2},
                              {nullptr, 0, nullptr, 0}};
    for (const Layout& layout : refused) {
        plugin.processor->setBusArrangements(&mono, 1, &mono, 1);
        EXPECT_EQ(plugin.processor->setBusArrangements(layout.ins, layout.numIns, layout.outs, layout.numOuts),
                  kResultFalse);
        EXPECT_EQ(channels(), stereoBuses);
    }
    EXPECT_EQ(plugin.processor->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(plugin.processor->canProcessSampleSize(kSample64), kResultTrue);
    EXPECT_EQ(plugin.processor->canProcessSampleSize(2), kResultFalse);
    EXPECT_EQ(plugin.processor->getLatencySamples(), 0u);
}

TEST(Vst3Module, ParametersKeepTheirIdsStepsAndFlags) {
    Module module;
    Instance plugin(module);
    ASSERT_TRUE(plugin.valid());
    struct Expected {
        ParamID id;
        const char* title;
        const char* units;
        int32 steps;
        int32 flags;
        double defaultValue;
    };
    const int32 automate = ParameterInfo::kCanAutomate, list = ParameterInfo::kIsList;
    const Expected expected[] = {
        {0, "Process", "", 2, automate | list, 1.0},
        {2, "Ratio", "", 6, automate | list, 0.5},
        {4, "Time", "", 20, automate, 0.5},
        {5, "Compression", "", 40, automate, 0.5},
        {6, "Output", "dB", 60, automate, 0.0},
        {kBypassId, "Bypass", "", 1, automate | ParameterInfo::kIsBypass, 0.0},
        {kProgramId, "Program", "", 32, ParameterInfo::kIsProgramChange | list, 0.0},
        {kGainReductionId, "Gain Reduction", "dB", 0, ParameterInfo::kIsReadOnly, 0.0},
        {kOversamplingId, "Oversampling", "", 2, automate | list, 0.0},
        {kMixId, "Mix", "", 100, automate, 1.0},
        {kSidechainFilterId, "Sidechain Filter", "", 4, automate | list, 0.0},
        {kKeyId, "Key", "", 1, automate | list, 0.0},
    };
    const int32 count = static_cast<int32>(std::size(expected));
    ASSERT_EQ(plugin.controller->getParameterCount(), count);
    for (int32 i = 0; i < count; ++i) {
        ParameterInfo info{};
        ASSERT_EQ(plugin.controller->getParameterInfo(i, &info), kResultOk);
        EXPECT_EQ(info.id, expected[i].id);
        EXPECT_EQ(text16(info.title), expected[i].title);
        EXPECT_EQ(text16(info.units), expected[i].units);
        EXPECT_EQ(info.stepCount, expected[i].steps) << expected[i].title;
        EXPECT_EQ(info.flags, expected[i].flags) << expected[i].title;
        EXPECT_EQ(info.defaultNormalizedValue, expected[i].defaultValue) << expected[i].title;
        EXPECT_EQ(info.unitId, 0);
    }
    ParameterInfo none{};
    EXPECT_EQ(plugin.controller->getParameterInfo(count, &none), kInvalidArgument);
    EXPECT_EQ(plugin.controller->getParameterInfo(-1, &none), kInvalidArgument);
}

TEST(Vst3Module, TextsAreTheVst2DisplaysAndReadBack) {
    Module module;
    Instance plugin(module);
    ASSERT_TRUE(plugin.valid());
    struct Case {
        ParamID id;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0, 0.0, "Off"},      {0, 0.5, "Clear"},     {0, 1.0, "Valve"},    {2, 0.0, "1.2:1"},
        {2, 2.0 / 6, "2:1"},  {2, 1.0, "10:1"},      {4, 0.5, "5.00"},     {4, 0.05, "0.50"},
        {5, 0.375, "3.75"},   {5, 1.0, "10.00"},     {6, 7.0 / 60, "3.50"}, {6, 1.0, "30.00"},
        {kBypassId, 0.0, "Off"}, {kBypassId, 1.0, "On"}, {kProgramId, 1.0 / 32, "Default"},
        {kProgramId, 8.0 / 32, "SlowLim"}, {kGainReductionId, 0.25, "10.00"},
        {kOversamplingId, 0.0, "Off"}, {kOversamplingId, 0.5, "2x"}, {kOversamplingId, 1.0, "4x"},
        {kMixId, 0.0, "0%"}, {kMixId, 0.5, "50%"}, {kMixId, 0.37, "37%"}, {kMixId, 1.0, "100%"},
        {kSidechainFilterId, 0.0, "Off"}, {kSidechainFilterId, 0.25, "60 Hz"},
        {kSidechainFilterId, 0.75, "150 Hz"}, {kSidechainFilterId, 1.0, "250 Hz"},
        {kKeyId, 0.0, "Internal"}, {kKeyId, 1.0, "External"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(valueText(plugin, c.id, c.value), c.text) << c.id << " at " << c.value;
        if (c.id != kGainReductionId) {
            EXPECT_EQ(readBack(plugin, c.id, c.text), c.value) << c.text;
        }
    }
    // Between steps a value shows the step whose share it falls in.
    EXPECT_EQ(valueText(plugin, 0, 0.34), "Clear");
    EXPECT_EQ(valueText(plugin, 0, 0.66), "Clear");
    EXPECT_EQ(valueText(plugin, 0, 0.67), "Valve");
    EXPECT_EQ(valueText(plugin, 4, 0.52), "5.00");
    // Texts between steps land on the nearest; what is no text is refused.
    EXPECT_EQ(readBack(plugin, 4, "5.3"), 11.0 / 20);
    EXPECT_EQ(readBack(plugin, 6, "12 dB"), 24.0 / 60);
    EXPECT_EQ(readBack(plugin, 2, "4"), 4.0 / 6);
    // Mix with or without its sign; labels in any letter case.
    EXPECT_EQ(readBack(plugin, kMixId, "50"), 0.5);
    EXPECT_EQ(readBack(plugin, kMixId, "12.4 %"), 0.12);
    EXPECT_EQ(readBack(plugin, kSidechainFilterId, "150 hz"), 0.75);
    EXPECT_EQ(readBack(plugin, kKeyId, "EXTERNAL"), 1.0);
    for (const char* nonsense : {"150", "40 Hz", "side"}) {
        EXPECT_EQ(readBack(plugin, kSidechainFilterId, nonsense), -1.0) << nonsense;
        EXPECT_EQ(readBack(plugin, kKeyId, nonsense), -1.0) << nonsense;
    }
    for (const char* nonsense : {"loud", "", "4::1"}) EXPECT_EQ(readBack(plugin, 2, nonsense), -1.0) << nonsense;
    EXPECT_EQ(readBack(plugin, 4, "fast"), -1.0);
    EXPECT_EQ(valueText(plugin, 3, 0.5), "(refused)");

    // Plain values are real units, slots, dB.
    EXPECT_EQ(plugin.controller->normalizedParamToPlain(6, 0.5), 15.0);
    EXPECT_EQ(plugin.controller->plainParamToNormalized(6, 15.2), 0.5);
    EXPECT_EQ(plugin.controller->normalizedParamToPlain(2, 1.0), 6.0);
    EXPECT_EQ(plugin.controller->normalizedParamToPlain(kProgramId, 0.5), 16.0);
    EXPECT_EQ(plugin.controller->plainParamToNormalized(kProgramId, 16.0), 0.5);
    EXPECT_EQ(plugin.controller->normalizedParamToPlain(kGainReductionId, 0.5), 20.0);
    EXPECT_EQ(plugin.controller->normalizedParamToPlain(kMixId, 0.25), 25.0);
    EXPECT_EQ(plugin.controller->plainParamToNormalized(kMixId, 25.0), 0.25);
    EXPECT_EQ(plugin.controller->normalizedParamToPlain(kSidechainFilterId, 0.75), 3.0);
}

TEST(Vst3Module, ProgramListHoldsTheBankForTheHostsPresetMenu) {
    Module module;
    Instance plugin(module);
    ASSERT_NE(plugin.units, nullptr);
    ASSERT_EQ(plugin.units->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(plugin.units->getUnitInfo(0, &unit), kResultOk);
    EXPECT_EQ(unit.id, 0);
    EXPECT_EQ(unit.parentUnitId, -1);
    EXPECT_FALSE(text16(unit.name).empty());
    ASSERT_EQ(plugin.units->getProgramListCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(plugin.units->getProgramListInfo(0, &list), kResultOk);
    EXPECT_EQ(list.id, unit.programListId);
    EXPECT_EQ(list.programCount, 33);
    EXPECT_FALSE(text16(list.name).empty());
    std::vector<std::string> names;
    for (int32 k = 0; k < 33; ++k) {
        String128 name{};
        ASSERT_EQ(plugin.units->getProgramName(list.id, k, name), kResultOk);
        names.push_back(text16(name));
        EXPECT_FALSE(names.back().empty());
    }
    EXPECT_EQ(names[1], "Default");
    EXPECT_EQ(names[12], "Hats Smasher");
    EXPECT_EQ(names[32], "Bus Comp 3");
    String128 name{};
    EXPECT_EQ(plugin.units->getProgramName(list.id, 33, name), kInvalidArgument);
    EXPECT_EQ(plugin.units->getProgramName(list.id + 1, 0, name), kInvalidArgument);
    EXPECT_EQ(plugin.units->getUnitInfo(1, &unit), kInvalidArgument);
    EXPECT_EQ(plugin.units->getProgramInfo(list.id, 0, "style", name), kResultFalse);
    EXPECT_EQ(plugin.units->setUnitProgramData(list.id, 0, nullptr), kNotImplemented);
}

// A host that never processes: the controller alone tells it what a chosen
// program set, never from inside the call that chose it.
TEST(Vst3Module, AProgramChosenInTheHostSetsTheControlsFromItsSlot) {
    Module module;
    Instance plugin(module);
    ASSERT_TRUE(plugin.valid());
    // "Hats Smasher": Valve, 10:1, Time 0, Compression 7.75, Output 13 dB.
    plugin.handler.log.clear();
    ASSERT_EQ(plugin.controller->setParamNormalized(kProgramId, 12.0 / 32), kResultOk);
    // Nothing from inside the host's own call (Ardour 7 holds a lock there
    // that a restart request takes again).
    EXPECT_TRUE(plugin.handler.log.empty());
    // The host's very next reads give the program's values, and its next
    // call asks it once to read them all again.
    EXPECT_EQ(plugin.controller->getParamNormalized(0), 1.0);
    EXPECT_EQ(plugin.handler.log, std::vector<std::string>{"restart 4"});
    EXPECT_EQ(plugin.controller->getParamNormalized(2), 1.0);
    EXPECT_EQ(plugin.controller->getParamNormalized(4), 0.0);
    EXPECT_EQ(plugin.controller->getParamNormalized(5), 31.0 / 40);
    EXPECT_EQ(valueText(plugin, 6, plugin.controller->getParamNormalized(6)), "13.00");
    EXPECT_EQ(plugin.controller->getParamNormalized(kProgramId), 12.0 / 32);
    EXPECT_EQ(plugin.handler.log.size(), 1u);
    // The program already chosen: nothing owed.
    ASSERT_EQ(plugin.controller->setParamNormalized(kProgramId, 12.0 / 32), kResultOk);
    EXPECT_EQ(plugin.controller->getParamNormalized(5), 31.0 / 40);
    EXPECT_EQ(plugin.handler.log.size(), 1u);
}

namespace {

// A host context that offers its run loop, as some Linux hosts do.
class LoopingContext final : public Held<IRunLoop> {
public:
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<LoopingContext, IRunLoop>(this, iid, obj);
    }
    tresult KVBR_VST3_CALL registerEventHandler(IEventHandler*, int) override { return kResultFalse; }
    tresult KVBR_VST3_CALL unregisterEventHandler(IEventHandler*) override { return kResultFalse; }
    tresult KVBR_VST3_CALL registerTimer(ITimerHandler* handler, uint64) override {
        handler->addRef();
        timers.push_back(handler);
        return kResultOk;
    }
    tresult KVBR_VST3_CALL unregisterTimer(ITimerHandler* handler) override {
        const auto found = std::find(timers.begin(), timers.end(), handler);
        if (found == timers.end()) return kInvalidArgument;
        timers.erase(found);
        handler->release();
        return kResultOk;
    }
    void tick() {
        for (ITimerHandler* timer : std::vector(timers)) timer->onTimer();
    }
    std::vector<ITimerHandler*> timers;
};

}  // namespace

// No editor open and the host calls nothing more: its own loop brings the restart.
TEST(Vst3Module, TheHostsRunLoopCarriesTheRestartOfAChosenProgram) {
    Module module;
    void* made = nullptr;
    ASSERT_EQ(module.factory->createInstance(uidOfText(kControllerCid), IEditController::iid, &made), kResultOk);
    auto* controller = static_cast<IEditController*>(made);
    LoopingContext loop;
    ComponentHandler handler;
    ASSERT_EQ(controller->initialize(&loop), kResultOk);
    ASSERT_EQ(controller->setComponentHandler(&handler), kResultOk);
    loop.tick();
    EXPECT_TRUE(handler.log.empty());
    ASSERT_EQ(controller->setParamNormalized(kProgramId, 12.0 / 32), kResultOk);
    EXPECT_TRUE(handler.log.empty());
    loop.tick();
    loop.tick();
    EXPECT_EQ(handler.log, std::vector<std::string>{"restart 4"});
    controller->setComponentHandler(nullptr);
    controller->terminate();
    EXPECT_TRUE(loop.timers.empty());
    EXPECT_EQ(loop.held(), 0);
    EXPECT_EQ(controller->release(), 0u);
}
