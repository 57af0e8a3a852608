#!/usr/bin/env python3
"""Compares two JSON documents field by field.

Prints the number of leaf fields compared when they agree (exit 0), or one
line per differing field (path, first value, second value) and exits 1.
Numbers agree when they are equal to 1e-9 relative; everything else must be
equal exactly.
"""
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


def main():
    if len(sys.argv) != 3:
        print("usage: compare_json.py FIRST.json SECOND.json", file=sys.stderr)
        return 2
    with open(sys.argv[1], encoding="utf-8") as f:
        first = json.load(f)
    with open(sys.argv[2], encoding="utf-8") as f:
        second = json.load(f)
    differences = []
    count = compare(first, second, "$", differences)
    if differences:
        for path, x, y in differences:
            print(f"{path}: {json.dumps(x, ensure_ascii=False)} != {json.dumps(y, ensure_ascii=False)}")
        print(f"{len(differences)} of {count} fields differ")
        return 1
    print(f"{count} fields")
    return 0


if __name__ == "__main__":
    sys.exit(main())
