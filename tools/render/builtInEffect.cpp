#include "builtInEffect.h"

#include <algorithm>
#include <cctype>

#include "core/controls.h"
#include "formats/vst2/aeffect.h"
#include "toolError.h"

namespace render {

namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool sameLetters(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

BuiltInEffect::BuiltInEffect() {
    // Who the VST 2.x plug-in says it is, so that listings and reports read alike.
    ident.path = "built-in";
    ident.builtIn = true;
    ident.effectName = "Korvane Brassel";
    ident.productName = "Korvane Brassel - opto compressor";
    ident.vendor = "korvane.com";
    ident.uniqueID = vst2::fourCharCode('K', 'v', 'B', 'r');
    ident.vendorVersion = 1100;
    ident.category = vst2::kPlugCategMastering;
    ident.numInputs = 2;
    ident.numOutputs = 2;
    ident.numParams = kEditorStripParameter;  // the program's twelve and the settings the sound hears
    ident.canDouble = true;
}

std::string BuiltInEffect::parameterName(int index) { return trimmed(Parameters::name(index)); }

std::string BuiltInEffect::parameterDisplay(int index) {
    return trimmed(compressor.parameters().display(index));
}

std::optional<int> BuiltInEffect::controlParameter(const std::string& name) {
    for (const controls::Control& control : controls::kControls)
        if (sameLetters(control.name, trimmed(name))) return control.parameter;
    return std::nullopt;
}

std::string BuiltInEffect::programName() {
    char name[kProgramNameLength + 1] = {};
    compressor.bank().getBankProgram(0)->getName(name);
    return name;
}

void BuiltInEffect::setProgramName(const std::string& name) {
    compressor.bank().setPresetName(name.c_str());
}

void BuiltInEffect::start(double sampleRate, int blockSize, int channelCount, bool useDouble) {
    if (channelCount < 1 || channelCount > 2)
        throw ToolError(ident.displayName() + " takes mono and stereo, not " +
                        std::to_string(channelCount) + " channels");
    if (started) stop();
    channels = channelCount;
    doublePrecision = useDouble;
    for (int c = 0; c < 2; ++c) {
        floatIn[c].assign(useDouble ? 0 : blockSize, 0.0f);
        floatOut[c].assign(useDouble ? 0 : blockSize, 0.0f);
        floatKey[c].assign(useDouble ? 0 : blockSize, 0.0f);
    }
    // As the plug-in takes a host's rate (a float) and resumes: the engine
    // designed for it, then the working program's values once more.
    compressor.setSampleRate(static_cast<float>(sampleRate));
    compressor.resume();
    compressor.bank().setProgram(0);
    started = true;
}

void BuiltInEffect::stop() {
    if (!started) return;
    compressor.suspend();
    started = false;
}

// A mono file is the plug-in's 1-in-1-out layout: one buffer is left and right.
void BuiltInEffect::processPins(float** inputs, float** outputs, int frames) {
    const int right = channels - 1;
    compressor.process(inputs[0], inputs[right], outputs[0], outputs[right], frames);
}

void BuiltInEffect::processPins(double** inputs, double** outputs, int frames) {
    const int right = channels - 1;
    compressor.process(inputs[0], inputs[right], outputs[0], outputs[right], frames);
}

void BuiltInEffect::process(const std::vector<const double*>& input, const std::vector<double*>& output,
                            int frames, const std::vector<const double*>* key) {
    const int right = channels - 1;
    // A one-channel key is heard on both sides.
    const int keyRight = key ? static_cast<int>(key->size()) - 1 : 0;
    if (doublePrecision) {
        compressor.process(input[0], input[right], output[0], output[right], frames, key ? (*key)[0] : nullptr,
                           key ? (*key)[keyRight] : nullptr);
        return;
    }
    auto narrow = [frames](const double* from, std::vector<float>& to) {
        std::transform(from, from + frames, to.begin(), [](double s) { return static_cast<float>(s); });
    };
    for (int c = 0; c < channels; ++c) narrow(input[c], floatIn[c]);
    if (key)
        for (int c = 0; c <= keyRight; ++c) narrow((*key)[c], floatKey[c]);
    compressor.process(floatIn[0].data(), floatIn[right].data(), floatOut[0].data(),
                       floatOut[right].data(), frames, key ? floatKey[0].data() : nullptr,
                       key ? floatKey[keyRight].data() : nullptr);
    for (int c = 0; c < channels; ++c) std::copy(floatOut[c].begin(), floatOut[c].begin() + frames, output[c]);
}

}  // namespace render
