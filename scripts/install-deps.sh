#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the demo and the tests need.
set -euo pipefail
packages=(
  build-essential cmake pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcairo2-dev libfontconfig-dev fonts-liberation fonts-dejavu-core libsndfile1-dev
  libx11-dev libxtst-dev libxres-dev xvfb xauth x11-xserver-utils zlib1g-dev
  lv2-dev liblilv-dev lilv-utils sordi
  g++-mingw-w64-x86-64 libz-mingw-w64-dev wine wine64 fonts-wine
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
