#!/usr/bin/env bash
# Tries the Oversampling control in Ardour as a producer would, without a
# display or a sound card, in the LV2 and the VST 3 build: Ardour's Lua
# session tool records the dummy backend's test signal, puts the compressor
# on the track (Valve, Compression 10), renders with Oversampling Off and 4x,
# saves, reopens and renders again; the renders are compared.
# Needs Debian's `ardour` package and the bundles in build/lv2 and build/vst3.
# Debian's ardour7-lua 7.3 itself aborts with a corrupted heap in about two
# runs of five on the dummy backend, with no plug-in on the track at all; run
# it again when it does.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export KVBR_TRIALS=$(dirname "$here")
trial=/tmp/ardour-oversampling-trial
source "$KVBR_TRIALS/ardourHome.sh"
for format in LV2 VST3; do
  export KVBR_FORMAT=$format KVBR_TRIAL=$trial/$format
  mkdir -p "$KVBR_TRIAL/out"
  echo "== $format"
  stdbuf -oL ardour7-lua "$here/create.lua"
  stdbuf -oL ardour7-lua "$here/reopen.lua"
  echo "-- Off against 4x, then 4x against 4x after reopening"
  python3 "$here/../ardour-lv2/cmpwav.py" "$KVBR_TRIAL/out/off.wav" "$KVBR_TRIAL/out/4x.wav"
  python3 "$here/../ardour-lv2/cmpwav.py" "$KVBR_TRIAL/out/4x.wav" "$KVBR_TRIAL/out/4x-reopened.wav"
done
