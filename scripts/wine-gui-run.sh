#!/usr/bin/env bash
# Runs a Windows program that opens windows under Wine, on a virtual X
# display of its own (Xvfb, 1024 x 768, 24 bits), in a Wine prefix of its own:
#   wine-gui-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# The display and the prefix's Wine processes end with the program.
# KVBR_WINE_SCREEN sets another screen (WIDTHxHEIGHTxDEPTH); KVBR_WINE_DPI
# gives the display that many dots per inch (Wine's LogPixels) first.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 PREFIX PROGRAM.exe [ARGUMENTS...]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
# Wine wants an absolute prefix.
prefix=$(realpath -m "$1")
shift

# Xvfb picks a free display number and writes it to the descriptor given.
displayFile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${KVBR_WINE_SCREEN:-1024x768x24}" -nolisten tcp 3>"$displayFile" 2>/dev/null &
xvfb=$!
cleanup() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -f "$displayFile"
}
trap cleanup EXIT
for _ in $(seq 100); do
  [ -s "$displayFile" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "wine-gui-run.sh: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
if [ ! -s "$displayFile" ]; then
  echo "wine-gui-run.sh: Xvfb gave no display" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$displayFile")"
if [ -n "${KVBR_WINE_DPI:-}" ]; then
  for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    "$here/wine-run.sh" "$prefix" reg add "$key" /v LogPixels /t REG_DWORD \
      /d "$KVBR_WINE_DPI" /f >/dev/null
  done
  WINEPREFIX=$prefix wineserver -w
fi
status=0
"$here/wine-run.sh" "$prefix" "$@" || status=$?
exit $status
