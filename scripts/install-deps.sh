#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs. Without arguments: what
# building the plug-ins and kvbr-render and running the demo need. With
# --release: also what scripts/release.sh adds. With --tests: also what the
# full test run adds (the release's packages included).
set -euo pipefail
# Compilers, CMake, cairo and fonts for the editor and its pictures, libsndfile
# for kvbr-render, X11 for the editor, zlib for the packed artwork, the LV2
# headers.
build=(
  build-essential cmake pkg-config
  libcairo2-dev libfontconfig-dev fonts-liberation fonts-dejavu-core libsndfile1-dev
  libx11-dev zlib1g-dev lv2-dev
)
# The release: the man page, the Debian package's dependency scan (file), the
# Windows cross build, the Windows setup program (NSIS) and zip.
release=(
  help2man file g++-mingw-w64-x86-64 libz-mingw-w64-dev nsis zip
)
# The suites and benchmarks; clang for the fuzzer; the editor tests' X server,
# XTest and xrdb; Debian's LV2 tools and lilv; the Debian package's man page, its
# dependency scan (file) and lintian; the Windows cross build under Wine; the
# release's packages, unzip to look into its zip and Python for the package
# test's look into the CLAP file.
tests=(
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  libxtst-dev libxres-dev xvfb xauth x11-xserver-utils
  liblilv-dev lilv-utils sordi
  help2man file lintian
  g++-mingw-w64-x86-64 libz-mingw-w64-dev wine wine64 fonts-wine
  nsis zip unzip python3
)
case "${1:-}" in
  "") packages=("${build[@]}") ;;
  --release) packages=("${build[@]}" "${release[@]}") ;;
  --tests) packages=("${build[@]}" "${release[@]}" "${tests[@]}") ;;
  *) echo "usage: $0 [--release | --tests]" >&2; exit 2 ;;
esac
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
