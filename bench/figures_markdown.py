#!/usr/bin/python3
"""Turns scripts/bench's figure lines ("name: value (detail)") into the table
docs/performance.md shows, headed by the date, revision and machine."""
import os
import platform
import re
import subprocess
import sys
import time


def machine():
    cpu = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo") if line.startswith("model name")), "?")
    memory = next(int(line.split()[1]) for line in open("/proc/meminfo") if line.startswith("MemTotal"))
    load = " ".join(open("/proc/loadavg").read().split()[:3])
    return f"{os.cpu_count()} processors, {cpu}, {memory / 1048576:.1f} GB memory, Linux {platform.release()}, load average {load}"


def rows(lines):
    """(figure, value, detail) for each figure line; other lines are left out."""
    for line in lines:
        match = re.match(r"^([a-z0-9_]+): (.*?)(?: \((.*)\))?$", line.rstrip("\n"))
        if match and match.group(1) != "bench":  # "bench: ..." lines are its complaints
            yield match.group(1), match.group(2), match.group(3) or ""


def main(path):
    revision = subprocess.run(["git", "rev-parse", "--short", "HEAD"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True).stdout.strip() or "unknown"
    print(f"Measured {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())} at revision {revision}: {machine()}.")
    print()
    print("| Figure | Value | Detail |")
    print("|---|---|---|")
    with open(path) as lines:
        for figure, value, detail in rows(lines):
            print(f"| `{figure}` | {value} | {detail} |")


if __name__ == "__main__":
    main(sys.argv[1])
