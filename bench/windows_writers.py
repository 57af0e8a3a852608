#!/usr/bin/python3
"""The live-writer figures of the Windows build, both sides under Wine.

A receipt program saving one receipt per transaction with busy timeout 0
(receipt-writer.exe) while uriage-probe.exe reads the month with the per-day
query in a loop, on a fresh copy of the 1 million receipt table, once in
rollback-journal mode and once in WAL mode. Wine keeps byte-range locks in its
own server, so the writer must run under Wine too. Prints first the press
itself under Wine (press_<kind>_1m_windows, a fresh process each time, and
press_<kind>_1m_unchanged_windows, pressed again in one process), then per
mode, as the Linux lines do:
  writer_failures_<mode>_1m_windows: F of N commits (pause between saves P ms)
  reads_<mode>_1m_windows: R reads, X failed, longest G ms between two, T not a committed state
  lock_<mode>_writer_1m_windows: median read lock per read

Usage: windows_writers.py --programs DIR --dir-1m DIR --work DIR [--seconds S] [--pause-ms N]
DIR for --programs holds receipt-writer.exe and uriage-probe.exe with the
libraries they load.
"""
import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

TABLE = "領収証記録.db"
YEAR, MONTH = 2005, 3


def winpath(path):
    return "Z:" + str(path).replace("/", "\\")


def free_display():
    for number in range(97, 200):
        if not Path(f"/tmp/.X11-unix/X{number}").exists() and not Path(f"/tmp/.X{number}-lock").exists():
            return number
    raise SystemExit("windows_writers: no free X display")


def wait_until(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            raise SystemExit(f"windows_writers: {what} within {seconds} s")
        time.sleep(0.05)


class Wine:
    """A Wine prefix of its own on a virtual display of its own."""

    def __init__(self, work):
        self.wine = shutil.which("wine") or shutil.which("wine64")
        if not self.wine:
            raise SystemExit("windows_writers: wine is missing")
        self.wineserver = str(Path(os.path.realpath(self.wine)).parent / "wineserver")
        display = free_display()
        self.xvfb = subprocess.Popen(["Xvfb", f":{display}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: Path(f"/tmp/.X11-unix/X{display}").exists(), 10, "Xvfb did not start")
        self.env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "LC_ALL")}
        # Wine names files in the host's character set: UTF-8 with any locale set.
        self.env.update(LANG="C.UTF-8", DISPLAY=f":{display}", WINEPREFIX=str(work / "prefix"), WINEARCH="win64",
                        WINEDEBUG="-all", WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml=")
        shutil.rmtree(work / "prefix", ignore_errors=True)
        subprocess.run([self.wine, "wineboot", "-i"], env=self.env, capture_output=True, timeout=300)
        subprocess.run([self.wineserver, "-w"], env=self.env, timeout=300)
        # A server kept running between the reads: each read starts a process, not a server.
        self.server = subprocess.Popen([self.wineserver, "-f", "-p"], env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The first program under this server starts Wine's services, which
        # would keep its output pipes open after it ends: a program whose
        # output nobody reads starts them.
        subprocess.run([self.wine, "cmd", "/c", "exit"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)

    def start(self, *args, **kwargs):
        return subprocess.Popen([self.wine, *map(str, args)], env=self.env, **kwargs)

    def close(self):
        subprocess.run([self.wineserver, "-k"], env=self.env, capture_output=True)
        for process in (self.server, self.xvfb):
            process.terminate()
            process.wait(timeout=30)


def month_totals(rows):
    """The month's count and sums as the per-day query read them: its rows added up."""
    totals = [0] * 5
    for row in rows:
        for c in range(5):
            totals[c] += round(row[4 + c] or 0)
    return tuple(totals)


def probe_presses(wine, args, kind, presses):
    """Each press's open time (ms) of one uriage-probe.exe query process."""
    month = ["--filter", f"年={YEAR} and 月={MONTH}"] if kind == "daily" else ["--filter", f"年={YEAR}"]
    probe = wine.start(args.programs / "uriage-probe.exe", "query", "--data-dir", winpath(args.dir_1m), "--kind", kind,
                       *month, "--timing", "--presses", presses, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    out, err = probe.communicate(timeout=300)
    answer = json.loads(out.decode("utf-8").replace("\r", "") or "{}")
    if answer.get("error") or not answer.get("rows"):
        raise SystemExit(f"windows_writers: the {kind} press failed: {answer.get('error') or err[-200:]}")
    return [float(t) for t in re.findall(r"open: ([0-9.]+) ms", err.decode("utf-8", "replace"))]


def run_presses(wine, args, runs=5):
    """The filter press under Wine on the 1 million receipt table: a fresh
    process each time (the file read afresh), then one process pressing again
    on the unchanged file."""
    for kind in ("daily", "monthly"):
        cold = [probe_presses(wine, args, kind, 1)[0] for _ in range(runs)]
        again = probe_presses(wine, args, kind, runs + 1)[1:]
        print(f"press_{kind}_1m_windows: {statistics.median(cold):.1f} ms (uriage-probe.exe query, the open, median of {runs})")
        print(f"press_{kind}_1m_unchanged_windows: {statistics.median(again):.2f} ms (the same process pressing again)")
        sys.stdout.flush()


def run_mode(wine, args, wal):
    mode = "wal" if wal else "rollback"
    folder = args.work / f"writer-{mode}"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    shutil.copyfile(args.dir_1m / TABLE, folder / TABLE)
    log = args.work / f"writer-{mode}.log"
    log.unlink(missing_ok=True)

    writer_args = ["--dir", winpath(folder), "--seconds", args.seconds, "--pause-ms", args.pause_ms,
                   "--year", YEAR, "--month", MONTH, "--log", winpath(log)] + (["--wal"] if wal else [])
    writer = wine.start(args.programs / "receipt-writer.exe", *writer_args, stdout=subprocess.PIPE,
                        stderr=subprocess.DEVNULL)
    # The reads start once the writer has set up and logged its first state.
    wait_until(lambda: (log.exists() and log.stat().st_size > 0) or writer.poll() is not None, 120,
               "receipt-writer.exe logged no state")

    totals, failed, locks, gaps = [], [], [], []
    last = time.monotonic()
    while writer.poll() is None:
        probe = wine.start(args.programs / "uriage-probe.exe", "query", "--data-dir", winpath(folder), "--kind",
                           "daily", "--filter", f"年={YEAR} and 月={MONTH}", "--timing",
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        out, err = probe.communicate(timeout=120)
        answer = json.loads(out.decode("utf-8").replace("\r", "") or "{}")
        if answer.get("error") or "rows" not in answer:
            failed.append(answer.get("error") or err.decode("utf-8", "replace").strip()[-200:])
            continue
        now = time.monotonic()
        gaps.append(now - last)
        last = now
        totals.append(month_totals(answer["rows"]))
        lock = re.search(r"read lock: ([0-9.]+) ms", err.decode("utf-8", "replace"))
        if lock:
            locks.append(float(lock.group(1)))
    summary = writer.stdout.read().decode().split()
    if writer.wait() != 0 or len(summary) != 4:
        raise SystemExit(f"windows_writers: receipt-writer.exe failed in {mode} mode")

    states, failures = set(), []
    for line in log.read_text(encoding="utf-8").splitlines():
        parts = line.split()
        if len(parts) == 6 and parts[0] == "state":
            states.add(tuple(int(p) for p in parts[1:]))
        elif line.startswith("failure ") and len(failures) < 3:
            failures.append(line[8:])
    torn = sum(1 for t in totals if t not in states)
    commits, lost = int(summary[1]), int(summary[3])
    print(f"writer_failures_{mode}_1m_windows: {lost:,} of {commits + lost:,} commits "
          f"(pause between saves {args.pause_ms} ms)")
    print(f"reads_{mode}_1m_windows: {len(totals)} reads, {len(failed)} failed, "
          f"longest {max(gaps, default=0) * 1000:.0f} ms between two, {torn} not a committed state")
    if locks:
        print(f"lock_{mode}_writer_1m_windows: {statistics.median(locks):.1f} ms "
              f"(longest {max(locks):.1f} ms, {sum(1 for lock in locks if lock > 0)} reads under the lock)")
    for message in failed[:1]:
        print(f"  {mode} first failed read: {message}", file=sys.stderr)
    for message in failures:
        print(f"  {mode} writer failure: {message}", file=sys.stderr)
    sys.stdout.flush()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--programs", type=Path, required=True)
    parser.add_argument("--dir-1m", type=Path, required=True)
    parser.add_argument("--work", type=Path, required=True)
    parser.add_argument("--seconds", type=int, default=30)
    parser.add_argument("--pause-ms", type=int, default=50)
    args = parser.parse_args()
    args.work = args.work.resolve()
    args.dir_1m = args.dir_1m.resolve()
    args.programs = args.programs.resolve()
    args.work.mkdir(parents=True, exist_ok=True)
    for needed in (args.programs / "receipt-writer.exe", args.programs / "uriage-probe.exe", args.dir_1m / TABLE):
        if not needed.exists():
            raise SystemExit(f"windows_writers: {needed} is missing")
    wine = Wine(args.work)
    try:
        run_presses(wine, args)
        run_mode(wine, args, wal=False)
        run_mode(wine, args, wal=True)
    finally:
        wine.close()


if __name__ == "__main__":
    main()
