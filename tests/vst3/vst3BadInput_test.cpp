// What a careless or hostile host may do, and the answer it gets: calls out
// of order, unknown interfaces and IDs, no host context, rates that are no
// rates, values outside 0..1 or NaN. Never a crash.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "vst3TestHost.h"

using namespace vst3test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

template <class I>
I* make(Module& module, const char* cid) {
    void* made = nullptr;
    module.factory->createInstance(uidOfText(cid), I::iid, &made);
    return static_cast<I*>(made);
}

tresult processSilence(IAudioProcessor* processor, int32 frames, int32 size = kSample32) {
    std::vector<float> l(static_cast<size_t>(frames) + 1), r(l);
    float* channels[2] = {l.data(), r.data()};
    AudioBusBuffers bus{2, 0, reinterpret_cast<void**>(channels)};
    ProcessData data{kRealtime, size, frames, 1, 1, &bus, &bus, nullptr, nullptr, nullptr, nullptr, nullptr};
    return processor->process(&data);
}

}  // namespace

TEST(Vst3BadInput, CallsOutOfOrderAreRefusedOrHarmless) {
    Module module;
    // Nothing works before initialize, and nothing breaks.
    IComponent* component = make<IComponent>(module, kProcessorCid);
    ASSERT_NE(component, nullptr);
    void* found = nullptr;
    ASSERT_EQ(component->queryInterface(IAudioProcessor::iid, &found), kResultOk);
    auto* processor = static_cast<IAudioProcessor*>(found);
    EXPECT_EQ(processSilence(processor, 64), kNotInitialized);
    EXPECT_EQ(component->setActive(1), kNotInitialized);
    MemoryStream stream;
    EXPECT_EQ(component->getState(&stream), kNotInitialized);
    EXPECT_EQ(component->terminate(), kResultOk);
    Uid early{};
    EXPECT_EQ(component->getControllerClassId(&early), kResultOk) << "may come before initialize";
    EXPECT_EQ(component->setIoMode(1), kNotImplemented);

    // A null host context is taken; a second initialize is refused.
    HostApplication application;
    EXPECT_EQ(component->initialize(nullptr), kResultOk);
    EXPECT_EQ(component->initialize(&application), kResultFalse);
    EXPECT_EQ(application.held(), 0);
    // Processing before activation touches no audio; activating twice is one activation.
    EXPECT_EQ(processSilence(processor, 64), kNotInitialized);
    EXPECT_EQ(component->setActive(1), kResultOk);
    EXPECT_EQ(component->setActive(1), kResultOk);
    EXPECT_EQ(processSilence(processor, 64), kResultOk);
    // No layout or set-up change while active.
    SpeakerArrangement mono = kSpeakerArrangementMono;
    EXPECT_EQ(processor->setBusArrangements(&mono, 1, &mono, 1), kResultFalse);
    SpeakerArrangement layout = 0;
    processor->getBusArrangement(kOutput, 0, &layout);
    EXPECT_EQ(layout, kSpeakerArrangementStereo);
    ProcessSetup setup{kRealtime, kSample32, 512, 48000};
    EXPECT_EQ(processor->setupProcessing(&setup), kResultFalse);
    EXPECT_EQ(component->setActive(0), kResultOk);
    EXPECT_EQ(component->setActive(0), kResultOk);
    // Terminated while active, then initialized again: works as new.
    EXPECT_EQ(component->setActive(1), kResultOk);
    EXPECT_EQ(component->terminate(), kResultOk);
    EXPECT_EQ(component->terminate(), kResultOk);
    EXPECT_EQ(component->initialize(&application), kResultOk);
    EXPECT_EQ(component->setActive(1), kResultOk);
    EXPECT_EQ(processSilence(processor, 64), kResultOk);
    component->terminate();
    EXPECT_EQ(application.held(), 0);
    processor->release();
    EXPECT_EQ(component->release(), 0u);

    // The controller likewise.
    IEditController* controller = make<IEditController>(module, kControllerCid);
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->setComponentState(&stream), kNotInitialized);
    EXPECT_EQ(controller->createView("editor"), nullptr);
    EXPECT_EQ(controller->setParamNormalized(5, 0.5), kResultOk);
    EXPECT_EQ(controller->initialize(nullptr), kResultOk);
    EXPECT_EQ(controller->initialize(nullptr), kResultFalse);
    EXPECT_EQ(controller->terminate(), kResultOk);
    EXPECT_EQ(controller->release(), 0u);
}

TEST(Vst3BadInput, UnknownInterfacesAndNullPointers) {
    Module module;
    Instance plugin(module);
    ASSERT_TRUE(plugin.valid());
    void* found = &found;
    EXPECT_EQ(plugin.component->queryInterface(uidOf(0xDEADBEEF, 1, 2, 3), &found), kNoInterface);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(plugin.component->queryInterface(IComponent::iid, nullptr), kInvalidArgument);
    EXPECT_EQ(plugin.controller->queryInterface(uidOf(0xDEADBEEF, 1, 2, 3), &found), kNoInterface);
    EXPECT_EQ(plugin.component->getControllerClassId(nullptr), kInvalidArgument);
    EXPECT_EQ(plugin.component->getBusInfo(kAudio, kInput, 0, nullptr), kInvalidArgument);
    EXPECT_EQ(plugin.processor->getBusArrangement(kInput, 0, nullptr), kInvalidArgument);
    EXPECT_EQ(plugin.processor->setupProcessing(nullptr), kInvalidArgument);
    EXPECT_EQ(plugin.processor->process(nullptr), kInvalidArgument);
    EXPECT_EQ(plugin.component->getRoutingInfo(nullptr, nullptr), kNotImplemented);
    EXPECT_EQ(plugin.controller->getParameterInfo(0, nullptr), kInvalidArgument);
    EXPECT_EQ(plugin.controller->getParamStringByValue(5, 0.5, nullptr), kInvalidArgument);
    double value = 0;
    EXPECT_EQ(plugin.controller->getParamValueByString(5, nullptr, &value), kInvalidArgument);
    EXPECT_EQ(plugin.units->getUnitInfo(0, nullptr), kInvalidArgument);
    EXPECT_EQ(plugin.controller->setComponentHandler(nullptr), kResultOk);
    EXPECT_EQ(plugin.handler.held(), 0);
    // Connection points refuse nothing, a second peer, and strangers.
    void* point = nullptr;
    plugin.component->queryInterface(IConnectionPoint::iid, &point);
    auto* connection = static_cast<IConnectionPoint*>(point);
    ConnectionProxy stranger;
    EXPECT_EQ(connection->connect(nullptr), kInvalidArgument);
    EXPECT_EQ(connection->connect(&stranger), kResultFalse);
    EXPECT_EQ(connection->disconnect(&stranger), kInvalidArgument);
    EXPECT_EQ(connection->notify(nullptr), kInvalidArgument);
    connection->release();
    EXPECT_EQ(stranger.held(), 0);
}

TEST(Vst3BadInput, RatesThatAreNoRatesAreRefusedAndTheLastGoodOneStays) {
    Module module;
    Instance plugin(module);
    for (double rate : {0.0, -48000.0, kNaN, std::numeric_limits<double>::infinity()}) {
        ProcessSetup setup{kRealtime, kSample32, 512, rate};
        EXPECT_EQ(plugin.processor->setupProcessing(&setup), kInvalidArgument) << rate;
    }
    ProcessSetup oddSize{kRealtime, 9, 512, 48000};
    EXPECT_EQ(plugin.processor->setupProcessing(&oddSize), kInvalidArgument);
    // Activated with no good set-up at all: the engine's 44.1 kHz.
    EXPECT_EQ(plugin.component->setActive(1), kResultOk);
    Buffers<float> in(2, std::vector<float>(4000));
    for (size_t i = 0; i < in[0].size(); ++i) in[0][i] = in[1][i] = static_cast<float>(std::sin(i * 0.1));
    const Buffers<float> atDefault = plugin.process(in, {512});
    Instance reference(module);
    ASSERT_TRUE(reference.start(44100));
    EXPECT_EQ(reference.process(in, {512}), atDefault);
    EXPECT_EQ(processSilence(plugin.processor, 16, 5), kInvalidArgument);
}

TEST(Vst3BadInput, ParameterIdsAndValuesOutsideTheirRanges) {
    Module module;
    Instance plugin(module);
    IEditController* controller = plugin.controller;
    for (ParamID unknown : {1u, 3u, 7u, 999u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        EXPECT_EQ(controller->setParamNormalized(unknown, 0.5), kInvalidArgument) << unknown;
        EXPECT_EQ(controller->getParamNormalized(unknown), 0.0) << unknown;
        String128 text{};
        EXPECT_EQ(controller->getParamStringByValue(unknown, 0.5, text), kInvalidArgument) << unknown;
    }
    EXPECT_EQ(controller->setParamNormalized(5, 0.25), kResultOk);
    EXPECT_EQ(controller->setParamNormalized(5, kNaN), kInvalidArgument);
    EXPECT_EQ(controller->getParamNormalized(5), 0.25);
    EXPECT_EQ(controller->setParamNormalized(5, 1.5), kResultOk);
    EXPECT_EQ(controller->getParamNormalized(5), 1.0);
    EXPECT_EQ(controller->setParamNormalized(kProgramId, -3.0), kResultOk);
    EXPECT_EQ(controller->getParamNormalized(kProgramId), 0.0);
    String128 text{};
    EXPECT_EQ(controller->getParamStringByValue(4, kNaN, text), kResultOk);
    EXPECT_EQ(controller->getParamStringByValue(4, 7.0, text), kResultOk);
    // The controller reported nothing back for any of it.
    EXPECT_TRUE(plugin.handler.performed.empty());

    // In the processor: NaN points change nothing, values beyond the range
    // count as its ends, the meter and unknown IDs are not taken.
    ASSERT_TRUE(plugin.start(48000));
    Buffers<float> in(2, std::vector<float>(6000));
    for (size_t i = 0; i < in[0].size(); ++i) in[0][i] = in[1][i] = static_cast<float>(0.7 * std::sin(i * 0.05));
    Instance clean(module);
    ASSERT_TRUE(clean.start(48000));
    const Buffers<float> expected = clean.process(in, {512}, {{5, 0, 1.0}, {6, 0, 0.0}});
    const Buffers<float> got = plugin.process(
        in, {512}, {{5, 0, kNaN}, {5, 0, 7.5}, {6, 0, -2.0}, {kGainReductionId, 0, 1.0}, {3, 0, 1.0}, {77, 0, 0.5}});
    EXPECT_EQ(got, expected);
}
