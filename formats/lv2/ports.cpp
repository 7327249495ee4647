#include "ports.h"

namespace lv2ports {

const char* audioSymbol(const Layout& layout, int port) {
    static constexpr const char* kStereo[] = {"in_l", "in_r", "out_l", "out_r"};
    static constexpr const char* kMono[] = {"in", "out"};
    if (port < 0 || port >= layout.firstControl()) return nullptr;
    return layout.audioInputs == 2 ? kStereo[port] : kMono[port];
}

const char* keySymbol(const Layout& layout, int channel) {
    static constexpr const char* kStereo[] = {"key_left", "key_right"};
    if (channel < 0 || channel >= layout.audioInputs) return nullptr;
    return layout.audioInputs == 2 ? kStereo[channel] : "key_in";
}

}  // namespace lv2ports
