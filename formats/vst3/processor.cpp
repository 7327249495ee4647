#include "processor.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "bankMessage.h"
#include "changeCursor.h"
#include "core/Compressor.h"
#include "identity.h"
#include "parameters.h"
#include "stateStream.h"
#include "text16.h"

namespace vst3 {

namespace {

bool isMainAudioBus(int32 type, int32 dir, int32 index) {
    return type == kAudio && (dir == kInput || dir == kOutput) && index == 0;
}

// The side-chain's input comes after the main one, as hosts expect of aux buses.
bool isKeyBus(int32 type, int32 dir, int32 index) {
    return type == kAudio && dir == kInput && index == 1;
}

// The parameters the processor takes from the host: all but the meter.
bool takesChanges(ParamID id) {
    const params::Parameter* parameter = params::byId(id);
    return parameter && parameter->kind != params::Kind::gainReduction;
}

}  // namespace

Processor::Processor() = default;
Processor::~Processor() = default;

tresult Processor::queryInterface(const Uid& iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (offer<IComponent>(iid, this, obj) || offer<IAudioProcessor>(iid, this, obj) ||
        offer<IProcessContextRequirements>(iid, this, obj) || offer<IConnectionPoint>(iid, this, obj))
        return kResultOk;
    return answerRoot(iid, static_cast<IComponent*>(this), obj, IPluginBase::iid);
}

uint32 Processor::release() {
    const uint32 left = refs.down();
    if (left == 0) delete this;
    return left;
}

tresult Processor::initialize(FUnknown* context) {
    if (compressor) return kResultFalse;
    // No exception may reach the host: a refusal instead.
    try {
        compressor = std::make_unique<Compressor>();
    } catch (...) {
        return kOutOfMemory;
    }
    host.keep(context);
    return kResultOk;
}

tresult Processor::terminate() {
    peer.reset();
    host.reset();
    active.store(false, std::memory_order_release);
    keyBusActive.store(false, std::memory_order_relaxed);
    compressor.reset();
    return kResultOk;
}

tresult Processor::getControllerClassId(Uid* classId) {
    if (!classId) return kInvalidArgument;
    const auto& w = vst3id::kControllerClass;
    *classId = uidOf(w.l1, w.l2, w.l3, w.l4);
    return kResultOk;
}

int32 Processor::getBusCount(int32 type, int32 dir) {
    if (type != kAudio) return 0;
    return dir == kInput ? 2 : dir == kOutput ? 1 : 0;
}

tresult Processor::getBusInfo(int32 type, int32 dir, int32 index, BusInfo* bus) {
    const bool key = isKeyBus(type, dir, index);
    if (!bus || !(key || isMainAudioBus(type, dir, index))) return kInvalidArgument;
    bus->mediaType = kAudio;
    bus->direction = dir;
    bus->channelCount = mono ? 1 : 2;
    putText(bus->name, key ? "Sidechain" : dir == kInput ? "Input" : "Output");
    bus->busType = key ? kAux : kMain;
    // A side-chain is routed on purpose: hosts leave it off until asked.
    bus->flags = key ? uint32{0} : uint32{kDefaultActive};
    return kResultOk;
}

tresult Processor::activateBus(int32 type, int32 dir, int32 index, TBool state) {
    if (isKeyBus(type, dir, index)) {
        keyBusActive.store(state != 0, std::memory_order_relaxed);
        return kResultOk;
    }
    return isMainAudioBus(type, dir, index) ? kResultOk : kInvalidArgument;
}

tresult Processor::setActive(TBool state) {
    if (!compressor) return kNotInitialized;
    // What the last process() and the last activation (Ardour also
    // activates from its audio thread) left is taken before it is touched.
    (void)handedBack.load(std::memory_order_acquire);
    const bool wanted = state != 0;
    if (wanted == active.load(std::memory_order_acquire)) return kResultOk;
    if (wanted) {
        // The engine's own fallback takes rates it cannot design for. The
        // rate as a VST 2.x host gives it, so that both plug-ins sound alike.
        compressor->setSampleRate(static_cast<float>(setup.sampleRate));
        compressor->resume();
        audio.setRate(setup.sampleRate);
        audio.settle(bypassed.load());
    } else {
        compressor->suspend();
    }
    active.store(wanted, std::memory_order_release);
    return kResultOk;
}

tresult Processor::setState(IBStream* state) {
    if (!compressor) return kNotInitialized;
    if (!state) return kInvalidArgument;
    bool bypass = false;
    bool loaded = false;
    try {
        loaded = state::load(state, compressor->bank(), compressor->parameters(), bypass);
    } catch (...) {
    }
    if (!loaded) return kResultFalse;
    bypassed.store(bypass);
    return kResultOk;
}

tresult Processor::getState(IBStream* state) {
    if (!compressor) return kNotInitialized;
    if (!state) return kInvalidArgument;
    return state::save(state, compressor->bank(), compressor->parameters(), bypassed.load())
               ? kResultOk
               : kResultFalse;
}

tresult Processor::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                      SpeakerArrangement* outputs, int32 numOuts) {
    if (active.load(std::memory_order_relaxed)) return kResultFalse;
    // The side-chain, when the host names it too, has the main input's layout.
    const bool inputsAlike = inputs && (numIns == 1 || (numIns == 2 && inputs[1] == inputs[0]));
    const bool oneBusEach = inputsAlike && outputs && numOuts == 1;
    const bool wantMono = oneBusEach && inputs[0] == kSpeakerArrangementMono &&
                          outputs[0] == kSpeakerArrangementMono;
    const bool wantStereo = oneBusEach && inputs[0] == kSpeakerArrangementStereo &&
                            outputs[0] == kSpeakerArrangementStereo;
    // Anything else leaves stereo in place, the nearest layout we do.
    mono = wantMono;
    return wantMono || wantStereo ? kResultTrue : kResultFalse;
}

tresult Processor::getBusArrangement(int32 dir, int32 index, SpeakerArrangement* arr) {
    if (!arr || !(isMainAudioBus(kAudio, dir, index) || isKeyBus(kAudio, dir, index)))
        return kInvalidArgument;
    *arr = mono ? kSpeakerArrangementMono : kSpeakerArrangementStereo;
    return kResultOk;
}

tresult Processor::canProcessSampleSize(int32 size) {
    return size == kSample32 || size == kSample64 ? kResultTrue : kResultFalse;
}

tresult Processor::setupProcessing(ProcessSetup* wanted) {
    if (!wanted) return kInvalidArgument;
    if (active.load(std::memory_order_relaxed)) return kResultFalse;
    if (!std::isfinite(wanted->sampleRate) || wanted->sampleRate <= 0.0 ||
        canProcessSampleSize(wanted->symbolicSampleSize) != kResultTrue ||
        wanted->maxSamplesPerBlock < 0)
        return kInvalidArgument;
    setup = *wanted;
    return kResultOk;
}

void Processor::applyChange(ParamID id, ParamValue value, int32 offset) {
    const params::Parameter* parameter = params::byId(id);
    // A value that is no value changes nothing.
    if (!parameter || std::isnan(value)) return;
    const int step = params::stepOf(params::steps(*parameter), value);
    switch (parameter->kind) {
        case params::Kind::control: {
            const controls::Control& control = *parameter->control;
            Parameters& values = compressor->parameters();
            // A value already showing this step stays as the program has it.
            if (step == controls::stepOfNormalised(control, values.get(control.parameter))) return;
            values.set(control.parameter, controls::normalisedOfStep(control, step));
            return;
        }
        case params::Kind::bypass:
            bypassed.store(step == 1, std::memory_order_relaxed);
            audio.setBypass(step == 1);
            return;
        case params::Kind::program:
            // A change the UI thread's turn at the bank holds back is made
            // at the start of a later block.
            if (compressor->bank().selectPresetForAudio(step)) programLoadedAt = offset;
            return;
        case params::Kind::gainReduction: return;
    }
}

tresult Processor::process(ProcessData* data) {
    if (!data || data->numSamples < 0 || canProcessSampleSize(data->symbolicSampleSize) != kResultTrue)
        return kInvalidArgument;
    const bool isActive = active.load(std::memory_order_acquire);
    if (!compressor) return kNotInitialized;
    for (int32 b = 0; b < data->numOutputs && data->outputs; ++b) data->outputs[b].silenceFlags = 0;
    // Without activation there is no audio to touch; the changes still count.
    const int32 frames = isActive ? data->numSamples : 0;
    audio.setBypass(bypassed.load(std::memory_order_relaxed));
    if (compressor->bank().retryAudioProgramChange()) programLoadedAt = 0;
    const bool keyed = keyBusActive.load(std::memory_order_relaxed);
    ChangeCursor changes(data->inputParameterChanges, data->numSamples, takesChanges);
    int32 done = 0;
    while (true) {
        const int32 next = changes.done() ? frames : std::min(changes.nextOffset(), frames);
        if (next > done) {
            audio.render(*data, *compressor, done, next, mono, keyed);
            done = next;
        }
        if (changes.done()) break;
        const int32 offset = changes.nextOffset();
        changes.applyAt(offset, [&](ParamID id, ParamValue value) { applyChange(id, value, offset); });
    }
    if (programLoadedAt >= 0) reportProgram(*data);
    if (frames > 0 && data->outputParameterChanges) {
        const ParamID meter = vst3id::kGainReductionId;
        int32 index = 0;
        if (IParamValueQueue* queue = data->outputParameterChanges->addParameterData(&meter, &index))
            queue->addPoint(0, params::gainReductionValue(compressor->getMeterReading()), &index);
    }
    handedBack.fetch_add(1, std::memory_order_release);
    return isActive || data->numSamples == 0 ? kResultOk : kNotInitialized;
}

void Processor::reportProgram(ProcessData& data) {
    const int32 at = std::min(programLoadedAt, data.numSamples > 0 ? data.numSamples - 1 : 0);
    programLoadedAt = -1;
    if (!data.outputParameterChanges) return;
    // A program holds the first controls only; the settings stay as they are.
    for (int c = 0; c < controls::kProgramCount; ++c) {
        const controls::Control& control = controls::kControls[c];
        const ParamID id = static_cast<ParamID>(control.hostId);
        const int step =
            controls::stepOfNormalised(control, compressor->parameters().get(control.parameter));
        int32 index = 0;
        if (IParamValueQueue* queue = data.outputParameterChanges->addParameterData(&id, &index))
            queue->addPoint(at, params::normalisedOf(control.steps, step), &index);
    }
}

tresult Processor::connect(IConnectionPoint* other) {
    if (!other) return kInvalidArgument;
    if (peer) return kResultFalse;
    peer.keep(other);
    return kResultOk;
}

tresult Processor::disconnect(IConnectionPoint* other) {
    if (!other || other != peer.get()) return kInvalidArgument;
    peer.reset();
    return kResultOk;
}

tresult Processor::notify(IMessage* message) {
    if (!message) return kInvalidArgument;
    if (!compressor) return kNotInitialized;
    bankMessage::Received received = bankMessage::Received::refused;
    try {
        received = bankMessage::receive(message, compressor->bank());
    } catch (...) {
    }
    return received == bankMessage::Received::restored ? kResultOk : kResultFalse;
}

}  // namespace vst3
