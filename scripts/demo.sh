#!/usr/bin/env bash
# Builds the plug-in, installs it into ~/.vst and shows what a host sees of it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
mkdir -p ~/.vst
cp build/korvane-brassel.so ~/.vst/
echo "Installed ~/.vst/korvane-brassel.so"
build/kvbr-identify build/korvane-brassel.so
