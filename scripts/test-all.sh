#!/usr/bin/env bash
# Builds the release and the sanitizer builds and runs every test suite on both,
# builds the fuzzers with clang and gives each a bounded run, then runs the
# concurrency suite under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
for preset in release debug-asan fuzz; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset" -j"$jobs"
done
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j"$jobs" --target kvbr_unit_tests
ctest --preset tsan -R 'Concurrency\.'
