# Sourced by the Ardour trials: a fresh folder $trial (set by the caller) with
# a home of its own, the build's LV2 bundles on LV2_PATH and its VST 3 bundle
# in that home's ~/.vst3, scanned the way Ardour scans it.
build=$(cd "$KVBR_TRIALS/../../build" && pwd)
rm -rf "$trial" && mkdir -p "$trial/home/.vst3"
export LV2_PATH=$build/lv2
cp -a "$build/vst3/korvane-brassel.vst3" "$trial/home/.vst3/"
export HOME=$trial/home
LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -q "$HOME/.vst3/korvane-brassel.vst3"
