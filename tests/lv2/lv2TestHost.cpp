#include "lv2TestHost.h"

#include <lv2/state/state.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

UridMap::UridMap() {
    mapFeature = {this, mapUri};
    unmapFeature = {this, unmapUrid};
    mapEntry = {LV2_URID__map, &mapFeature};
    unmapEntry = {LV2_URID__unmap, &unmapFeature};
    featureList[0] = &mapEntry;
    featureList[1] = &unmapEntry;
    featureList[2] = nullptr;
}

LV2_URID UridMap::mapUri(LV2_URID_Map_Handle handle, const char* uri) {
    auto* self = static_cast<UridMap*>(handle);
    auto found = self->ids.find(uri);
    if (found != self->ids.end()) return found->second;
    self->uris.emplace_back(uri);
    return self->ids[uri] = static_cast<LV2_URID>(self->uris.size());
}

const char* UridMap::unmapUrid(LV2_URID_Unmap_Handle handle, LV2_URID urid) {
    auto* self = static_cast<UridMap*>(handle);
    return urid >= 1 && urid <= self->uris.size() ? self->uris[urid - 1].c_str() : nullptr;
}

Lv2World::Lv2World() {
    world = lilv_world_new();
    // Only the bundle under test, whatever else the machine has installed.
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, KVBR_LV2_BUNDLE "/");
    lilv_world_load_bundle(world, bundle);
    lilv_node_free(bundle);
    lilv_world_load_specifications(world);
    lilv_world_load_plugin_classes(world);
}

Lv2World::~Lv2World() { lilv_world_free(world); }

const LilvPlugin* Lv2World::plugin(const char* uri) const {
    LilvNode* node = lilv_new_uri(world, uri);
    const LilvPlugin* found = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), node);
    lilv_node_free(node);
    return found;
}

Lv2TestInstance::Lv2TestInstance(Lv2World& world, const char* uri, double rate, bool withFeatures)
    : world(world), plugin(world.plugin(uri)) {
    if (!plugin) return;
    const uint32_t ports = lilv_plugin_get_num_ports(plugin);
    controls.assign(ports, 0.0f);
    std::vector<float> defaults(ports);
    lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
    LilvNode* audio = lilv_new_uri(world.world, LV2_CORE__AudioPort);
    LilvNode* input = lilv_new_uri(world.world, LV2_CORE__InputPort);
    LilvNode* sideChain = lilv_new_uri(world.world, LV2_CORE_PREFIX "isSideChain");
    for (uint32_t i = 0; i < ports; ++i) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
        index[lilv_node_as_string(lilv_port_get_symbol(plugin, port))] = i;
        if (lilv_port_is_a(plugin, port, audio))
            (lilv_port_has_property(plugin, port, sideChain) ? keyPorts
             : lilv_port_is_a(plugin, port, input)          ? inputPorts
                                                            : outputPorts)
                .push_back(i);
        else
            controls[i] = std::isnan(defaults[i]) ? 0.0f : defaults[i];
    }
    lilv_node_free(audio);
    lilv_node_free(input);
    lilv_node_free(sideChain);
    instance = lilv_plugin_instantiate(plugin, rate, withFeatures ? world.urids.features() : nullptr);
    if (!instance) return;
    for (uint32_t i = 0; i < ports; ++i) lilv_instance_connect_port(instance, i, &controls[i]);
    lilv_instance_activate(instance);
}

Lv2TestInstance::~Lv2TestInstance() {
    if (!instance) return;
    lilv_instance_deactivate(instance);
    lilv_instance_free(instance);
}

void Lv2TestInstance::set(const std::string& symbol, float value) { controls.at(index.at(symbol)) = value; }
float Lv2TestInstance::get(const std::string& symbol) const { return controls.at(index.at(symbol)); }

void Lv2TestInstance::run(std::vector<float*> in, std::vector<float*> out, unsigned frames, std::vector<float*> key) {
    for (size_t c = 0; c < inputPorts.size(); ++c) lilv_instance_connect_port(instance, inputPorts[c], in[c]);
    for (size_t c = 0; c < keyPorts.size(); ++c)
        lilv_instance_connect_port(instance, keyPorts[c], c < key.size() ? key[c] : nullptr);
    for (size_t c = 0; c < outputPorts.size(); ++c)
        lilv_instance_connect_port(instance, outputPorts[c], out[c]);
    lilv_instance_run(instance, frames);
}

std::vector<std::vector<float>> Lv2TestInstance::process(const std::vector<std::vector<float>>& in,
                                                         const std::vector<unsigned>& blocks,
                                                         const std::vector<std::vector<float>>* key) {
    std::vector<std::vector<float>> out(outputPorts.size(), std::vector<float>(in[0].size()));
    size_t done = 0, next = 0;
    while (done < in[0].size()) {
        const unsigned n = static_cast<unsigned>(
            std::min<size_t>(blocks[next++ % blocks.size()], in[0].size() - done));
        std::vector<float*> ins, outs, keys;
        for (auto& channel : in) ins.push_back(const_cast<float*>(channel.data()) + done);
        for (auto& channel : out) outs.push_back(channel.data() + done);
        if (key)
            for (auto& channel : *key) keys.push_back(const_cast<float*>(channel.data()) + done);
        run(ins, outs, n, keys);
        done += n;
    }
    return out;
}

namespace {

const void* portValue(const char* symbol, void* user, uint32_t* size, uint32_t* type) {
    auto* self = static_cast<Lv2TestInstance*>(user);
    *size = sizeof(float);
    *type = self->world.urids.map()->map(self->world.urids.map()->handle,
                                         "http://lv2plug.in/ns/ext/atom#Float");
    return &self->controls.at(self->index.at(symbol));
}

void setPortValue(const char* symbol, void* user, const void* value, uint32_t size, uint32_t) {
    auto* self = static_cast<Lv2TestInstance*>(user);
    if (size == sizeof(float)) std::memcpy(&self->controls.at(self->index.at(symbol)), value, size);
}

}  // namespace

LilvState* Lv2TestInstance::saveState() {
    return lilv_state_new_from_instance(plugin, instance, world.urids.map(), nullptr, nullptr,
                                        nullptr, nullptr, portValue, this,
                                        LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, nullptr);
}

void Lv2TestInstance::restoreState(const LilvState* state) {
    lilv_state_restore(state, instance, setPortValue, this, 0, nullptr);
}

const void* Lv2TestInstance::extension(const char* uri) const {
    return lilv_instance_get_extension_data(instance, uri);
}

void* Lv2TestInstance::handle() const { return lilv_instance_get_handle(instance); }
