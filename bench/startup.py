#!/usr/bin/env python3
"""Whole-process start-up of the game against a bare Qt window, under Xvfb.

For each run, from exec to the window shown and painted (at least half of
its pixels drawn: the board for the game, the plain background for the bare
window), and the resident memory (VmRSS) at that moment and one second
later. The two programs take turns in one X server; medians are reported
with the game's figures as ratios of the bare window's.

Usage: startup.py --game PATH --bare PATH [--runs N] [--json FILE]
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from xsession import Failure, Session  # noqa: E402

# Targets: the game may take at most this many times the bare window's
# start-up time and resident memory.
STARTUP_RATIO_TARGET = 2.0
MEMORY_RATIO_TARGET = 1.5


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def painted_fraction(session, wid):
    """The share of drawn (not black) pixels of the window on a 32 x 32 grid."""
    geometry = dict(line.split("=") for line in
                    session.tool("xdotool", "getwindowgeometry", "--shell", wid).decode().split())
    width, height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
    raw = session.tool("import", "-window", wid, "-depth", "8", "rgb:-", timeout=20)
    if width * height * 3 > len(raw):
        return 0.0
    drawn = 0
    for gy in range(32):
        y = gy * height // 32 + height // 64
        for gx in range(32):
            x = gx * width // 32 + width // 64
            drawn += sum(raw[(y * width + x) * 3:(y * width + x) * 3 + 3]) > 24
    return drawn / 1024


def measure(session, path, name):
    started = time.monotonic()
    program = subprocess.Popen([path], env=session.env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wid = None
        deadline = started + 30
        while wid is None and time.monotonic() < deadline:
            if program.poll() is not None:
                raise Failure("%s ended at start-up" % name)
            out = session.tool("xdotool", "search", "--onlyvisible", "--pid", str(program.pid),
                               check_rc=False).split()
            if out:
                wid = out[0].decode()
            else:
                time.sleep(0.003)
        if wid is None:
            raise Failure("%s showed no window" % name)
        shown = time.monotonic() - started
        while time.monotonic() < deadline:
            try:
                fraction = painted_fraction(session, wid)
            except Failure:
                fraction = 0.0
            if fraction >= 0.5:
                painted = time.monotonic() - started
                rss = rss_kib(program.pid)
                time.sleep(1.0)
                settled = rss_kib(program.pid)
                return {"shown": shown, "painted": painted, "rss": rss, "rss_settled": settled}
        raise Failure("%s was not painted within 30 s" % name)
    finally:
        program.kill()
        program.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True)
    parser.add_argument("--bare", required=True)
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--json")
    args = parser.parse_args()

    results = {"game": [], "bare": []}
    try:
        with Session() as session:
            # One untimed start of each first: the disk cache warms up.
            measure(session, args.game, "warm-game")
            measure(session, args.bare, "warm-bare")
            for run in range(args.runs):
                order = [("game", args.game), ("bare", args.bare)]
                if run % 2:
                    order.reverse()
                for kind, path in order:
                    results[kind].append(measure(session, path, "%s-%d" % (kind, run)))
    except Failure as failure:
        print("FAILED:", failure)
        return 1

    def median(kind, key):
        return statistics.median(r[key] for r in results[kind])

    summary = {}
    print("start-up under Xvfb, median of %d runs each" % args.runs)
    print("%-22s %12s %12s %8s" % ("", "game", "bare Qt", "ratio"))
    for key, label, scale, unit in (("shown", "window shown", 1000, "ms"),
                                    ("painted", "window painted", 1000, "ms"),
                                    ("rss", "VmRSS when painted", 1 / 1024, "MiB"),
                                    ("rss_settled", "VmRSS 1 s later", 1 / 1024, "MiB")):
        game, bare = median("game", key), median("bare", key)
        summary[key] = {"game": game, "bare": bare, "ratio": game / bare}
        print("%-22s %9.1f %s %9.1f %s %7.2fx" % (label, game * scale, unit.ljust(3),
                                                  bare * scale, unit.ljust(3), game / bare))
    startup_ok = summary["painted"]["ratio"] <= STARTUP_RATIO_TARGET
    memory_ok = summary["rss"]["ratio"] <= MEMORY_RATIO_TARGET
    print("target start-up <= %.1fx: %s; resident memory <= %.1fx: %s" % (
        STARTUP_RATIO_TARGET, "met" if startup_ok else "MISSED",
        MEMORY_RATIO_TARGET, "met" if memory_ok else "MISSED"))
    if args.json:
        with open(args.json, "w") as f:
            json.dump({"runs": results, "summary": summary}, f, indent=2)
    return 0


if __name__ == "__main__":
    sys.exit(main())
