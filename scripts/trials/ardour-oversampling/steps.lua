-- What create.lua and reopen.lua share: the plug-in of the format asked for,
-- its controls by name, and a render.
dofile(os.getenv("KVBR_TRIALS") .. "/ardourSteps.lua")
format = os.getenv("KVBR_FORMAT")
trial = os.getenv("KVBR_TRIAL")

function newCompressor()
  if format == "LV2" then
    return ARDOUR.LuaAPI.new_plugin(Session, "https://korvane.com/plugins/brassel", ARDOUR.PluginType.LV2, "")
  end
  return ARDOUR.LuaAPI.new_plugin(Session, "Korvane Brassel", ARDOUR.PluginType.VST3, "")
end

-- The controls as the Lua API numbers them (for LV2 the audio ports are
-- left out; the meter counts).
function controls(pi)
  local plug = pi:plugin(0)
  local list = {}
  for i = 0, plug:parameter_count() - 1 do
    if format == "VST3" or plug:parameter_is_control(i) then
      list[#list + 1] = plug:parameter_label(i)
    end
  end
  return list
end

function control(pi, label)
  for k, name in ipairs(controls(pi)) do
    if name == label then return k - 1 end
  end
  error("no control " .. label)
end

function show(pi, what)
  local line = what .. ":"
  for k, name in ipairs(controls(pi)) do
    line = line .. string.format(" %s=%g", name, ARDOUR.LuaAPI.get_plugin_insert_param(pi, k - 1, true))
  end
  print(line)
end

-- A value in the control's own units, in either format: Ardour hands a VST 3
-- plug-in its plain value, which the plug-in normalises itself.
function set(pi, label, value)
  ARDOUR.LuaAPI.set_plugin_insert_param(pi, control(pi, label), value)
  ARDOUR.LuaAPI.usleep(300000)
end

function render(name) exportMaster(trial .. "/out", name, 96000) end
