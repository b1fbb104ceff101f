#!/usr/bin/env python3
"""Prints line and branch coverage per layer folder from gcovr's JSON summary.

usage: coverage_layers.py SUMMARY.json LAYER...
"""
import json
import sys


def percent(covered, total):
    return f"{100.0 * covered / total:5.1f}%" if total else "    -"


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__.strip())
    with open(sys.argv[1]) as f:
        files = json.load(f)["files"]
    layers = sys.argv[2:]
    sums = {layer: [0, 0, 0, 0] for layer in layers + ["all"]}
    for entry in files:
        layer = entry["filename"].split("/", 1)[0]
        if layer not in sums:
            continue
        counts = (entry["line_covered"], entry["line_total"],
                  entry["branch_covered"], entry["branch_total"])
        for key in (layer, "all"):
            sums[key] = [a + b for a, b in zip(sums[key], counts)]
    print(f"{'layer':10} {'lines':>18} {'branches':>18}")
    for layer in layers + ["all"]:
        lc, lt, bc, bt = sums[layer]
        print(f"{layer + '/' if layer != 'all' else 'all':10} "
              f"{percent(lc, lt)} {lc:5}/{lt:<5} {percent(bc, bt)} {bc:5}/{bt:<5}")


if __name__ == "__main__":
    main()
