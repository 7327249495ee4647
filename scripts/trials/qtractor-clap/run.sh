#!/usr/bin/env bash
# Tries the CLAP build in Debian's Qtractor 0.9.31 as a new user would, on a
# virtual display with JACK's dummy backend: scan the plug-ins, add an audio
# track with Korvane Brassel on it, use its editor (move the Compression
# knob, rename the program, open the strip of settings and choose 4x), save
# the session, quit, open the session again and look at the editor. Leaves
# screenshots in $work.
#
# This machine's kernel has no ALSA sequencer, without which Qtractor opens
# no session; alsaSeqStandIn.c, preloaded, answers its sequencer calls as a
# sequencer with no other clients would (MIDI goes nowhere, audio is JACK's).
# Needs qtractor, jackd, Xvfb, xdotool, ImageMagick's import, a C compiler,
# and build/clap/korvane-brassel.clap.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
clap=$(cd "$here/../../../build/clap" && pwd)
work=${1:-/tmp/qtractor-clap-trial}
rm -rf "$work" && mkdir -p "$work/home"
cc -shared -fPIC -Wall -Wextra -o "$work/alsaSeqStandIn.so" "$here/alsaSeqStandIn.c"

pids=()
cleanup() { for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT
trap "exit 1" INT TERM

# A display and a JACK server of the trial's own.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
export JACK_DEFAULT_SERVER=kvbr-clap-trial
jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 1024 >"$work/jackd.log" 2>&1 &
pids+=($!)
sleep 2

# A new user's Qtractor: fresh settings, the plug-in found through CLAP_PATH.
export HOME=$work/home CLAP_PATH=$clap
start() {
  LD_PRELOAD=$work/alsaSeqStandIn.so qtractor "$@" >>"$work/qtractor.log" 2>&1 &
  qtractor=$!
  pids+=($qtractor)
}
# Windows are found by the start of their names (xdotool's patterns do not
# reach past the dash in "Track — Qtractor").
window() {  # the id of the visible window whose name matches, waiting for it
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  echo "no window \"$1\"; the screen is in $work/failed.png" >&2
  import -window root "$work/failed.png"
  exit 1
}
origin() {  # sets X and Y to a window's top left corner
  eval "$(xdotool getwindowgeometry --shell "$(window "$1")")"
}
click() {  # click WINDOW X Y [PAUSE]: a click at X, Y inside that window
  origin "$1"
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
  sleep "${4:-1}"
}
shot() { import -window root "$work/$1.png"; echo "screenshot $work/$1.png"; }
quit() {
  click "$1" 20 8             # File
  click "$1" 44 169 3         # Exit
  if kill -0 "$qtractor" 2>/dev/null; then echo "Qtractor did not quit" >&2; exit 1; fi
}
# The plug-in's state in a saved session, as its editor shows it: the
# program's name and Compression.
savedState() {
  python3 - "$1" <<'PY'
import base64, re, sys, zlib
session = open(sys.argv[1]).read()
state = re.search(r'<config key="state">([^<]*)</config>', session).group(1)
block = base64.b64decode("".join(state.split()))
block = zlib.decompress(block[4:])  # Qtractor's own compression (qCompress)
assert block[:4] == b"KvBS", block[:4]
slot = int.from_bytes(block[8:12], "little")
print("state block of %d bytes, program %d, %s" % (len(block), slot,
      "holds \"Trial Mix\"" if b"Trial Mix" in block else "without \"Trial Mix\""))
compression = re.search(r'<param [^>]*name="Compression"[^>]*>([^<]*)<', session).group(1)
print("Compression saved as %s" % compression)
import struct
count = int.from_bytes(block[2393:2397], "little") if len(block) >= 2397 else 0
settings = struct.unpack("<%df" % count, block[2397:2397 + 4 * count])
print("settings in the state block: %s" % (settings,))
PY
}

cd "$work"
echo "== a new session, an audio track, the plug-in scanned and inserted"
start
window "^Untitled" >/dev/null
click "^Untitled" 98 8               # Track
click "^Untitled" 141 30 2           # Add Track...
click "^Track" 36 151                # Audio
click "^Track" 97 21                 # the Plugins tab
click "^Track" 390 55 3              # Add...
click "^Plugins" 455 15              # the type list
click "^Plugins" 455 82 3            # CLAP: the plug-ins are scanned
shot 1-scanned
click "^Plugins" 60 55 0.5           # Korvane Brassel
click "^Plugins" 372 238 3           # OK: inserted, and its editor opens

echo "== the editor: Compression raised, the program renamed"
xdotool windowmove "$(window "^Korvane Brassel")" 1100 100
sleep 1
origin "^Korvane Brassel"
xdotool mousemove $((X + 200)) $((Y + 200)) mousedown 1
for step in 1 2 3 4 5 6; do sleep 0.05; xdotool mousemove $((X + 200)) $((Y + 200 - 10 * step)); done
sleep 0.3
xdotool mouseup 1
sleep 0.5
click "^Korvane Brassel" 194 292 0.5  # the program's name
xdotool type --delay 50 "Trial Mix"
xdotool key Return
sleep 1
shot 2-edited
echo "== the strip of settings opened, Oversampling 4x"
click "^Korvane Brassel" 364 292 2  # MORE
eval "$(xdotool getwindowgeometry --shell "$(window "^Korvane Brassel")")"
echo "the editor's window after MORE: ${WIDTH} x ${HEIGHT}"
click "^Korvane Brassel" 169 352 1  # 4x
shot 2-strip-open
click "^Track" 320 266               # OK

echo "== saved as $work/clap-trial/clap_trial.qtr, Qtractor quit"
click "^Untitled" 20 8               # File
click "^Untitled" 63 121 2           # Save As...
click "^Session" 231 70 0.3          # the session's name
xdotool type --delay 40 "clap-trial"
click "^Session" 330 369 2           # OK
origin "^Warning"                    # create the folder: yes
xdotool mousemove $((X + 130)) $((Y + 40)) key Return
sleep 2
origin "^Save Session"               # the file's name as offered
xdotool mousemove $((X + 300)) $((Y + 300)) key Return
sleep 2
session=$work/clap-trial/clap_trial.qtr
[ -f "$session" ] || { echo "no session saved" >&2; exit 1; }
savedState "$session"
quit "clap_trial"

echo "== the session opened again, the editor opened from the track"
start "$session"
window "clap_trial" >/dev/null
sleep 3
click "clap_trial" 181 179 0.1        # the plug-in on the track: a double click
xdotool click 1
sleep 3
window "^Korvane Brassel" >/dev/null
shot 3-reopened
quit "clap_trial"
echo "== Qtractor's messages"
grep -v XDG_RUNTIME "$work/qtractor.log" || true
