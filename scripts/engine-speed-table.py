#!/usr/bin/env python3
"""Runs bench/engine_bench and prints the README's engine speed table.

Usage: scripts/engine-speed-table.py [path/to/engine_bench] [repetitions] [--before OTHER_BENCH]

Each figure is the median over the repetitions, all taken in one run. With
--before, a second engine_bench (an older build, or the same one run with
KVBR_ENGINE_PATH=baseline when given as "baseline") is measured in the same
run, repetition by repetition in turn with the first, so that a drift of the
machine's speed hits both alike, and a before/after table follows.
"""
import json
import os
import statistics
import subprocess
import sys

import benchArgs

bench, repetitions, before = benchArgs.parse(sys.argv[1:], "build/bench/engine_bench", 9)


def run_once(binary, env):
    out = subprocess.run(
        [binary, "--benchmark_min_time=0.3", "--benchmark_format=json"],
        check=True, capture_output=True, text=True, env=env).stdout
    figures = {}
    for b in json.loads(out)["benchmarks"]:
        if "ns/frame" in b:
            figures[b["run_name"]] = b["ns/frame"] * 1e9  # the counter is seconds per frame
    return figures


runs = [(bench, dict(os.environ))]
if before == "baseline":
    runs.append((bench, dict(os.environ, KVBR_ENGINE_PATH="baseline")))
elif before:
    runs.append((before, dict(os.environ)))
samples = [dict() for _ in runs]
for _ in range(repetitions):
    for k, (binary, env) in enumerate(runs):
        for name, ns in run_once(binary, env).items():
            samples[k].setdefault(name, []).append(ns)
medians = [{name: statistics.median(v) for name, v in s.items()} for s in samples]
now = medians[0]

floor = now["libmFloor"]
vector_floor = now.get("vectorFloor")
print(f"Scalar floor: {floor:.1f} ns per frame", end="")
if vector_floor:
    print(f"; vector floor: {vector_floor:.1f} ns per frame ({floor / vector_floor:.1f} times faster)")
else:
    print()
print()
print("Each cell: ns per stereo frame (ratio to the scalar floor, ratio to the vector floor, "
      "real-time factor at 48 kHz)\n")
print("| Process call | Mode | Material | Ratio 1.2:1 (step 0) | Ratio 4:1 (step 4) | Ratio 10:1 (step 6) |")
print("|---|---|---|---:|---:|---:|")
worst = 0.0
worst_ratio = 0.0
rows = []
for sample, call in (("float", "processReplacing"), ("double", "processDoubleReplacing")):
    for bursts, material in ((0, "steady"), (1, "bursts")):
        for mode, name in ((1, "Clear"), (2, "Valve")):
            cells = []
            for step in (0, 4, 6):
                key = f"runEngine<{sample}>/{mode}/{step}/{bursts}"
                ns = now[key]
                worst = max(worst, ns)
                worst_ratio = max(worst_ratio, ns / floor)
                vf = f", {ns / vector_floor:.2f}x" if vector_floor else ""
                cells.append(f"{ns:.1f} ns ({ns / floor:.2f}x{vf}, {1e9 / 48000 / ns:.0f}x RT)")
                rows.append((call, name, material, step, key))
            print(f"| {call} | {name} | {material} | " + " | ".join(cells) + " |")
print(f"\nSlowest: {worst:.1f} ns per frame, {1e9 / 48000 / worst:.0f} times real time; "
      f"largest ratio to the scalar floor {worst_ratio:.2f}")

if len(runs) > 1:
    old = medians[1]
    label = "the baseline path" if before == "baseline" else before
    print(f"\nBefore ({label}) and after, measured in turn in the same run "
          f"(scalar floor then {old['libmFloor']:.1f} ns, now {floor:.1f} ns):\n")
    print("| Process call | Mode | Material | Ratio step | Before | After | After / before |")
    print("|---|---|---|---:|---:|---:|---:|")
    for call, name, material, step, key in rows:
        print(f"| {call} | {name} | {material} | {step} | {old[key]:.1f} ns | {now[key]:.1f} ns | "
              f"{now[key] / old[key]:.2f} |")
