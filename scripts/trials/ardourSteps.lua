-- The steps the Ardour trials and stress runs share, loaded with dofile.

-- A session on the dummy backend at `folder`, a stereo track "Drums" and
-- three seconds of the backend's test signal recorded on it; gives the track.
function recordDrums(folder)
  ARDOUR.config():set_hide_dummy_backend(false)
  AudioEngine:set_backend("None (Dummy)", "", "")
  AudioEngine:set_device_name("Square Sweep Swell")
  create_session(folder, "sess", 48000)
  local tr = Session:new_audio_track(2, 2, nil, 1, "Drums", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true):front()
  tr:rec_enable_control():set_value(1, PBD.GroupControlDisposition.NoGroup)
  Session:maybe_enable_record(false)
  Session:request_roll(ARDOUR.TransportRequestSource.TRS_UI)
  ARDOUR.LuaAPI.usleep(3000000)
  Session:request_stop(false, false, ARDOUR.TransportRequestSource.TRS_UI)
  ARDOUR.LuaAPI.usleep(500000)
  tr:rec_enable_control():set_value(0, PBD.GroupControlDisposition.NoGroup)
  return tr
end

-- The session saved at `folder` opened again on the dummy backend.
function reopenSession(folder)
  ARDOUR.config():set_hide_dummy_backend(false)
  AudioEngine:set_backend("None (Dummy)", "", "")
  load_session(folder, "sess")
end

-- The master bus's first `frames` samples exported to folder/name.wav.
function exportMaster(folder, name, frames)
  local e = Session:simple_export()
  e:set_folder(folder)
  e:set_name(name)
  e:set_range(0, frames)
  assert(e:run_export(), "export failed")
end
