#!/usr/bin/env bash
# Builds the release and the sanitizer builds and runs every test suite on both,
# then the concurrency suite under ThreadSanitizer, then builds the fuzzers with
# clang and gives each a bounded run, then cross-builds the Windows DLL and runs
# its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
jobs=$(nproc)
for preset in release debug-asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset" -j"$jobs"
done
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j"$jobs" --target kvbr_unit_tests kvbr_clap_tests
ctest --preset tsan -R 'Concurrency\.'
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
ctest --preset fuzz
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
ctest --preset windows -j"$jobs"
