#include "ports.h"

namespace lv2ports {

const char* audioSymbol(const Layout& layout, int port) {
    static constexpr const char* kStereo[] = {"in_l", "in_r", "out_l", "out_r"};
    static constexpr const char* kMono[] = {"in", "out"};
    if (port < 0 || port >= layout.firstControl()) return nullptr;
    return layout.audioInputs == 2 ? kStereo[port] : kMono[port];
}

}  // namespace lv2ports
