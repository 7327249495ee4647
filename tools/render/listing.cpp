#include "listing.h"

#include <algorithm>
#include <string>
#include <vector>

#include "presetSource.h"
#include "settings.h"

namespace render {

namespace {

const char* categoryName(int category) {
    static const char* const names[] = {"unknown kind of",  "effect",     "instrument",
                                        "analysis",         "mastering",  "spatial",
                                        "room",             "surround",   "restoration",
                                        "offline",          "shell",      "generator"};
    return category >= 0 && category < 12 ? names[category] : "unknown kind of";
}

std::string describeRange(Effect& effect, int index) {
    constexpr size_t kMany = 100;
    const std::vector<std::string> steps = displaySteps(effect, index, kMany);
    if (steps.size() <= 8) {
        std::string all;
        for (const auto& s : steps) all += (all.empty() ? "" : ", ") + s;
        return all;
    }
    if (steps.size() < kMany)
        return steps.front() + " to " + steps.back() + " (" + std::to_string(steps.size()) + " steps)";
    return steps.front() + " to " + displayAt(effect, index, 1.0f);
}

}  // namespace

void printListing(Effect& effect, std::FILE* out) {
    const PluginIdentity& id = effect.identity();
    std::fprintf(out, "%s", id.displayName().c_str());
    if (!id.productName.empty() && id.productName != id.displayName())
        std::fprintf(out, " (%s)", id.productName.c_str());
    std::fprintf(out, "\n  %s, version %d, ID %s, %s plug-in\n",
                 id.vendor.empty() ? "unknown vendor" : id.vendor.c_str(), id.vendorVersion,
                 id.uniqueIDText().c_str(), categoryName(id.category));
    std::fprintf(out, "  %d input(s), %d output(s), %d parameters, %s processing\n", id.numInputs,
                 id.numOutputs, id.numParams, id.canDouble ? "32- and 64-bit" : "32-bit");
    if (!id.shellMember.empty())
        std::fprintf(out, "  the first effect of a shell plug-in: %s\n", id.shellMember.c_str());
    std::fprintf(out, "  %s\n\n", id.builtIn ? "built into kvbr-render" : id.path.c_str());

    // The name column as wide as the longest name ("Sidechain Filter").
    int width = 14;
    for (int i = 0; i < effect.numParams(); ++i)
        width = std::max(width, static_cast<int>(effect.parameterName(i).size()));
    std::fprintf(out, "  %3s  %-*s %-10s %s\n", "#", width, "Parameter", "Now", "Shows");
    std::string unnamed;
    for (int i = 0; i < effect.numParams(); ++i) {
        const std::string name = effect.parameterName(i);
        if (name.empty()) {
            unnamed += (unnamed.empty() ? "" : ", ") + std::to_string(i);
            continue;
        }
        std::string now = effect.parameterDisplay(i);
        const std::string label = effect.parameterLabel(i);
        if (!label.empty()) now += " " + label;
        std::fprintf(out, "  %3d  %-*s %-10s %s\n", i, width, name.c_str(), now.c_str(),
                     describeRange(effect, i).c_str());
    }
    if (!unnamed.empty()) std::fprintf(out, "  unnamed, without effect: %s\n", unnamed.c_str());

    if (effect.isKorvaneBrassel()) printFactoryPresets(effect, out);
}

}  // namespace render
