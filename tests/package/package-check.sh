#!/usr/bin/env bash
# The Debian package as a user gets it: made by cpack from this build,
# unpacked into a throw-away root; its files where hosts and the shell look
# (the VST 3 bundle in /usr/lib/vst3, exporting its entry points only);
# Depends read off the binaries; both LV2 plug-ins found there; the packaged
# kvbr-render finding the packaged VST 2.x plug-in with --vst2; and lintian
# without errors.
set -euo pipefail
build=$1 work=$2 version=$3
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$work"
mkdir -p "$work/home"

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$work/korvane-brassel_${version}_amd64.deb
[ -f "$deb" ] || fail "cpack wrote no $(basename "$deb"): $(ls "$work")"
root=$work/root
dpkg -x "$deb" "$root"

# The files that must be there; nothing else may be but inside the bundles of
# the formats packaging/formats lists.
bundle=/usr/lib/lv2/korvane-brassel.lv2
required="/usr/bin/kvbr-render
$bundle/korvane-brassel-dsp.so
$bundle/korvane-brassel-ui.so
$bundle/korvane-brassel.ttl
$bundle/manifest.ttl
$bundle/presets.ttl
/usr/lib/vst/korvane-brassel.so
/usr/lib/vst3/korvane-brassel.vst3/Contents/Resources/moduleinfo.json
/usr/lib/vst3/korvane-brassel.vst3/Contents/x86_64-linux/korvane-brassel.so
/usr/share/doc/korvane-brassel/README.md
/usr/share/doc/korvane-brassel/changelog.gz
/usr/share/doc/korvane-brassel/copyright
/usr/share/man/man1/kvbr-render.1.gz"
formats=$(grep -E '^[a-z0-9]+$' "$(dirname "$0")/../../packaging/formats")
bundles="$bundle/"
grep -qx vst3 <<<"$formats" && bundles+=" /usr/lib/vst3/korvane-brassel.vst3/"
grep -qx clap <<<"$formats" && required+=$'\n/usr/lib/clap/korvane-brassel.clap'
required=$(sort <<<"$required")
files=$(cd "$root" && find . ! -type d | sed 's|^\.||' | sort)
missing=$(comm -23 <(echo "$required") <(echo "$files"))
[ -z "$missing" ] || fail "missing from the package: $missing"
for folder in $bundles; do
  grep -q "^$folder" <<<"$files" || fail "missing from the package: $folder"
done
stray=$(comm -13 <(echo "$required") <(echo "$files") || true)
for folder in $bundles; do
  stray=$(grep -v "^$folder" <<<"$stray" || true)
done
[ -z "$stray" ] || fail "not meant for the package: $stray"

depends=$(dpkg-deb -f "$deb" Depends)
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for library in libc6 libstdc++6 libcairo2 libx11-6 libsndfile1; do
  grep -Fqx "$library" <<<"$names" || fail "Depends lacks $library: $depends"
done

plugins=$(LV2_PATH=$root/usr/lib/lv2 lv2ls)
[ "$plugins" = "https://korvane.com/plugins/brassel
https://korvane.com/plugins/brassel#mono" ] || fail "lv2ls in the package found: $plugins"

# The packaged CLAP plug-in, stripped as it is, still offers both plug-ins.
"$(dirname "$0")/clap-factory-ids.py" "$root/usr/lib/clap/korvane-brassel.clap" >"$work/clap-ids" ||
  fail "the packaged .clap does not load: $(cat "$work/clap-ids")"
[ "$(cat "$work/clap-ids")" = "com.korvane.brassel
com.korvane.brassel.mono" ] || fail "the packaged .clap offers: $(cat "$work/clap-ids")"

# The packaged tool, with no plug-in beside it, takes the first VST_PATH entry
# that holds one; empty and missing entries are passed over.
listed() { grep -x "  .*\.so" <<<"$1" || true; }
out=$(HOME=$work/home VST_PATH=":$work/nowhere::$root/usr/lib/vst" "$root/usr/bin/kvbr-render" --list --vst2)
[ "$(listed "$out")" = "  $root/usr/lib/vst/korvane-brassel.so" ] ||
  fail "packaged kvbr-render via VST_PATH loaded: $(listed "$out")"
ln -s "$root/usr/lib/vst" "$work/home/.vst"
out=$(env -u VST_PATH HOME=$work/home "$root/usr/bin/kvbr-render" --list --vst2)
[ "$(listed "$out")" = "  $work/home/.vst/korvane-brassel.so" ] ||
  fail "packaged kvbr-render via ~/.vst loaded: $(listed "$out")"
# The build's own tool still prefers the plug-in built beside it.
out=$(VST_PATH=$root/usr/lib/vst "$build/kvbr-render" --list --vst2)
[ "$(listed "$out")" = "  $(realpath "$build")/korvane-brassel.so" ] ||
  fail "build/kvbr-render loaded: $(listed "$out")"

vst3=$root/usr/lib/vst3/korvane-brassel.vst3/Contents/x86_64-linux/korvane-brassel.so
exports=$(nm -D --defined-only "$vst3" | awk '{print $3}' | sort | tr '\n' ' ')
[ "$exports" = "GetPluginFactory ModuleEntry ModuleExit " ] || fail "the packaged VST 3 object exports: $exports"

lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"
echo "$(basename "$deb"): $(echo "$files" | wc -l) files, Depends: $depends"
