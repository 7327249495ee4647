#!/usr/bin/env bash
# Tries the VST 3 build in Ardour 7 as a producer would, without a display or
# a sound card. Ardour looks for VST 3 bundles in ~/.vst3, /usr/local/lib/vst3
# and /usr/lib/vst3, and lists what its scanner (ardour-vst3-scanner, which
# the GUI runs on "Scan for Plugins") has cached; the Lua session tool only
# reads that cache. So: a scratch home with the bundle in ~/.vst3 (where
# scripts/demo.sh puts it), the scanner, then Ardour's Lua session tool on its
# dummy backend records a test signal, puts the compressor on the track,
# picks a factory program from the plug-in's preset list, moves three
# controls, renders, saves; a program is renamed in the saved state (standing
# in for the editor); the session is reopened, rendered again, a second
# factory program picked and a new snapshot saved.
# Needs Debian's `ardour` package and the bundle in build/vst3.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The steps the trials share (ardourSteps.lua).
export KVBR_TRIALS=$(dirname "$here")
bundle=$(cd "$here/../../../build/vst3" && pwd)/korvane-brassel.vst3
trial=/tmp/ardour-vst3-trial
rm -rf "$trial" && mkdir -p "$trial/out" "$trial/home/.vst3"
# Copied with its times, as an installed bundle keeps them: Ardour takes a
# cache entry only when it is newer than the module.
cp -a "$bundle" "$trial/home/.vst3/"
export HOME=$trial/home
LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -q "$HOME/.vst3/korvane-brassel.vst3"
stdbuf -oL ardour7-lua "$here/create.lua"
python3 "$here/rename.py"
stdbuf -oL ardour7-lua "$here/reopen.lua"
echo "== dry against compressed, render 1 against render 2 (after reopening)"
python3 "$here/../ardour-lv2/cmpwav.py" "$trial/out/dry.wav" "$trial/out/render-1.wav"
python3 "$here/../ardour-lv2/cmpwav.py" "$trial/out/render-1.wav" "$trial/out/render-2.wav"
echo "== the plug-in's saved bank in each saved state"
python3 "$here/rename.py" --show
