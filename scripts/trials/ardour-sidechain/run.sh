#!/usr/bin/env bash
# Tries the key input in Ardour as a producer would, without a display or a
# sound card, in the LV2 and the VST 3 build: two tracks of the dummy
# backend's signals, the compressor on "Music", a send from "Key" to the
# plug-in's side-chain input; renders with Key Internal, External, and
# External with the send muted. Prints the renders' levels.
# Needs Debian's `ardour` package and the bundles in build/lv2 and build/vst3.
# Debian's ardour7-lua 7.3 itself aborts with a corrupted heap in about two
# runs of five on the dummy backend; run it again when it does.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export KVBR_TRIALS=$(dirname "$here")
trial=/tmp/ardour-sidechain-trial
source "$KVBR_TRIALS/ardourHome.sh"
for format in ${KVBR_FORMATS:-LV2 VST3}; do
  export KVBR_FORMAT=$format KVBR_TRIAL=$trial/$format
  mkdir -p "$KVBR_TRIAL/out"
  echo "== $format"
  stdbuf -oL ardour7-lua "$here/create.lua"
  echo "-- Process Off (A) against Key Internal (B)"
  python3 "$here/../ardour-lv2/cmpwav.py" "$KVBR_TRIAL/out/off.wav" "$KVBR_TRIAL/out/internal.wav"
  echo "-- Key Internal (A) against External (B)"
  python3 "$here/../ardour-lv2/cmpwav.py" "$KVBR_TRIAL/out/internal.wav" "$KVBR_TRIAL/out/external.wav"
  echo "-- Key External (A) against External with the send muted (B)"
  python3 "$here/../ardour-lv2/cmpwav.py" "$KVBR_TRIAL/out/external.wav" "$KVBR_TRIAL/out/external-muted.wav"
done
