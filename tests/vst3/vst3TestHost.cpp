#include "vst3TestHost.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vst3test {

Uid uidOfText(const std::string& hex) {
    std::uint32_t words[4] = {};
    for (int w = 0; w < 4 && hex.size() == 32; ++w)
        words[w] = static_cast<std::uint32_t>(std::stoul(hex.substr(8 * w, 8), nullptr, 16));
    return uidOf(words[0], words[1], words[2], words[3]);
}

std::string textOfUid(const Uid& id) {
    // Back to the four words by this platform's byte order, then as text.
    const Uid probe = uidOf(0x00010203, 0x04050607, 0x08090A0B, 0x0C0D0E0F);
    unsigned char ordered[16];
    for (int i = 0; i < 16; ++i) ordered[probe.bytes[i]] = id.bytes[i];
    std::string text;
    char digits[3];
    for (unsigned char byte : ordered) {
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += digits;
    }
    return text;
}

Module::Module(const std::string& binaryPath) {
#if defined(_WIN32)
    library = LoadLibraryA(binaryPath.c_str());
    if (!library) {
        error = "LoadLibraryA failed for " + binaryPath;
        return;
    }
    if (auto init = reinterpret_cast<bool (*)()>(symbol("InitDll")); init && !init()) {
        error = "InitDll said no";
        return;
    }
#else
    library = dlopen(binaryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        error = dlerror();
        return;
    }
    auto entry = reinterpret_cast<bool (*)(void*)>(symbol("ModuleEntry"));
    if (!entry || !entry(library)) {
        error = "no ModuleEntry, or it said no";
        return;
    }
#endif
    auto get = reinterpret_cast<IPluginFactory* (*)()>(symbol("GetPluginFactory"));
    if (!get) {
        error = "no GetPluginFactory";
        return;
    }
    factory = get();
}

Module::~Module() {
    if (factory) factory->release();
#if defined(_WIN32)
    if (auto exit = reinterpret_cast<bool (*)()>(symbol("ExitDll"))) exit();
    if (library) FreeLibrary(static_cast<HMODULE>(library));
#else
    if (auto exit = reinterpret_cast<bool (*)()>(symbol("ModuleExit"))) exit();
    if (library) dlclose(library);
#endif
}

void* Module::symbol(const char* name) const {
    if (!library) return nullptr;
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
#else
    return dlsym(library, name);
#endif
}

namespace {

template <class I>
I* query(FUnknown* object) {
    void* found = nullptr;
    if (!object || object->queryInterface(I::iid, &found) != kResultOk) return nullptr;
    return static_cast<I*>(found);
}

template <class I>
void drop(I*& object) {
    if (object) object->release();
    object = nullptr;
}

}  // namespace

Instance::Instance(Module& module, Pattern pattern, bool withContext) {
    if (!module.factory) return;
    FUnknown* context = withContext ? static_cast<FUnknown*>(&application) : nullptr;
    void* made = nullptr;
    if (module.factory->createInstance(uidOfText(kProcessorCid), IComponent::iid, &made) != kResultOk) return;
    component = static_cast<IComponent*>(made);
    if (component->initialize(context) != kResultOk) {
        drop(component);
        return;
    }
    processor = query<IAudioProcessor>(component);
    if (pattern == Pattern::askComponentFirst) {
        askedComponent = true;
        controller = query<IEditController>(component);
    }
    if (!controller) {
        Uid controllerId{};
        made = nullptr;
        if (component->getControllerClassId(&controllerId) == kResultOk &&
            module.factory->createInstance(controllerId, IEditController::iid, &made) == kResultOk) {
            controller = static_cast<IEditController*>(made);
            if (controller->initialize(context) != kResultOk) drop(controller);
        }
    }
    if (!controller) return;
    units = query<IUnitInfo>(controller);
    controller->setComponentHandler(&handler);
    componentPoint = query<IConnectionPoint>(component);
    controllerPoint = query<IConnectionPoint>(controller);
    if (componentPoint && controllerPoint) {
        toController.target = controllerPoint;
        toProcessor.target = componentPoint;
        componentPoint->connect(&toController);
        controllerPoint->connect(&toProcessor);
    }
    MemoryStream state;
    component->getState(&state);
    state.position = 0;
    controller->setComponentState(&state);
}

Instance::~Instance() {
    stop();
    if (componentPoint) componentPoint->disconnect(&toController);
    if (controllerPoint) controllerPoint->disconnect(&toProcessor);
    drop(componentPoint);
    drop(controllerPoint);
    drop(units);
    if (controller) {
        controller->setComponentHandler(nullptr);
        controller->terminate();
    }
    drop(controller);
    drop(processor);
    if (component) component->terminate();
    drop(component);
}

bool Instance::start(double rate, bool mono, int32 size, int32 maxBlock) {
    if (!valid()) return false;
    SpeakerArrangement layout = mono ? kSpeakerArrangementMono : kSpeakerArrangementStereo;
    SpeakerArrangement in[2] = {layout, layout}, out = layout;
    if (processor->setBusArrangements(in, 2, &out, 1) != kResultTrue) return false;
    component->activateBus(kAudio, kInput, 0, 1);
    component->activateBus(kAudio, kOutput, 0, 1);
    if (processor->canProcessSampleSize(size) != kResultTrue) return false;
    ProcessSetup setup{kRealtime, size, maxBlock, rate};
    if (processor->setupProcessing(&setup) != kResultOk) return false;
    if (component->setActive(1) != kResultOk) return false;
    processor->setProcessing(1);
    sampleSize = size;
    active = true;
    return true;
}

void Instance::stop() {
    if (!active) return;
    processor->setProcessing(0);
    component->setActive(0);
    active = false;
}

template <typename Sample>
Buffers<Sample> Instance::process(const Buffers<Sample>& in, const std::vector<int>& blocks,
                                  const std::vector<Change>& changes, bool inPlace,
                                  const Buffers<Sample>* key) {
    Buffers<Sample> out = inPlace ? in : Buffers<Sample>(in.size(), std::vector<Sample>(in[0].size()));
    const long frames = static_cast<long>(in[0].size());
    size_t nextBlock = 0;
    for (long done = 0; done < frames;) {
        const int32 n = static_cast<int32>(std::min<long>(blocks[nextBlock++ % blocks.size()], frames - done));
        std::vector<Sample*> inPointers, outPointers, keyPointers;
        for (size_t c = 0; c < in.size(); ++c) {
            inPointers.push_back(inPlace ? out[c].data() + done : const_cast<Sample*>(in[c].data()) + done);
            outPointers.push_back(out[c].data() + done);
        }
        if (key)
            for (const auto& channel : *key)
                keyPointers.push_back(channel.empty() ? nullptr : const_cast<Sample*>(channel.data()) + done);
        AudioBusBuffers inBuses[2] = {
            {static_cast<int32>(in.size()), 0, reinterpret_cast<void**>(inPointers.data())},
            {static_cast<int32>(keyPointers.size()), 0, reinterpret_cast<void**>(keyPointers.data())}};
        AudioBusBuffers outBus{static_cast<int32>(in.size()), 0, reinterpret_cast<void**>(outPointers.data())};
        inputChanges.clear();
        outputChanges.clear();
        for (const Change& change : changes)
            if (change.at >= done && change.at < done + n)
                inputChanges.add(change.id, static_cast<int32>(change.at - done), change.value);
        ProcessData data{kRealtime, sampleSize, n, key ? 2 : 1, 1, inBuses, &outBus, &inputChanges,
                         &outputChanges, nullptr, nullptr, nullptr};
        processor->process(&data);
        for (int32 q = 0; q < outputChanges.getParameterCount(); ++q) {
            auto* queue = static_cast<ValueQueue*>(outputChanges.getParameterData(q));
            for (const auto& [offset, value] : queue->points)
                if (queue->id == kGainReductionId)
                    meter = value;
                else
                    reported.push_back({queue->id, done + offset, value});
        }
        done += n;
    }
    return out;
}

template Buffers<float> Instance::process(const Buffers<float>&, const std::vector<int>&,
                                          const std::vector<Change>&, bool, const Buffers<float>*);
template Buffers<double> Instance::process(const Buffers<double>&, const std::vector<int>&,
                                           const std::vector<Change>&, bool, const Buffers<double>*);

tresult Instance::flush(const std::vector<Change>& changes) {
    inputChanges.clear();
    for (const Change& change : changes) inputChanges.add(change.id, static_cast<int32>(change.at), change.value);
    ProcessData data{kRealtime, sampleSize, 0, 0, 0, nullptr, nullptr, &inputChanges,
                     nullptr, nullptr, nullptr, nullptr};
    return processor->process(&data);
}

std::vector<unsigned char> Instance::saveState() {
    MemoryStream stream;
    if (component->getState(&stream) != kResultOk) return {};
    MemoryStream controllerStream;
    controller->getState(&controllerStream);
    return stream.bytes;
}

bool Instance::loadState(const std::vector<unsigned char>& bytes) {
    MemoryStream forComponent(bytes), forController(bytes);
    if (component->setState(&forComponent) != kResultOk) return false;
    return controller->setComponentState(&forController) == kResultOk;
}

}  // namespace vst3test
