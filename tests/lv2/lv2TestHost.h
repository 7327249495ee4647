// A small LV2 host for tests, on Debian's lilv: loads the built bundle, maps
// URIs, instantiates either plug-in, sets controls by symbol, runs audio and
// saves and restores state the way session-saving hosts do.
#pragma once

#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <map>
#include <string>
#include <vector>

class UridMap {
public:
    UridMap();
    LV2_URID_Map* map() { return &mapFeature; }
    LV2_URID_Unmap* unmap() { return &unmapFeature; }
    // The features to instantiate with: urid:map and urid:unmap.
    const LV2_Feature* const* features() { return featureList; }

private:
    static LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri);
    static const char* unmapUrid(LV2_URID_Unmap_Handle handle, LV2_URID urid);
    std::map<std::string, LV2_URID> ids;
    std::vector<std::string> uris;
    LV2_URID_Map mapFeature;
    LV2_URID_Unmap unmapFeature;
    LV2_Feature mapEntry, unmapEntry;
    const LV2_Feature* featureList[3];
};

// One world with the bundle loaded, shared by a test's instances.
class Lv2World {
public:
    Lv2World();
    ~Lv2World();
    const LilvPlugin* plugin(const char* uri) const;
    LilvWorld* world = nullptr;
    UridMap urids;
};

class Lv2TestInstance {
public:
    // withFeatures false instantiates with no features at all, as lv2apply does.
    Lv2TestInstance(Lv2World& world, const char* uri, double rate, bool withFeatures = true);
    ~Lv2TestInstance();
    Lv2TestInstance(const Lv2TestInstance&) = delete;
    Lv2TestInstance& operator=(const Lv2TestInstance&) = delete;

    bool valid() const { return instance != nullptr; }
    void set(const std::string& symbol, float value);
    float get(const std::string& symbol) const;
    // Processes channels in place when out is the same vectors as in; the
    // key inputs stay unconnected unless given.
    void run(std::vector<float*> in, std::vector<float*> out, unsigned frames, std::vector<float*> key = {});
    // Runs separate buffers in blocks of the given sizes, cycling through them.
    std::vector<std::vector<float>> process(const std::vector<std::vector<float>>& in,
                                            const std::vector<unsigned>& blocks,
                                            const std::vector<std::vector<float>>* key = nullptr);

    // State as a host saves it with a session: ports and the plug-in's own.
    LilvState* saveState();
    void restoreState(const LilvState* state);
    // The plug-in's own state interface, for restores of hand-made states.
    const void* extension(const char* uri) const;
    void* handle() const;

    Lv2World& world;
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    std::map<std::string, uint32_t> index;
    std::vector<float> controls;  // one slot per port; audio ports' slots unused
    uint32_t audioIns = 0, audioOuts = 0;
    std::vector<uint32_t> inputPorts, outputPorts, keyPorts;
};
