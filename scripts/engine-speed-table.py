#!/usr/bin/env python3
"""Runs bench/engine_bench and prints the README's engine speed table.

Usage: scripts/engine-speed-table.py [path/to/engine_bench] [repetitions]
Each figure is the median over the repetitions, all taken in one run.
"""
import json
import subprocess
import sys

bench = sys.argv[1] if len(sys.argv) > 1 else "build/bench/engine_bench"
repetitions = sys.argv[2] if len(sys.argv) > 2 else "9"
out = subprocess.run(
    [bench, "--benchmark_min_time=0.3", "--benchmark_repetitions=" + repetitions,
     "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
    check=True, capture_output=True, text=True).stdout
median = {}
for b in json.loads(out)["benchmarks"]:
    if b.get("aggregate_name") == "median":
        median[b["run_name"]] = b["ns/frame"] * 1e9  # the counter is seconds per frame

floor = median["libmFloor"]
print(f"Floor: {floor:.1f} ns per frame\n")
print("| Process call | Mode | Material | Ratio 1.2:1 (step 0) | Ratio 4:1 (step 4) | Ratio 10:1 (step 6) |")
print("|---|---|---|---:|---:|---:|")
worst = 0.0
for sample, call in (("float", "processReplacing"), ("double", "processDoubleReplacing")):
    for bursts, material in ((0, "steady"), (1, "bursts")):
        for mode, name in ((1, "Clear"), (2, "Valve")):
            cells = []
            for step in (0, 4, 6):
                ns = median[f"runEngine<{sample}>/{mode}/{step}/{bursts}"]
                worst = max(worst, ns)
                cells.append(f"{ns:.1f} ns ({ns / floor:.2f}x, {1e9 / 48000 / ns:.0f}x RT)")
            print(f"| {call} | {name} | {material} | " + " | ".join(cells) + " |")
print(f"\nSlowest: {worst:.1f} ns per frame, {1e9 / 48000 / worst:.0f} times real time")
