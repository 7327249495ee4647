#!/usr/bin/env bash
# Builds everything, installs the VST 2.x plug-in into ~/.vst, the LV2
# bundle into ~/.lv2, the VST 3 bundle into ~/.vst3 and the CLAP plug-in into
# ~/.clap, and renders the built-in drum-and-bass loop through it:
# demo/out.wav and demo/gain-reduction.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The suites and benchmarks are the test command's; leaving them out spares
# their packages and most of the build's time.
cmake --preset release -DKVBR_BUILD_TESTS=OFF -DKVBR_BUILD_BENCH=OFF >/dev/null
cmake --build --preset release -j"$(nproc)"
mkdir -p ~/.vst
cp build/korvane-brassel.so ~/.vst/
echo "Installed ~/.vst/korvane-brassel.so"
# The bundle is replaced whole, so no file of an older build stays behind.
mkdir -p ~/.lv2
rm -rf ~/.lv2/korvane-brassel.lv2
cp -r build/lv2/korvane-brassel.lv2 ~/.lv2/
echo "Installed ~/.lv2/korvane-brassel.lv2"
mkdir -p ~/.clap
cp build/clap/korvane-brassel.clap ~/.clap/
echo "Installed ~/.clap/korvane-brassel.clap"
mkdir -p ~/.vst3
rm -rf ~/.vst3/korvane-brassel.vst3
cp -r build/vst3/korvane-brassel.vst3 ~/.vst3/
echo "Installed ~/.vst3/korvane-brassel.vst3"
# The demo's own files are replaced on every run.
build/kvbr-render --force
