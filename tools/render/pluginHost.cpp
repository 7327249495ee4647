// Loading an effect through its entry point, its identity, its parameters and
// the processing life cycle: rate, block size, layout, precision, resume,
// process, suspend, close.
#include "pluginHost.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <mutex>

#include "formats/vst2/meterRequest.h"
#include "toolError.h"

namespace render {

using namespace vst2;

namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

VstSpeakerArrangement arrangementFor(int channels) {
    VstSpeakerArrangement a;
    std::memset(&a, 0, sizeof(a));
    a.numChannels = channels;
    a.type = channels == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
    if (channels == 1) {
        a.speakers[0].type = kSpeakerM;
        std::strcpy(a.speakers[0].name, "M");
    } else {
        a.speakers[0].type = kSpeakerL;
        a.speakers[1].type = kSpeakerR;
        a.speakers[1].azimuth = 1.0f;
        std::strcpy(a.speakers[0].name, "L");
        std::strcpy(a.speakers[1].name, "R");
    }
    return a;
}

}  // namespace

thread_local PluginHost* PluginHost::loadingHost = nullptr;

namespace {
std::mutex& lifecycleMutex() {
    static std::mutex m;
    return m;
}
}  // namespace

PluginHost::PluginHost(const std::string& path) {
    const std::lock_guard<std::mutex> turn(lifecycleMutex());
    ident.path = path;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) throw ToolError("no plug-in at " + path);
    if (!std::filesystem::is_regular_file(path, ec))
        throw ToolError(path + " is not a VST 2.x plug-in (not a regular file)");
    // A bare file name would make the loader search the system's folders.
    std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
    std::string reason;
    library = platform::SharedLibrary::open(loadPath, &reason);
    if (!library)
        throw ToolError(path + " is not a VST 2.x plug-in (cannot load it: " + reason + ")");
    entry = reinterpret_cast<Entry>(library->symbol("VSTPluginMain"));
    if (!entry) entry = reinterpret_cast<Entry>(library->symbol("main"));
    if (!entry)
        throw ToolError(path + " is not a VST 2.x plug-in (it exports neither VSTPluginMain nor main)");

    effect = callEntry(0);
    if (!effect) throw ToolError("the entry point of " + path + " returned no effect");
    if (effect->magic != kEffectMagic) {
        effect = nullptr;  // not ours to close: we cannot trust its dispatcher
        throw ToolError(path + " is not a VST 2.x plug-in (its entry point returned no effect record)");
    }
    dispatch(effOpen);
    // From here on a refusal closes the effect: the destructor does not run
    // for an object whose constructor threw.
    try {
        if (dispatch(effGetPlugCategory) == kPlugCategShell) openShellMember();
        readIdentity();
        if (!effect->processReplacing && !(effect->processDoubleReplacing && ident.canDouble))
            throw ToolError(ident.displayName() + " has no replacing process call");
    } catch (...) {
        if (effect) dispatch(effClose);
        effect = nullptr;
        throw;
    }
}

PluginHost::~PluginHost() {
    const std::lock_guard<std::mutex> turn(lifecycleMutex());
    if (effect) {
        if (started) stop();
        dispatch(effClose);
        effect = nullptr;
    }
    library.reset();
}

AEffect* PluginHost::callEntry(int32 shellId) {
    currentShellId = shellId;
    loadingHost = this;
    AEffect* e = entry(&PluginHost::callback);
    loadingHost = nullptr;
    if (e && e->magic == kEffectMagic) e->user = this;
    return e;
}

// A shell file holds several effects behind one entry point: the host lists
// them with effShellGetNextPlugin and asks the entry again for one by its ID.
void PluginHost::openShellMember() {
    std::vector<std::pair<int32, std::string>> members;
    for (int guard = 0; guard < 4096; ++guard) {
        char name[kVstMaxProductStrLen + 1] = {};
        const int32 id = static_cast<int32>(dispatch(effShellGetNextPlugin, 0, 0, name));
        if (id == 0) break;
        name[sizeof(name) - 1] = 0;
        members.emplace_back(id, name);
    }
    dispatch(effClose);
    effect = nullptr;
    if (members.empty()) throw ToolError(ident.path + " is a shell plug-in holding no effects");
    effect = callEntry(members.front().first);
    if (!effect || effect->magic != kEffectMagic) {
        effect = nullptr;
        throw ToolError("the shell " + ident.path + " returned no effect for its first member \"" +
                        members.front().second + "\"");
    }
    ident.shellMember = members.front().second;
    dispatch(effOpen);
}

void PluginHost::readIdentity() {
    ident.effectName = trimmed(text(effGetEffectName));
    ident.productName = trimmed(text(effGetProductString));
    ident.vendor = trimmed(text(effGetVendorString));
    ident.vendorVersion = static_cast<int32>(dispatch(effGetVendorVersion));
    ident.category = static_cast<int32>(dispatch(effGetPlugCategory));
    ident.uniqueID = effect->uniqueID;
    ident.numInputs = effect->numInputs;
    ident.numOutputs = effect->numOutputs;
    ident.numParams = std::max<int32>(0, effect->numParams);
    ident.canDouble = (effect->flags & effFlagsCanDoubleReplacing) && effect->processDoubleReplacing;
    if (ident.effectName.empty() && !ident.shellMember.empty()) ident.effectName = ident.shellMember;
}

bool PluginHost::isKorvaneBrassel() const {
    return ident.uniqueID == fourCharCode('K', 'v', 'B', 'r');
}

intptr PluginHost::dispatch(int32 opcode, int32 index, intptr value, void* ptr, float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

// Effects are told 8 characters and often write more; the buffer is roomy
// and cut at its end whatever they do.
std::string PluginHost::text(int32 opcode, int32 index) {
    char buffer[512] = {};
    dispatch(opcode, index, 0, buffer);
    buffer[sizeof(buffer) - 1] = 0;
    return buffer;
}

std::string PluginHost::parameterName(int index) { return trimmed(text(effGetParamName, index)); }
std::string PluginHost::parameterDisplay(int index) {
    return trimmed(text(effGetParamDisplay, index));
}
std::string PluginHost::parameterLabel(int index) { return trimmed(text(effGetParamLabel, index)); }
float PluginHost::getParameter(int index) { return effect->getParameter(effect, index); }
void PluginHost::setParameter(int index, float value) {
    effect->setParameter(effect, index, value);
}

int PluginHost::pinCount() const {
    return std::max({2, static_cast<int>(ident.numInputs), static_cast<int>(ident.numOutputs)});
}

void PluginHost::negotiateLayout(int channelCount) {
    VstSpeakerArrangement in = arrangementFor(channelCount);
    VstSpeakerArrangement out = arrangementFor(channelCount);
    layoutAccepted = dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr>(&in), &out) != 0;
    // An effect that refuses still gets a sensible feed: a mono signal goes to
    // both inputs of a stereo effect and its first output is kept.
}

void PluginHost::start(double sampleRate, int blockSize, int channelCount, bool useDouble) {
    const std::string name = ident.displayName();
    if (ident.numInputs < 1) throw ToolError(name + " has no audio inputs; it is not an effect");
    if (channelCount > ident.numInputs || channelCount > ident.numOutputs) {
        throw ToolError(name + " has " + std::to_string(ident.numInputs) + " input(s) and " +
                        std::to_string(ident.numOutputs) + " output(s); a " +
                        (channelCount == 2 ? "stereo" : "mono") + " file needs " +
                        std::to_string(channelCount));
    }
    if (useDouble && !ident.canDouble)
        throw UsageError(name + " cannot process 64-bit samples; use --precision 32");
    if (!useDouble && !effect->processReplacing)
        throw UsageError(name + " cannot process 32-bit samples; use --precision 64");
    if (started) stop();
    rate = sampleRate;
    maxBlock = blockSize;
    channels = channelCount;
    doublePrecision = useDouble;

    const int pins = pinCount();
    floatIn.assign(pins, std::vector<float>(useDouble ? 0 : blockSize));
    floatOut.assign(pins, std::vector<float>(useDouble ? 0 : blockSize));
    doubleIn.assign(pins, std::vector<double>(useDouble ? blockSize : 0));
    doubleOut.assign(pins, std::vector<double>(useDouble ? blockSize : 0));
    floatInPtr.clear();
    floatOutPtr.clear();
    doubleInPtr.clear();
    doubleOutPtr.clear();
    for (int p = 0; p < pins; ++p) {
        floatInPtr.push_back(floatIn[p].data());
        floatOutPtr.push_back(floatOut[p].data());
        doubleInPtr.push_back(doubleIn[p].data());
        doubleOutPtr.push_back(doubleOut[p].data());
    }

    timeInfo = VstTimeInfo{};
    timeInfo.sampleRate = rate;
    timeInfo.tempo = 120.0;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.flags = kVstTransportPlaying | kVstTransportChanged | kVstPpqPosValid |
                     kVstTempoValid | kVstBarsValid | kVstTimeSigValid;

    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    dispatch(effSetBlockSize, 0, blockSize);
    negotiateLayout(channelCount);
    dispatch(effSetProcessPrecision, 0, useDouble ? kVstProcessPrecision64 : kVstProcessPrecision32);
    dispatch(effMainsChanged, 0, 1);
    dispatch(effStartProcess);
    started = true;
}

void PluginHost::stop() {
    if (!started) return;
    dispatch(effStopProcess);
    dispatch(effMainsChanged, 0, 0);
    started = false;
}

void PluginHost::advanceTime(int frames) {
    timeInfo.samplePos += frames;
    timeInfo.ppqPos = timeInfo.samplePos / rate * timeInfo.tempo / 60.0;
    timeInfo.barStartPos = std::floor(timeInfo.ppqPos / 4.0) * 4.0;
    timeInfo.flags &= ~kVstTransportChanged;
}

void PluginHost::process(const std::vector<const double*>& input, const std::vector<double*>& output,
                         int frames, const std::vector<const double*>*) {
    const int pins = pinCount();
    for (int p = 0; p < pins; ++p) {
        // Mono files feed the second input too, for effects that ignore the layout.
        const double* source = p < channels ? input[p] : (channels == 1 && p == 1 ? input[0] : nullptr);
        if (doublePrecision) {
            double* pin = doubleIn[p].data();
            if (source)
                std::copy(source, source + frames, pin);
            else
                std::fill(pin, pin + frames, 0.0);
        } else {
            float* pin = floatIn[p].data();
            for (int i = 0; i < frames; ++i) pin[i] = source ? static_cast<float>(source[i]) : 0.0f;
        }
    }
    if (doublePrecision) {
        for (auto& pin : doubleOut) std::fill(pin.begin(), pin.begin() + frames, 0.0);
        processPins(doubleInPtr.data(), doubleOutPtr.data(), frames);
        for (int c = 0; c < channels; ++c)
            std::copy(doubleOut[c].begin(), doubleOut[c].begin() + frames, output[c]);
    } else {
        for (auto& pin : floatOut) std::fill(pin.begin(), pin.begin() + frames, 0.0f);
        processPins(floatInPtr.data(), floatOutPtr.data(), frames);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < frames; ++i) output[c][i] = floatOut[c][i];
    }
}

void PluginHost::processPins(float** inputs, float** outputs, int frames) {
    effect->processReplacing(effect, inputs, outputs, frames);
    advanceTime(frames);
}

void PluginHost::processPins(double** inputs, double** outputs, int frames) {
    effect->processDoubleReplacing(effect, inputs, outputs, frames);
    advanceTime(frames);
}

std::string PluginHost::programName() { return text(effGetProgramName); }

void PluginHost::setProgramName(const std::string& name) {
    char buffer[kVstMaxProgNameLen + 1] = {};
    name.copy(buffer, kVstMaxProgNameLen);
    dispatch(effSetProgramName, 0, 0, buffer);
}

std::optional<double> PluginHost::meterReading() {
    if (!isKorvaneBrassel()) return std::nullopt;
    double reading = 1.0;
    if (dispatch(effVendorSpecific, kvbr::kMeterRequestIndex, kvbr::kMeterRequestValue, &reading) != 1)
        return std::nullopt;
    return reading;
}

}  // namespace render
