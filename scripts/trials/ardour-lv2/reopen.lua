-- The same session opened again: the controls and the plug-in's saved bank come back.
dofile(os.getenv("KVBR_TRIALS") .. "/ardourSteps.lua")
reopenSession("/tmp/ardour-trial/sess")
local tr = Session:route_by_name("Drums")
local p = tr:nth_plugin(0)
print("plug-in after reopening:", p:display_name())
local pi = p:to_plugininsert()
for i = 0, 5 do print("port", i, (ARDOUR.LuaAPI.get_plugin_insert_param(pi, i, true))) end
exportMaster("/tmp/ardour-trial/out", "render-2", 96000)
-- A change after reopening: the restored bank takes it and is saved anew.
ARDOUR.LuaAPI.set_plugin_insert_param(pi, 3, 8)
ARDOUR.LuaAPI.usleep(300000)
Session:save_state("reopened", false, false, false, false, false)
close_session()
