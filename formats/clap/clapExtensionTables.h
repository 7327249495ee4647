// The extension tables an instance answers get_extension with, and the
// factories the entry answers get_factory with. Static and constant: every
// function finds its instance through the plug-in record.
#pragma once

#include "formats/clap/abi/clapCore.h"
#include "formats/clap/abi/clapExtensions.h"
#include "formats/clap/abi/clapPresetDiscovery.h"

namespace clapTables {

extern const clapabi::PluginAudioPorts kAudioPorts;
extern const clapabi::PluginParams kParams;
extern const clapabi::PluginState kState;
extern const clapabi::PluginGui kGui;
extern const clapabi::PluginTimerSupport kTimerSupport;
extern const clapabi::PluginPosixFdSupport kPosixFdSupport;
extern const clapabi::PluginGainAdjustmentMetering kGainAdjustmentMetering;
extern const clapabi::PluginPresetLoad kPresetLoad;

extern const clapabi::PluginFactory kPluginFactory;
extern const clapabi::PresetDiscoveryFactory kPresetDiscoveryFactory;

// The plug-in record's own functions, for the factory's create_plugin.
extern const clapabi::Plugin kPluginFunctions;

}  // namespace clapTables
