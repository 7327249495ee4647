-- One headless session as a producer makes it, for the stress runs of stress.sh:
-- record, add the plug-in (TRIAL_URI, or "none"; TRIAL_TYPE vst3 for a VST 3
-- plug-in by name), set ratio, export wet and
-- with the plug-in deactivated, save.
local uri = os.getenv("TRIAL_URI")
local dir = os.getenv("TRIAL_DIR")
dofile(os.getenv("KVBR_TRIALS") .. "/ardourSteps.lua")
local tr = recordDrums(dir .. "/sess")
local p = nil
if uri ~= "none" then
  local kind = os.getenv("TRIAL_TYPE") == "vst3" and ARDOUR.PluginType.VST3 or ARDOUR.PluginType.LV2
  p = ARDOUR.LuaAPI.new_plugin(Session, uri, kind, "")
  assert(not p:isnil(), "plug-in not found")
  tr:add_processor_by_index(p, 0, nil, true)
  local pi = p:to_plugininsert()
  ARDOUR.LuaAPI.set_plugin_insert_param(pi, 1, 4)
end
ARDOUR.LuaAPI.usleep(200000)
local function export(name) exportMaster(dir .. "/out", name, 96000) end
export("wet")
if p then p:deactivate() end
export("dry")
if p then p:activate() end
Session:save_state("", false, false, false, false, false)
close_session()
print("TRIAL-OK")
