-- A producer's first session: a track, a recording, the VST 3 compressor on
-- it, a factory program from its preset list, three controls moved, a
-- render, a save.
dofile(os.getenv("KVBR_TRIALS") .. "/ardourSteps.lua")
local tr = recordDrums("/tmp/ardour-vst3-trial/sess")
local len = 96000
local p = ARDOUR.LuaAPI.new_plugin(Session, "Korvane Brassel", ARDOUR.PluginType.VST3, "")
assert(not p:isnil(), "plug-in not found (did the scanner cache it?)")
tr:add_processor_by_index(p, 0, nil, true)
local pi = p:to_plugininsert()
local plug = pi:plugin(0)
print("plug-in:", p:display_name(), "type", pi:type(), "parameters", plug:parameter_count())
local function show(what)
  local line = what .. ":"
  for i = 0, plug:parameter_count() - 1 do
    line = line .. string.format(" %s=%g", plug:parameter_label(i), ARDOUR.LuaAPI.get_plugin_insert_param(pi, i, true))
  end
  print(line)
end
-- A roll, so that the processor takes what the host queued for it.
local function roll()
  Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
  ARDOUR.LuaAPI.usleep(400000)
  Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
  ARDOUR.LuaAPI.usleep(300000)
  Session:request_locate(0, false, ARDOUR.LocateTransportDisposition.MustStop, ARDOUR.TransportRequestSource.TRS_UI)
  ARDOUR.LuaAPI.usleep(300000)
end
show("new")
local preset = plug:preset_by_label("Kick Fattener")
assert(preset, "no factory program \"Kick Fattener\" among the plug-in's presets")
print("preset", preset.uri, preset.label, "loaded:", plug:load_preset(preset))
roll()
show("after the preset")
ARDOUR.LuaAPI.set_plugin_insert_param(pi, 1, 4)     -- ratio 4:1
ARDOUR.LuaAPI.set_plugin_insert_param(pi, 3, 7.5)   -- compression
ARDOUR.LuaAPI.set_plugin_insert_param(pi, 4, 3)     -- output 3 dB
roll()
show("after moving three")
local function export(name) exportMaster("/tmp/ardour-vst3-trial/out", name, len) end
p:deactivate()
export("dry")
p:activate()
export("render-1")
Session:save_state("", false, false, false, false, false)
close_session()
