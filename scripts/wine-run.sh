#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix, creating the prefix
# on first use:  wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# The Windows build's ctest uses it as its cross-compiling emulator.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 PREFIX PROGRAM.exe [ARGUMENTS...]" >&2
  exit 2
fi
prefix=$1
shift
export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No .NET or HTML engine: nothing here needs them, and without them a new
# prefix neither offers to download them nor waits for them.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$prefix")"
# Tests started in parallel must not build the prefix twice.
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/system.reg" ]; then
  wine wineboot --init >/dev/null 2>&1 || true
  # The registry files are written when the server ends.
  wineserver -w
  if [ ! -f "$prefix/system.reg" ]; then
    echo "wine-run.sh: could not create the Wine prefix $prefix" >&2
    exit 1
  fi
fi
flock -u 9
exec 9>&-
# Debian 12 runs 64-bit programs through "wine" (there is no wine64 on the PATH).
exec wine "$@"
