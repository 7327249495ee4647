#!/usr/bin/env python3
"""Runs bench/editor_bench and prints the editor's opening times as a table.

Usage: scripts/editor-opening-table.py [path/to/editor_bench] [rounds] [--before OTHER_BENCH]

Each cell is the median over the rounds of the wall-clock milliseconds from
opening the editor to the end of its first paint, with the processor time in
brackets (what the opening itself costs when other programs share the
machine). With --before, a second editor_bench (an older build) is run in the
same rounds, in turn with the first, so that a drift of the machine's load
hits both alike.
"""
import json
import statistics
import subprocess
import sys

import benchArgs

bench, rounds, before = benchArgs.parse(sys.argv[1:], "build/bench/editor_bench", 5)

KINDS = [("FirstOpening", "First opening"), ("OpeningAgain", "Opened again"),
         ("SecondInstance", "Second instance")]
SCALES = [100, 125, 150, 200, 300]


def run_once(binary):
    out = subprocess.run([binary, "--benchmark_format=json"], check=True,
                         capture_output=True, text=True).stdout
    figures = {}
    for b in json.loads(out)["benchmarks"]:
        kind, scale = b["run_name"].split("/")[:2]
        figures[(kind, int(scale))] = (b["real_time"], b["cpu_ms"])
    return figures


binaries = [bench] + ([before] if before else [])
samples = [dict() for _ in binaries]
for _ in range(rounds):
    for k, binary in enumerate(binaries):
        for key, value in run_once(binary).items():
            samples[k].setdefault(key, []).append(value)


def cell(k, key):
    values = samples[k].get(key)
    if not values:
        return "-"
    wall = statistics.median(v[0] for v in values)
    cpu = statistics.median(v[1] for v in values)
    return f"{wall:.1f} ms ({cpu:.1f})"


header = "| Scale |"
rule = "|---:|"
for _, title in KINDS:
    if before:
        header += f" {title}, before | after |"
        rule += "---:|---:|"
    else:
        header += f" {title} |"
        rule += "---:|"
print(header)
print(rule)
for scale in SCALES:
    line = f"| {scale / 100:g} |"
    for kind, _ in KINDS:
        if before:
            line += f" {cell(1, (kind, scale))} | {cell(0, (kind, scale))} |"
        else:
            line += f" {cell(0, (kind, scale))} |"
    print(line)
