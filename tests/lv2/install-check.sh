#!/usr/bin/env bash
# `cmake --install` puts the VST 2.x object in lib/vst, the LV2 bundle in
# lib/lv2, the VST 3 bundle in lib/vst3 and the CLAP plug-in in lib/clap
# under the prefix, and LV2 hosts find both LV2 plug-ins there. (The tool,
# its man page and the documents it installs too are the package test's.)
set -euo pipefail
build=$1 prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
expected="lib/clap/korvane-brassel.clap
lib/lv2/korvane-brassel.lv2/korvane-brassel-dsp.so
lib/lv2/korvane-brassel.lv2/korvane-brassel-ui.so
lib/lv2/korvane-brassel.lv2/korvane-brassel.ttl
lib/lv2/korvane-brassel.lv2/manifest.ttl
lib/lv2/korvane-brassel.lv2/presets.ttl
lib/vst/korvane-brassel.so
lib/vst3/korvane-brassel.vst3/Contents/Resources/moduleinfo.json
lib/vst3/korvane-brassel.vst3/Contents/x86_64-linux/korvane-brassel.so"
got=$(cd "$prefix" && find lib -type f | sort)
[ "$got" = "$expected" ] || { echo "installed files differ:"; diff <(echo "$expected") <(echo "$got"); exit 1; }
plugins=$(LV2_PATH="$prefix/lib/lv2" lv2ls)
[ "$plugins" = "https://korvane.com/plugins/brassel
https://korvane.com/plugins/brassel#mono" ] || { echo "lv2ls found: $plugins"; exit 1; }
echo "installed and found by lv2ls"
