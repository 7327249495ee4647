// The effect a render runs: Korvane Brassel built into the tool, or a VST 2.x
// plug-in loaded from a file (--plugin). Settings, presets, the listing,
// batches, the bench, the summary, the plot and the editor picture know only this.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace render {

struct PluginIdentity {
    std::string path;  // the plug-in's file, or "built-in"
    bool builtIn = false;
    std::string effectName;
    std::string productName;
    std::string vendor;
    std::string shellMember;  // the effect opened from a shell, empty otherwise
    std::int32_t uniqueID = 0;
    std::int32_t vendorVersion = 0;
    std::int32_t category = 0;
    std::int32_t numInputs = 0;
    std::int32_t numOutputs = 0;
    std::int32_t numParams = 0;
    bool canDouble = false;

    std::string uniqueIDText() const;  // "KvBr", or hex when not printable
    // The name people know it by: the effect name, else the product, else the file.
    std::string displayName() const;
};

class Effect {
public:
    virtual ~Effect() = default;

    virtual const PluginIdentity& identity() const = 0;
    // Whichever way it is reached: only it takes presets, reports its meter
    // and has an editor to draw.
    virtual bool isKorvaneBrassel() const = 0;

    int numParams() const { return identity().numParams; }
    virtual std::string parameterName(int index) = 0;
    virtual std::string parameterDisplay(int index) = 0;
    virtual std::string parameterLabel(int index) = 0;
    virtual float getParameter(int index) = 0;
    virtual void setParameter(int index, float value) = 0;
    // The parameter of the compressor's control with this name (letter case
    // ignored), for an effect that has the core's table of controls; a
    // plug-in is asked for its parameters' names instead.
    virtual std::optional<int> controlParameter(const std::string&) { return std::nullopt; }
    // The name of the effect's current program, and a new one (cut to 24 characters).
    virtual std::string programName() = 0;
    virtual void setProgramName(const std::string& name) = 0;

    // Sets rate, block size, layout and precision and resumes. Throws ToolError
    // when the effect cannot take this many channels, UsageError when it
    // cannot take this precision.
    virtual void start(double sampleRate, int blockSize, int channels, bool doublePrecision) = 0;
    // One block of at most the block size; the input has `channels` buffers of
    // frames samples, the output receives the same number of channels. The
    // key (a side-chain input of one or two channels, or null) reaches only
    // an effect that takesKey().
    virtual void process(const std::vector<const double*>& input, const std::vector<double*>& output,
                         int frames, const std::vector<const double*>* key = nullptr) = 0;
    virtual bool takesKey() const { return false; }
    // The same for a caller that has the effect's own pin buffers ready (bench):
    // pinCount() of them each way, in the precision started.
    virtual int pinCount() const = 0;
    virtual void processPins(float** inputs, float** outputs, int frames) = 0;
    virtual void processPins(double** inputs, double** outputs, int frames) = 0;
    // Suspends; start may follow again.
    virtual void stop() = 0;

    // Korvane Brassel's meter reading (1.0 = no gain reduction); none for
    // other effects.
    virtual std::optional<double> meterReading() = 0;
};

// The built-in compressor without a path, else the VST 2.x plug-in at the
// path (throws ToolError naming what is wrong with it).
std::unique_ptr<Effect> openEffect(const std::optional<std::string>& pluginPath);

}  // namespace render
