#!/usr/bin/env bash
# Debian's LV2 validator over the bundle's Turtle files: no error allowed.
set -euo pipefail
bundle=$1
for f in manifest.ttl korvane-brassel.ttl presets.ttl; do [ -f "$bundle/$f" ] || { echo "no $f in $bundle"; exit 1; }; done
out=$(lv2_validate "$bundle"/*.ttl 2>&1) || true
echo "$out"
echo "$out" | grep -q "^Found 0 errors" || { echo "lv2_validate reported errors"; exit 1; }
