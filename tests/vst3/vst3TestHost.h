// A VST 3 host of the tests' own: loads the bundle's binary as hosts do
// (ModuleEntry or InitDll, GetPluginFactory), makes the processor and its
// controller in either of the two ways hosts do, joins them through proxies,
// and drives set-up, activation, processing with parameter changes at sample
// offsets, and the two states. Portable: the Windows build runs it under Wine.
#pragma once

#include <string>
#include <vector>

#include "hostObjects.h"
#include "formats/vst3/abi/factory.h"

namespace vst3test {

template <typename Sample>
using Buffers = std::vector<std::vector<Sample>>;

// The class IDs hosts keep in their projects, as text (l1 l2 l3 l4).
inline constexpr const char* kProcessorCid = "650A438C18AA443CBFDCF6DFBDDD3590";
inline constexpr const char* kControllerCid = "454EA4F8A16448AB94158377D42C9E3F";
// The IDs of the parameters beyond the five controls (0, 2, 4, 5, 6).
inline constexpr ParamID kBypassId = 1000, kProgramId = 1001, kGainReductionId = 1002;
inline constexpr ParamID kOversamplingId = 1003, kMixId = 1004, kSidechainFilterId = 1005, kKeyId = 1006;
// The 16 bytes of an ID given as 32 hex digits, in this platform's order.
Uid uidOfText(const std::string& hex);
// The text of an ID's bytes as hosts write it.
std::string textOfUid(const Uid& id);

class Module {
public:
    explicit Module(const std::string& binaryPath = KVBR_VST3_BINARY);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    bool valid() const { return factory != nullptr; }
    void* symbol(const char* name) const;

    IPluginFactory* factory = nullptr;  // counted once for the module's life
    std::string error;

private:
    void* library = nullptr;
};

// A parameter change `at` a sample of the whole run.
struct Change {
    ParamID id;
    long at;
    double value;
};

class Instance {
public:
    // Hosts that ask the component for the controller first (ours answers no
    // and they fall back), and hosts that go straight to the class ID.
    enum class Pattern { askComponentFirst, controllerClassId };
    explicit Instance(Module& module, Pattern pattern = Pattern::askComponentFirst,
                      bool withContext = true);
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;
    bool valid() const { return component && processor && controller; }

    // Set-up as hosts order it: bus layout (the side-chain's input named
    // too, and left inactive), sample size, rate, activation, processing.
    // False when the plug-in refused a step.
    bool start(double rate, bool mono = false, int32 sampleSize = kSample32, int32 maxBlock = 8192);
    void stop();

    // Runs `in` through blocks whose sizes cycle through `blocks`; each change
    // lands in the block that holds its sample, at its offset there. With a
    // key, every block also carries it as the side-chain's input bus (an
    // empty channel as a null pointer, as hosts pass an unconnected one).
    template <typename Sample>
    Buffers<Sample> process(const Buffers<Sample>& in, const std::vector<int>& blocks,
                            const std::vector<Change>& changes = {}, bool inPlace = false,
                            const Buffers<Sample>* key = nullptr);
    // A call with no audio, only changes (a host's parameter flush).
    tresult flush(const std::vector<Change>& changes);

    // The two states, saved and loaded in the host's order.
    std::vector<unsigned char> saveState();
    bool loadState(const std::vector<unsigned char>& bytes);

    HostApplication application;
    ComponentHandler handler;
    ConnectionProxy toController, toProcessor;
    ParameterChanges inputChanges, outputChanges;
    IComponent* component = nullptr;
    IAudioProcessor* processor = nullptr;
    IEditController* controller = nullptr;
    IUnitInfo* units = nullptr;
    // The meter's last value from the output changes, -1 before any, and
    // every other output change (its sample counted from the run's start).
    double meter = -1.0;
    std::vector<Change> reported;
    int32 sampleSize = kSample32;
    bool askedComponent = false;

private:
    IConnectionPoint* componentPoint = nullptr;
    IConnectionPoint* controllerPoint = nullptr;
    bool active = false;
};

}  // namespace vst3test
