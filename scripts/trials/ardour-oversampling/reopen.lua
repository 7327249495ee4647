-- The session opened again: Oversampling comes back at 4x.
dofile(os.getenv("KVBR_TRIALS") .. "/ardour-oversampling/steps.lua")
reopenSession(trial .. "/sess")
local p = Session:route_by_name("Drums"):nth_plugin(0)
local pi = p:to_plugininsert()
show(pi, "reopened")
render("4x-reopened")
close_session()
