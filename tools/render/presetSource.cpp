#include "presetSource.h"

#include "toolError.h"

namespace render {

ProgramValues defaultProgram() {
    ProgramValues p;
    p.name = "Default";
    p.values = {1.0f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    return p;
}

std::optional<ProgramValues> chooseProgram(const Options& options) {
    if (options.preset || options.slot || options.presetFile || options.bankFile)
        throw UsageError("presets are not available in this build yet");
    return std::nullopt;
}

void applyProgram(PluginHost& host, const ProgramValues& program) {
    for (int i = 0; i < kKvbrParameters && i < host.numParams(); ++i)
        host.setParameter(i, program.values[i]);
}

void printFactoryPresets(PluginHost&, std::FILE*) {}

}  // namespace render
