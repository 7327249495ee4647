-- Two tracks on the dummy backend: "Music" with the compressor on it, and
-- "Key", whose signal reaches the compressor's side-chain input through a
-- send, as Ardour's own ducking snippet routes it. Renders with Key
-- Internal, Key External, and Key External with the send muted, then saves.
dofile(os.getenv("KVBR_TRIALS") .. "/ardour-oversampling/steps.lua")
ARDOUR.config():set_hide_dummy_backend(false)
AudioEngine:set_backend("None (Dummy)", "", "")
AudioEngine:set_device_name("Square Sweep Swell")
create_session(trial .. "/sess", "sess", 48000)
local tracks = Session:new_audio_track(2, 2, nil, 2, "T", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
local music, key = tracks:front(), tracks:back()
music:set_name("Music")
key:set_name("Key")
for t in tracks:iter() do t:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup) end
Session:maybe_enable_record(false)
Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(3000000)
Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
ARDOUR.LuaAPI.usleep(500000)
for t in tracks:iter() do t:rec_enable_control():set_value(0, PBD.GroupControlDisposition.NoGroup) end
-- Only the music is heard on the master bus.
key:gain_control():set_value(0, PBD.GroupControlDisposition.NoGroup)

local p = newCompressor()
assert(not p:isnil(), "plug-in not found")
music:add_processor_by_index(p, 0, nil, true)
local pi = p:to_plugininsert()
print("plug-in:", p:display_name())
set(pi, "Compression", 10)
set(pi, "Time", 0)

-- Ardour's export normalises its peak, so the exports' levels say little:
-- the plug-in's own meter, read ten times a second while the session plays
-- its two seconds, tells what the compressor did.
function meterAverage(what)
  Session:request_locate(0, false, ARDOUR.LocateTransportDisposition.MustStop, ARDOUR.TransportRequestSource.TRS_UI)
  ARDOUR.LuaAPI.usleep(300000)
  Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
  local sum, count = 0, 0
  ARDOUR.LuaAPI.usleep(200000)
  for i = 1, 18 do
    sum = sum + ARDOUR.LuaAPI.get_plugin_insert_param(pi, control(pi, "Gain Reduction"), true)
    count = count + 1
    ARDOUR.LuaAPI.usleep(100000)
  end
  Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
  ARDOUR.LuaAPI.usleep(300000)
  print(string.format("%s: average gain reduction while playing %.1f dB", what, sum / count))
end

local s = ARDOUR.LuaAPI.new_send(Session, key, key:amp())
assert(not s:isnil(), "no send")
local send = s:to_send()
send:set_remove_on_disconnect(true)
-- Ardour makes the plug-in's side-chain input when asked; its pins map onto
-- the key inputs the plug-in declares.
if pi:sidechain_input():isnil() then music:add_sidechain(p) end
local inputs = pi:sidechain_input()
assert(not inputs:isnil(), "no side-chain input on the plug-in")
print("side-chain inputs:", inputs:n_ports():n_audio())
for n = 0, inputs:n_ports():n_audio() - 1 do
  send:output():nth(n % send:output():n_ports():n_audio()):connect(inputs:nth(n):name())
end
set(pi, "Process", 0)
show(pi, "Process Off")
render("off")
set(pi, "Process", 2)
show(pi, "Key Internal")
meterAverage("Key Internal")
render("internal")
set(pi, "Key", 1)
show(pi, "Key External")
meterAverage("Key External")
render("external")
send:gain_control():set_value(0, PBD.GroupControlDisposition.NoGroup)
show(pi, "Key External, send muted")
meterAverage("Key External, send muted")
render("external-muted")
Session:save_state("", false, false, false, false, false)
close_session()
