#!/usr/bin/env python3
"""Compares two JSON documents field by field.

Prints the number of leaf fields compared when they agree (exit 0), or one
line per differing field (path, first value, second value) and exits 1.
Numbers agree when they are equal to 1e-9 relative; everything else must be
equal exactly.

With --geometry-apart, numbers of the drawn geometry (every number but the
data points of a series and the values of axis labels) may differ: they are
counted and their largest difference printed, and only a difference in a
text, a data point or a label value fails. Fonts measured by another system
move the geometry by a few pixels while the chart's content stays the same.
"""
import re
import json
import math
import sys


def leaves_differ(a, b):
    if isinstance(a, (int, float)) and isinstance(b, (int, float)) \
            and not isinstance(a, bool) and not isinstance(b, bool):
        return not math.isclose(a, b, rel_tol=1e-9, abs_tol=1e-12)
    return a != b


def compare(a, b, path, differences):
    """Returns the number of leaf fields compared below path."""
    if isinstance(a, dict) and isinstance(b, dict):
        count = 0
        for key in sorted(set(a) | set(b)):
            if key not in a or key not in b:
                differences.append((f"{path}.{key}", a.get(key, "<missing>"), b.get(key, "<missing>")))
                continue
            count += compare(a[key], b[key], f"{path}.{key}", differences)
        return count
    if isinstance(a, list) and isinstance(b, list):
        if len(a) != len(b):
            differences.append((f"{path}[len]", len(a), len(b)))
        return sum(compare(x, y, f"{path}[{i}]", differences) for i, (x, y) in enumerate(zip(a, b)))
    if leaves_differ(a, b):
        differences.append((path, a, b))
    return 1


CONTENT = re.compile(r"^\$\.series\[\d+\]\.points\[|\.value$")


def is_geometry(path, a, b):
    numbers = all(isinstance(v, (int, float)) and not isinstance(v, bool) for v in (a, b))
    return numbers and not CONTENT.search(path)


def main():
    arguments = sys.argv[1:]
    geometry_apart = "--geometry-apart" in arguments
    arguments = [a for a in arguments if a != "--geometry-apart"]
    if len(arguments) != 2:
        print("usage: compare_json.py [--geometry-apart] FIRST.json SECOND.json", file=sys.stderr)
        return 2
    with open(arguments[0], encoding="utf-8") as f:
        first = json.load(f)
    with open(arguments[1], encoding="utf-8") as f:
        second = json.load(f)
    differences = []
    count = compare(first, second, "$", differences)
    if geometry_apart:
        geometry = [d for d in differences if is_geometry(*d)]
        differences = [d for d in differences if not is_geometry(*d)]
        if geometry:
            largest = max(abs(a - b) for _, a, b in geometry)
            print(f"{count} fields, {len(geometry)} numbers of the geometry differ (by up to {largest:g})")
    if differences:
        for path, x, y in differences:
            print(f"{path}: {json.dumps(x, ensure_ascii=False)} != {json.dumps(y, ensure_ascii=False)}")
        print(f"{len(differences)} of {count} fields differ")
        return 1
    if not (geometry_apart and geometry):
        print(f"{count} fields")
    return 0


if __name__ == "__main__":
    sys.exit(main())
