// The interface records must lie in memory exactly as hosts lay them out; a
// wrong field type or order stops the build here, on Linux and Windows alike.
#include <cstddef>

#include "clapCore.h"
#include "clapEvents.h"
#include "clapExtensions.h"
#include "clapPresetDiscovery.h"

namespace clapabi {

#define KVBR_AT(type, field, offset) static_assert(offsetof(type, field) == (offset), #type "." #field)
#define KVBR_SIZE(type, bytes) static_assert(sizeof(type) == (bytes), "size of " #type)

KVBR_SIZE(Version, 12);
static_assert(alignof(Version) == 4);
KVBR_AT(PluginEntry, init, 16);
KVBR_AT(PluginEntry, deinit, 24);
KVBR_AT(PluginEntry, getFactory, 32);
KVBR_SIZE(PluginEntry, 40);

KVBR_SIZE(PluginFactory, 24);
KVBR_AT(PluginDescriptor, id, 16);
KVBR_AT(PluginDescriptor, name, 24);
KVBR_AT(PluginDescriptor, vendor, 32);
KVBR_AT(PluginDescriptor, url, 40);
KVBR_AT(PluginDescriptor, manualUrl, 48);
KVBR_AT(PluginDescriptor, supportUrl, 56);
KVBR_AT(PluginDescriptor, version, 64);
KVBR_AT(PluginDescriptor, description, 72);
KVBR_AT(PluginDescriptor, features, 80);
KVBR_SIZE(PluginDescriptor, 88);

KVBR_AT(Host, hostData, 16);
KVBR_AT(Host, name, 24);
KVBR_AT(Host, version, 48);
KVBR_AT(Host, getExtension, 56);
KVBR_AT(Host, requestRestart, 64);
KVBR_AT(Host, requestProcess, 72);
KVBR_AT(Host, requestCallback, 80);
KVBR_SIZE(Host, 88);

KVBR_AT(Plugin, pluginData, 8);
KVBR_AT(Plugin, init, 16);
KVBR_AT(Plugin, destroy, 24);
KVBR_AT(Plugin, activate, 32);
KVBR_AT(Plugin, deactivate, 40);
KVBR_AT(Plugin, startProcessing, 48);
KVBR_AT(Plugin, stopProcessing, 56);
KVBR_AT(Plugin, reset, 64);
KVBR_AT(Plugin, process, 72);
KVBR_AT(Plugin, getExtension, 80);
KVBR_AT(Plugin, onMainThread, 88);
KVBR_SIZE(Plugin, 96);

KVBR_AT(Process, framesCount, 8);
KVBR_AT(Process, transport, 16);
KVBR_AT(Process, audioInputs, 24);
KVBR_AT(Process, audioOutputs, 32);
KVBR_AT(Process, audioInputsCount, 40);
KVBR_AT(Process, audioOutputsCount, 44);
KVBR_AT(Process, inEvents, 48);
KVBR_AT(Process, outEvents, 56);
KVBR_SIZE(Process, 64);
KVBR_AT(AudioBuffer, data64, 8);
KVBR_AT(AudioBuffer, channelCount, 16);
KVBR_AT(AudioBuffer, latency, 20);
KVBR_AT(AudioBuffer, constantMask, 24);
KVBR_SIZE(AudioBuffer, 32);
KVBR_SIZE(InputEvents, 24);
KVBR_SIZE(OutputEvents, 16);

KVBR_AT(EventHeader, time, 4);
KVBR_AT(EventHeader, spaceId, 8);
KVBR_AT(EventHeader, type, 10);
KVBR_AT(EventHeader, flags, 12);
KVBR_SIZE(EventHeader, 16);
static_assert(alignof(EventHeader) == 4);
KVBR_AT(EventParamValue, paramId, 16);
KVBR_AT(EventParamValue, cookie, 24);
KVBR_AT(EventParamValue, noteId, 32);
KVBR_AT(EventParamValue, portIndex, 36);
KVBR_AT(EventParamValue, channel, 38);
KVBR_AT(EventParamValue, key, 40);
KVBR_AT(EventParamValue, value, 48);
KVBR_SIZE(EventParamValue, 56);
KVBR_AT(EventParamGesture, paramId, 16);
KVBR_SIZE(EventParamGesture, 20);

KVBR_AT(AudioPortInfo, name, 4);
KVBR_AT(AudioPortInfo, flags, 260);
KVBR_AT(AudioPortInfo, channelCount, 264);
KVBR_AT(AudioPortInfo, portType, 272);
KVBR_AT(AudioPortInfo, inPlacePair, 280);
KVBR_SIZE(AudioPortInfo, 288);
KVBR_SIZE(PluginAudioPorts, 16);

KVBR_AT(ParamInfo, flags, 4);
KVBR_AT(ParamInfo, cookie, 8);
KVBR_AT(ParamInfo, name, 16);
KVBR_AT(ParamInfo, module, 272);
KVBR_AT(ParamInfo, minValue, 1296);
KVBR_AT(ParamInfo, maxValue, 1304);
KVBR_AT(ParamInfo, defaultValue, 1312);
KVBR_SIZE(ParamInfo, 1320);
KVBR_AT(PluginParams, flush, 40);
KVBR_SIZE(PluginParams, 48);
KVBR_AT(HostParams, requestFlush, 16);
KVBR_SIZE(HostParams, 24);

KVBR_SIZE(OutputStream, 16);
KVBR_SIZE(InputStream, 16);
KVBR_SIZE(PluginState, 16);
KVBR_SIZE(HostState, 8);

KVBR_AT(Window, x11, 8);
KVBR_SIZE(Window, 16);
KVBR_AT(GuiResizeHints, preserveAspectRatio, 2);
KVBR_AT(GuiResizeHints, aspectRatioWidth, 4);
KVBR_AT(GuiResizeHints, aspectRatioHeight, 8);
KVBR_SIZE(GuiResizeHints, 12);
KVBR_AT(PluginGui, setScale, 32);
KVBR_AT(PluginGui, setParent, 80);
KVBR_AT(PluginGui, hide, 112);
KVBR_SIZE(PluginGui, 120);
KVBR_AT(HostGui, closed, 32);
KVBR_SIZE(HostGui, 40);
KVBR_SIZE(PluginTimerSupport, 8);
KVBR_SIZE(HostTimerSupport, 16);
KVBR_SIZE(PluginPosixFdSupport, 8);
KVBR_SIZE(HostPosixFdSupport, 24);
KVBR_SIZE(HostThreadCheck, 16);
KVBR_SIZE(HostLog, 8);
KVBR_SIZE(PluginGainAdjustmentMetering, 8);
KVBR_SIZE(PluginPresetLoad, 8);
KVBR_SIZE(HostPresetLoad, 16);

KVBR_SIZE(PresetDiscoveryFactory, 24);
KVBR_AT(PresetProviderDescriptor, id, 16);
KVBR_AT(PresetProviderDescriptor, name, 24);
KVBR_AT(PresetProviderDescriptor, vendor, 32);
KVBR_SIZE(PresetProviderDescriptor, 40);
KVBR_AT(PresetProvider, init, 16);
KVBR_AT(PresetProvider, getMetadata, 32);
KVBR_SIZE(PresetProvider, 48);
KVBR_AT(PresetLocation, name, 8);
KVBR_AT(PresetLocation, kind, 16);
KVBR_AT(PresetLocation, location, 24);
KVBR_SIZE(PresetLocation, 32);
// Not in the measured figures: these two follow from their declared field order.
KVBR_AT(PresetIndexer, indexerData, 48);
KVBR_AT(PresetIndexer, declareLocation, 64);
KVBR_SIZE(PresetIndexer, 88);
KVBR_AT(PresetMetadataReceiver, beginPreset, 16);
KVBR_AT(PresetMetadataReceiver, setFlags, 40);
KVBR_SIZE(PresetMetadataReceiver, 88);
KVBR_SIZE(UniversalPluginId, 16);

#undef KVBR_AT
#undef KVBR_SIZE

}  // namespace clapabi
