#!/usr/bin/env bash
# Clicks through the Windows setup program as a new user would, under Wine
# on a virtual display, in a fresh prefix, and takes a picture of every page:
#   run.sh SETUP.exe OUT-FOLDER [WINHOST.exe [VST3-VIEW-TESTS.exe]]
# First it cancels on the components page (nothing may be installed), then
# installs with the defaults, pressing Enter on each page (Next, I Agree,
# Install, Finish), then, with WINHOST.exe (build-windows/winhost.exe), opens
# the installed VST 2.x plug-in's editor in that test host and, with the VST 3
# view test (build-windows/tests/windows/kvbr_vst3_view_tests.exe), the
# installed VST 3 bundle's editor in a host window of its own, and last runs
# the uninstaller the same way. Needs Xvfb, xdotool and ImageMagick's import.
set -euo pipefail
setup=$(realpath "$1") out=$(realpath -m "$2") winhost=${3:+$(realpath "$3")} vst3view=${4:+$(realpath "$4")}
mkdir -p "$out"
export WINEPREFIX=$out/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"

Xvfb :57 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=:57
sleep 1
wine wineboot --init >/dev/null 2>&1 || true
wineserver -w

window() {  # waits for a window whose title matches $1; prints its id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.2
  done
  echo "no window '$1'" >&2; return 1
}
shot() {  # window id, picture name
  sleep 1.5
  import -window "$1" "$out/$2.png"
  echo "  $out/$2.png"
}
press() { xdotool windowactivate --sync "$1" 2>/dev/null || true; xdotool key --window "$1" "$2"; }
installed() { find "$WINEPREFIX/drive_c/Program Files" \( -name 'korvane-brassel*' -o -name 'Korvane Brassel' \) | sort; }

echo "== cancelled on the components page"
wine "$setup" &
setup_pid=$!
id=$(window "Setup")
press "$id" Return; sleep 1; press "$id" Return; sleep 1   # welcome, licence
shot "$id" setup-cancel-components
press "$id" Escape
sleep 2
import -window root "$out/setup-cancel-question.png"
xdotool key Return   # "Are you sure you want to quit?" Yes
status=0
wait $setup_pid || status=$?
wineserver -w
echo "  setup exited with $status; installed after cancelling: $(installed | wc -l) paths"

echo "== installed with the defaults"
wine "$setup" &
setup_pid=$!
id=$(window "Setup")
shot "$id" setup-1-welcome; press "$id" Return
shot "$id" setup-2-licence; press "$id" Return
shot "$id" setup-3-components; press "$id" Return
shot "$id" setup-4-vst2-folder; press "$id" Return
sleep 4
shot "$id" setup-5-installed; press "$id" Return
shot "$id" setup-6-finished; press "$id" Return
wait $setup_pid || true
wineserver -w
installed | sed 's/^/  /'
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvaneBrassel' | tr -d '\r' | sed 's/^/  /'

if [ -n "$winhost" ]; then
  echo "== the installed VST 2.x plug-in in the test host"
  mkdir -p "$out/host"
  wine "$winhost" --editor 'C:\Program Files\VSTPlugins\korvane-brassel.dll' "Z:$out/host" 2>&1 | tail -3 || true
fi

if [ -n "$vst3view" ]; then
  echo "== the installed VST 3 plug-in in a host window"
  KVBR_VST3_INSTALLED='C:\Program Files\Common Files\VST3\korvane-brassel.vst3\Contents\x86_64-win\korvane-brassel.vst3' \
    wine "$vst3view" --gtest_brief=1 > "$out/vst3-view.log" 2>&1 &
  view_pid=$!
  id=$(window "VST 3 host")
  sleep 1.2
  import -window "$id" "$out/vst3-installed-editor.png"
  echo "  $out/vst3-installed-editor.png"
  status=0
  wait $view_pid || status=$?
  tail -n 2 "$out/vst3-view.log" | tr -d '\r' | sed 's/^/  /'
  echo "  the view test exited with $status"
fi

echo "== the uninstaller"
wine 'C:\Program Files\Korvane Brassel\uninstall.exe' &
id=$(window "Uninstall")
shot "$id" uninstall-1-confirm; press "$id" Return
sleep 3
shot "$id" uninstall-2-done; press "$id" Return
wineserver -w
echo "  left after uninstalling: $(installed | wc -l) paths"
