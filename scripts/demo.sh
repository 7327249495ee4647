#!/usr/bin/env bash
# Builds everything, installs the plug-in into ~/.vst, and renders the built-in
# drum-and-bass loop through it: demo/out.wav and demo/gain-reduction.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
mkdir -p ~/.vst
cp build/korvane-brassel.so ~/.vst/
echo "Installed ~/.vst/korvane-brassel.so"
# The demo's own files are replaced on every run.
build/kvbr-render --force
