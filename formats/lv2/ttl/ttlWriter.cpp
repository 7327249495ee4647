#include "ttlWriter.h"

#include <cstdio>
#include <ostream>
#include <sstream>

#include "kvbrVersion.h"
#include "formats/lv2/ports.h"
#include "core/programs/CProgram.h"
#include "core/programs/factoryPresets.h"

namespace lv2ttl {

namespace {

// LV2 takes an odd minor or micro version, or minor version 0, for a
// development release, and of two bundles of one plug-in loads the higher
// version; so each product version maps onto even numbers that grow with it
// (1.1.0 is 2.0, 1.2.3 is 4.6, 2.0.0 is 200.0).
constexpr int kLv2MinorVersion = 2 * (100 * (KVBR_VERSION_MAJOR - 1) + KVBR_VERSION_MINOR);
constexpr int kLv2MicroVersion = 2 * KVBR_VERSION_PATCH;
static_assert(KVBR_VERSION_MINOR < 100 && kLv2MinorVersion > 0,
              "the LV2 version must grow with the product version and not read as a development one");

constexpr const char* kPrefixes =
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

struct Plugin {
    const char* uri;
    const char* name;
    const lv2ports::Layout& layout;
    const char* presetStem;  // preset URIs are the stem and the slot number
};
const Plugin kPlugins[] = {
    {lv2ports::kStereoUri, "Korvane Brassel", lv2ports::kStereoLayout,
     "https://korvane.com/plugins/brassel#preset"},
    {lv2ports::kMonoUri, "Korvane Brassel Mono", lv2ports::kMonoLayout,
     "https://korvane.com/plugins/brassel#mono-preset"},
};
// Both plug-ins belong to one project, which names the maker.
constexpr const char* kProject = "https://korvane.com/plugins/brassel#project";
constexpr int kFirstPresetSlot = 1;  // slot 0 is the working program, not a preset

// A decimal Turtle reads as a number, with no more digits than it needs.
std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    std::string s = text;
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

std::string quoted(const char* text) {
    std::string s = "\"";
    for (const char* c = text; *c; ++c) {
        if (*c == '"' || *c == '\\') s += '\\';
        s += *c;
    }
    return s + "\"";
}

void audioPort(std::ostream& out, const lv2ports::Layout& layout, int index) {
    static constexpr const char* kStereoNames[] = {"Left In", "Right In", "Left Out", "Right Out"};
    static constexpr const char* kMonoNames[] = {"In", "Out"};
    const bool input = index < layout.audioInputs;
    out << "[\n        a lv2:AudioPort, " << (input ? "lv2:InputPort" : "lv2:OutputPort")
        << " ;\n        lv2:index " << index << " ;\n        lv2:symbol "
        << quoted(lv2ports::audioSymbol(layout, index)) << " ;\n        lv2:name "
        << quoted(layout.audioInputs == 2 ? kStereoNames[index] : kMonoNames[index])
        << " ;\n    ]";
}

// The key inputs: optional, so a host that routes nothing there still runs the plug-in.
void keyPort(std::ostream& out, const lv2ports::Layout& layout, int channel) {
    static constexpr const char* kNames[] = {"Sidechain Left", "Sidechain Right"};
    out << "[\n        a lv2:AudioPort, lv2:InputPort ;\n        lv2:index " << layout.keyPort(channel)
        << " ;\n        lv2:symbol " << quoted(lv2ports::keySymbol(layout, channel))
        << " ;\n        lv2:name " << quoted(layout.audioInputs == 2 ? kNames[channel] : "Sidechain")
        << " ;\n        lv2:portProperty lv2:isSideChain, lv2:connectionOptional ;\n    ]";
}

void controlPort(std::ostream& out, const controls::Control& port, int index) {
    out << "[\n        a lv2:ControlPort, lv2:InputPort ;\n        lv2:index " << index
        << " ;\n        lv2:symbol " << quoted(port.symbol) << " ;\n        lv2:name "
        << quoted(port.name) << " ;\n        lv2:default " << number(port.defaultValue)
        << " ;\n        lv2:minimum " << number(port.minimum) << " ;\n        lv2:maximum "
        << number(port.maximum) << " ;\n";
    if (port.enumeration) {
        out << "        lv2:portProperty lv2:integer, lv2:enumeration ;\n";
        for (int step = 0; step <= port.steps; ++step)
            out << "        lv2:scalePoint [ rdfs:label "
                << quoted(controls::textOfStep(port, step).c_str()) << " ; rdf:value " << step
                << " ] ;\n";
    } else {
        out << "        pprops:rangeSteps " << port.steps + 1 << " ;\n";
    }
    if (port.decibels) out << "        units:unit units:db ;\n";
    if (port.id == controls::Id::mix) out << "        units:unit units:pc ;\n";
    out << "    ]";
}

void gainReductionPort(std::ostream& out, int index) {
    out << "[\n        a lv2:ControlPort, lv2:OutputPort ;\n        lv2:index " << index
        << " ;\n        lv2:symbol " << quoted(lv2ports::kGainReductionSymbol)
        << " ;\n        lv2:name \"Gain Reduction\" ;\n        lv2:default 0.0 ;\n"
        << "        lv2:minimum 0.0 ;\n        lv2:maximum "
        << number(controls::kGainReductionMaximum) << " ;\n        units:unit units:db ;\n    ]";
}

void presetSubject(std::ostream& out, const Plugin& plugin, int slot) {
    out << "<" << plugin.presetStem << slot << ">\n    a pset:Preset ;\n    lv2:appliesTo <"
        << plugin.uri << "> ;\n";
}

}  // namespace

std::string manifest(const std::string& dspBinary, const std::string& uiBinary) {
    std::ostringstream out;
    out << kPrefixes;
    out << "<" << lv2ports::kUiUri << ">\n    a ui:X11UI ;\n    ui:binary <" << uiBinary
        << "> ;\n    rdfs:seeAlso <korvane-brassel.ttl> .\n\n";
    for (const Plugin& plugin : kPlugins) {
        out << "<" << plugin.uri << ">\n    a lv2:Plugin ;\n    lv2:binary <" << dspBinary
            << "> ;\n    rdfs:seeAlso <korvane-brassel.ttl> .\n\n";
        for (int slot = kFirstPresetSlot; slot < kBankPrograms; ++slot) {
            presetSubject(out, plugin, slot);
            out << "    rdfs:seeAlso <presets.ttl> .\n\n";
        }
    }
    return out.str();
}

std::string pluginDescription() {
    std::ostringstream out;
    out << kPrefixes << "<" << kProject << ">\n    a doap:Project ;\n"
        << "    doap:name \"Korvane Brassel\" ;\n"
        << "    doap:maintainer [ foaf:name \"Korvane\" ; foaf:homepage <https://korvane.com> ] .\n\n";
    for (const Plugin& plugin : kPlugins) {
        const lv2ports::Layout& layout = plugin.layout;
        out << "<" << plugin.uri << ">\n    a lv2:Plugin, lv2:CompressorPlugin ;\n"
            << "    doap:name " << quoted(plugin.name) << " ;\n"
            << "    lv2:project <" << kProject << "> ;\n"
            << "    lv2:minorVersion " << kLv2MinorVersion << " ;\n"
            << "    lv2:microVersion " << kLv2MicroVersion << " ;\n"
            << "    lv2:optionalFeature lv2:hardRTCapable, urid:map ;\n"
            << "    lv2:extensionData state:interface ;\n"
            << "    ui:ui <" << lv2ports::kUiUri << "> ;\n"
            << "    lv2:port ";
        for (int i = 0; i < layout.firstControl(); ++i) {
            audioPort(out, layout, i);
            out << ", ";
        }
        for (int c = 0; c < controls::kProgramCount; ++c) {
            controlPort(out, controls::kControls[c], layout.controlPort(c));
            out << ", ";
        }
        gainReductionPort(out, layout.gainReduction());
        for (int c = controls::kProgramCount; c < controls::kCount; ++c) {
            out << ", ";
            controlPort(out, controls::kControls[c], layout.controlPort(c));
        }
        for (int channel = 0; channel < layout.audioInputs; ++channel) {
            out << ", ";
            keyPort(out, layout, channel);
        }
        out << " .\n\n";
    }
    // The editor is driven by the host's idle calls; it reads the meter port.
    out << "<" << lv2ports::kUiUri << ">\n    a ui:X11UI ;\n"
        << "    lv2:requiredFeature ui:idleInterface, ui:parent ;\n"
        << "    lv2:optionalFeature ui:resize, ui:touch, <http://lv2plug.in/ns/ext/instance-access>,"
        << " opts:options, urid:map ;\n"
        << "    opts:supportedOption ui:scaleFactor ;\n"
        << "    lv2:extensionData ui:idleInterface";
    for (const Plugin& plugin : kPlugins)
        out << " ;\n    ui:portNotification [ ui:plugin <" << plugin.uri << "> ; lv2:symbol "
            << quoted(lv2ports::kGainReductionSymbol) << " ; ui:protocol ui:floatProtocol ]";
    out << " .\n";
    return out.str();
}

std::string presets() {
    std::ostringstream out;
    out << kPrefixes;
    for (const Plugin& plugin : kPlugins) {
        for (int slot = kFirstPresetSlot; slot < kBankPrograms; ++slot) {
            CProgram program;
            writeFactoryPreset(slot, program);
            char name[kProgramNameLength + 1];
            program.getName(name);
            presetSubject(out, plugin, slot);
            out << "    rdfs:label " << quoted(name) << " ;\n    lv2:port ";
            // A preset holds the program's controls; the settings stay the instance's.
            for (int c = 0; c < controls::kProgramCount; ++c) {
                const controls::Control& port = controls::kControls[c];
                const int step = controls::stepOfNormalised(port, program.getParam(port.parameter));
                out << "[ lv2:symbol " << quoted(port.symbol) << " ; pset:value "
                    << number(controls::valueOfStep(port, step)) << " ]"
                    << (c + 1 < controls::kProgramCount ? ", " : " .\n\n");
            }
        }
    }
    return out.str();
}

}  // namespace lv2ttl
