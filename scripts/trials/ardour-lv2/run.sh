#!/usr/bin/env bash
# Tries the LV2 build in Ardour as a producer would, without a display or a
# sound card: Ardour's Lua session tool on its dummy audio backend records a
# test signal, puts the compressor on the track by URI, renders, saves,
# renames a program in the saved bank (standing in for the editor), reopens,
# renders again, changes a control and saves a new snapshot.
# Needs Debian's `ardour` package and the bundle in build/lv2.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The steps the trials share (ardourSteps.lua).
export KVBR_TRIALS=$(dirname "$here")
export LV2_PATH=$(cd "$here/../../../build/lv2" && pwd)
rm -rf /tmp/ardour-trial && mkdir -p /tmp/ardour-trial/out
ardour7-lua "$here/create.lua"
python3 "$here/rename.py"
ardour7-lua "$here/reopen.lua"
echo "== dry against compressed, render 1 against render 2 (after reopening)"
python3 "$here/cmpwav.py" /tmp/ardour-trial/out/dry.wav /tmp/ardour-trial/out/render-1.wav
python3 "$here/cmpwav.py" /tmp/ardour-trial/out/render-1.wav /tmp/ardour-trial/out/render-2.wav
echo "== the plug-in's saved bank in each saved state"
python3 "$here/rename.py" --show
