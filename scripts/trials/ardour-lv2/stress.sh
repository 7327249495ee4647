#!/usr/bin/env bash
# Runs the headless Ardour session of stress.lua many times in a row, taking
# turns between plug-ins (this LV2 plug-in, this VST 3 plug-in, LSP's LV2
# compressor, none), and counts the runs that died. Usage:
#   stress.sh RUNS [asan|tsan]
# Without a sanitizer it loads build/lv2 and build/vst3; with one, those of
# build-asan or build-tsan with the sanitizer's runtime preloaded into Ardour
# (and into Ardour's VST 3 scanner, which runs the bundle's factory). A runtime
# preloaded into Ardour deadlocks before main (it initialises on the first
# malloc, which libgpg-error's constructor makes while holding gettext's lock),
# so a copy of libgpg-error that first loads a one-line library making that
# malloc is put in front (needs patchelf). Compare with LSP's compressor and
# with no plug-in at all: Ardour's own crash rate under load is not zero.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
runs=${1:-20}
sanitizer=${2:-}
work=$(mktemp -d /tmp/ardour-stress.XXXXXX)
preload=""
runner=()
build=$root/build
if [ -n "$sanitizer" ]; then
  build=$root/build-$sanitizer
  runtime=$(gcc -print-file-name=lib$sanitizer.so)
  [ "$sanitizer" = asan ] && runtime="$runtime $(gcc -print-file-name=libubsan.so)"
  preload=$runtime
  printf '#include <stdlib.h>\n__attribute__((constructor)) static void kick(void) { free(malloc(1)); }\n' > "$work/kick.c"
  gcc -shared -fPIC -o "$work/libkick.so" "$work/kick.c"
  mkdir -p "$work/libs"
  cp "$(ldconfig -p | awk '/libgpg-error.so.0 .*x86-64/ {print $NF; exit}')" "$work/libs/libgpg-error.so.0"
  patchelf --add-needed "$work/libkick.so" "$work/libs/libgpg-error.so.0"
  export LD_LIBRARY_PATH=$work/libs
  export ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0:log_path=$work/asan
  export UBSAN_OPTIONS=print_stacktrace=1:log_path=$work/ubsan
  export TSAN_OPTIONS="report_signal_unsafe=0 log_path=$work/tsan"
  # ThreadSanitizer's fixed memory layout fails under this kernel's address
  # randomisation (a crash before main), so the runs go without it.
  [ "$sanitizer" = tsan ] && runner=(setarch "$(uname -m)" -R)
fi
bundles=$build/lv2
# Ardour finds VST 3 bundles in ~/.vst3 and takes them from its scanner's
# cache, so the runs get a home of their own with the bundle scanned once.
mkdir -p "$work/home/.vst3"
cp -a "$build/vst3/korvane-brassel.vst3" "$work/home/.vst3/"
# With a sanitizer runtime preloaded the scanner can hang in a library's exit
# code after it has written its cache, so the cache entry is what counts.
HOME=$work/home LD_LIBRARY_PATH=/usr/lib/ardour7${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} \
  timeout 120 "${runner[@]}" env LD_PRELOAD="$preload" /usr/lib/ardour7/ardour-vst3-scanner -q "$work/home/.vst3/korvane-brassel.vst3"
grep -qs 'name="Korvane Brassel"' "$work"/home/.cache/ardour7/vst/*.v3i ||
  { echo "Ardour's scanner could not load the VST 3 bundle"; exit 1; }
# What ardour7-lua does, without its shell: a shell with ThreadSanitizer's
# runtime preloaded dies at once.
luaSession() {
  LD_LIBRARY_PATH=/usr/lib/ardour7${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} ARDOUR_DATA_PATH=/usr/share/ardour7 \
    ARDOUR_CONFIG_PATH=/etc/ardour7 ARDOUR_DLL_PATH=/usr/lib/ardour7 VAMP_PATH=/usr/lib/ardour7/vamp \
    timeout 3000 "${runner[@]}" env LD_PRELOAD="$preload" /usr/lib/ardour7/luasession "$@"
}
declare -A ok bad
uris=("https://korvane.com/plugins/brassel" "vst3:Korvane Brassel" "http://lsp-plug.in/plugins/lv2/compressor_stereo" "none")
for i in $(seq 1 "$runs"); do
  for uri in "${uris[@]}"; do
    d=$work/run-$i-$(echo "$uri" | md5sum | cut -c1-6)
    mkdir -p "$d/out"
    path=$bundles:/usr/lib/lv2
    [ "$uri" = none ] && path=/usr/lib/lv2
    type=lv2 name=$uri
    [ "${uri#vst3:}" != "$uri" ] && type=vst3 name=${uri#vst3:}
    HOME=$work/home KVBR_TRIALS=$(dirname "$here") LV2_PATH=$path TRIAL_TYPE=$type TRIAL_URI=$name \
      TRIAL_DIR=$d luaSession "$here/stress.lua" > "$d/log" 2>&1
    status=$?
    if [ $status -eq 0 ] && grep -q TRIAL-OK "$d/log"; then
      ok[$uri]=$(( ${ok[$uri]:-0} + 1 )); rm -rf "$d"
    else
      bad[$uri]=$(( ${bad[$uri]:-0} + 1 ))
      echo "run $i, $uri: exit $status, $(tail -n 1 "$d/log")"
    fi
  done
done
for uri in "${uris[@]}"; do
  echo "$uri: ${ok[$uri]:-0} of $runs completed, ${bad[$uri]:-0} died"
done
ls "$work"/asan* "$work"/ubsan* "$work"/tsan* 2>/dev/null | sed 's/^/sanitizer report: /'
echo "logs of the runs that died: $work"
