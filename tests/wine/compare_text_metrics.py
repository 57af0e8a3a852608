#!/usr/bin/env python3
"""Compares two text-metrics records of the probe (--text-metrics-out).

Prints one line: how many texts both systems measured, in how many fonts,
how many of them differ in width and the range of the second's widths less
the first's, how many fonts differ in line height and by how much at most,
and how many texts only one system measured (a layout moved by other widths
may pick other labels). Exits 0; 2 on a bad command line.
"""
import json
import sys


def font_key(entry):
    font = entry["font"]
    return (font["family"], font["pixelSize"], font["weight"], font["italic"])


def load(path):
    with open(path, encoding="utf-8") as f:
        return {font_key(entry): entry for entry in json.load(f)["fonts"]}


def main():
    if len(sys.argv) != 3:
        print("usage: compare_text_metrics.py FIRST.json SECOND.json", file=sys.stderr)
        return 2
    first, second = load(sys.argv[1]), load(sys.argv[2])
    fonts = sorted(set(first) & set(second))
    shared = heights_differ = largest_height = one_side = 0
    width_changes = []
    for key in fonts:
        a, b = first[key]["widths"], second[key]["widths"]
        one_side += len(set(a) ^ set(b))
        for text in set(a) & set(b):
            shared += 1
            if a[text] != b[text]:
                width_changes.append(b[text] - a[text])
        height_a, height_b = first[key].get("lineHeight"), second[key].get("lineHeight")
        if height_a != height_b:
            heights_differ += 1
            if height_a is not None and height_b is not None:
                largest_height = max(largest_height, abs(height_a - height_b))
    one_side += sum(len(first[k]["widths"]) for k in set(first) - set(second))
    one_side += sum(len(second[k]["widths"]) for k in set(second) - set(first))
    spread = f", by {min(width_changes):+d} to {max(width_changes):+d} px (second minus first)" if width_changes else ""
    print(f"{shared} texts in {len(fonts)} fonts measured by both, {len(width_changes)} differ in width{spread}; "
          f"{heights_differ} of {len(fonts)} line heights differ "
          f"(by up to {largest_height} px); {one_side} texts measured by one only")
    return 0


if __name__ == "__main__":
    sys.exit(main())
