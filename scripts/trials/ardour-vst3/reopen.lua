-- The same session opened again: the controls, the renamed program and the
-- sound come back; a second factory program, and a new snapshot.
dofile(os.getenv("KVBR_TRIALS") .. "/ardourSteps.lua")
reopenSession("/tmp/ardour-vst3-trial/sess")
local tr = Session:route_by_name("Drums")
local p = tr:nth_plugin(0)
print("plug-in after reopening:", p:display_name())
local pi = p:to_plugininsert()
local plug = pi:plugin(0)
local line = "reopened:"
for i = 0, plug:parameter_count() - 1 do
  line = line .. string.format(" %s=%g", plug:parameter_label(i), ARDOUR.LuaAPI.get_plugin_insert_param(pi, i, true))
end
print(line)
local renamed = plug:preset_by_label("Trial Renamed")
print("renamed program in the preset list:", renamed and renamed.uri or "missing")
exportMaster("/tmp/ardour-vst3-trial/out", "render-2", 96000)
local preset = plug:preset_by_label("Pop Rock Vocal")
print("preset", preset and preset.uri, "loaded:", preset and plug:load_preset(preset))
Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(400000)
Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(300000)
Session:save_state("reopened", false, false, false, false, false)
close_session()
