#!/usr/bin/env bash
# Builds a release of the commit checked out and writes its downloads into
# dist/ (or --dist DIR):
#   korvane-brassel_VERSION_amd64.deb               the Debian package
#   korvane-brassel-VERSION-linux-x86_64.tar.gz     every Linux format, install.sh
#   korvane-brassel-VERSION-windows-x64-setup.exe   the Windows setup program
#   korvane-brassel-VERSION-windows-x64.zip         the Windows files to copy by hand
#   SHA256SUMS
# It builds from a clean copy of the commit (git archive, so nothing
# uncommitted or untracked gets in) in build-release-source/, and compiles in
# build-release-linux/ and build-release-windows/ without tests or benchmarks,
# leaving the developers' build folders alone. Every date in the downloads is
# the commit's, so two runs on the same commit give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
dist=dist
while [ $# -gt 0 ]; do
  case $1 in
    --dist) dist=$2; shift ;;
    *) sed -n '2,13s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
  esac
  shift
done
scripts/install-deps.sh --release
commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release.sh: the work tree has uncommitted changes; releasing the commit ${commit:0:12} without them" >&2
fi
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH
started=$(date +%s)

source=$PWD/build-release-source
rm -rf "$source" build-release-linux build-release-windows
mkdir -p "$source"
git archive --format=tar "$commit" | tar -x -C "$source"

options=(-DCMAKE_BUILD_TYPE=Release -DKVBR_BUILD_TESTS=OFF -DKVBR_BUILD_BENCH=OFF)
cmake -S "$source" -B build-release-linux "${options[@]}" >/dev/null
cmake --build build-release-linux -j"$(nproc)"
cmake -S "$source" -B build-release-windows --toolchain "$source/cmake/mingw-w64-x86_64.cmake" \
  "${options[@]}" >/dev/null
cmake --build build-release-windows -j"$(nproc)"

rm -rf "$dist"
"$source/scripts/release-package.sh" --out "$dist" \
  --linux-build build-release-linux --windows-build build-release-windows
echo "release.sh: ${commit:0:12} in $(($(date +%s) - started)) s; $dist/SHA256SUMS:"
cat "$dist/SHA256SUMS"
