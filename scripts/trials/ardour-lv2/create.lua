-- A producer's first session: a track, a recording, the LV2 compressor on it,
-- a render, a save.
dofile(os.getenv("KVBR_TRIALS") .. "/ardourSteps.lua")
local tr = recordDrums("/tmp/ardour-trial/sess")
local len = 96000
local p = ARDOUR.LuaAPI.new_plugin(Session, "https://korvane.com/plugins/brassel", ARDOUR.PluginType.LV2, "")
assert(not p:isnil(), "plug-in not found")
tr:add_processor_by_index(p, 0, nil, true)
local pi = p:to_plugininsert()
print("plug-in:", p:display_name(), "type", pi:type())
ARDOUR.LuaAPI.set_plugin_insert_param(pi, 1, 4)     -- ratio 4:1
ARDOUR.LuaAPI.set_plugin_insert_param(pi, 3, 7.5)   -- compression
ARDOUR.LuaAPI.set_plugin_insert_param(pi, 4, 3)     -- output 3 dB
ARDOUR.LuaAPI.usleep(200000)
local function export(name) exportMaster("/tmp/ardour-trial/out", name, len) end
p:deactivate()
export("dry")
p:activate()
export("render-1")
for i = 0, 5 do print("port", i, (ARDOUR.LuaAPI.get_plugin_insert_param(pi, i, true))) end
Session:save_state("", false, false, false, false, false)
close_session()
