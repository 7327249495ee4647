// Korvane Brassel built into the tool: the core's compressor, driven the way
// the VST 2.x plug-in drives it, so that a render gives the plug-in's very
// samples for the same settings, rate, block size, layout and precision.
#pragma once

#include <vector>

#include "core/Compressor.h"
#include "effect.h"

namespace render {

class BuiltInEffect : public Effect {
public:
    BuiltInEffect();

    const PluginIdentity& identity() const override { return ident; }
    bool isKorvaneBrassel() const override { return true; }

    std::string parameterName(int index) override;
    std::string parameterDisplay(int index) override;
    std::string parameterLabel(int) override { return ""; }
    float getParameter(int index) override { return compressor.parameters().get(index); }
    void setParameter(int index, float value) override { compressor.parameters().set(index, value); }
    // Any control of the core's table, whether a plug-in format shows it or not.
    std::optional<int> controlParameter(const std::string& name) override;
    std::string programName() override;
    void setProgramName(const std::string& name) override;

    void start(double sampleRate, int blockSize, int channels, bool doublePrecision) override;
    void process(const std::vector<const double*>& input, const std::vector<double*>& output, int frames,
                 const std::vector<const double*>* key = nullptr) override;
    bool takesKey() const override { return true; }
    int pinCount() const override { return 2; }
    void processPins(float** inputs, float** outputs, int frames) override;
    void processPins(double** inputs, double** outputs, int frames) override;
    void stop() override;

    std::optional<double> meterReading() override { return compressor.getMeterReading(); }

private:
    PluginIdentity ident;
    Compressor compressor;
    int channels = 2;
    bool doublePrecision = false;
    bool started = false;
    // 32-bit processing's buffers, as a host hands the plug-in floats.
    std::vector<float> floatIn[2], floatOut[2], floatKey[2];
};

}  // namespace render
