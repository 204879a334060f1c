#!/usr/bin/python3
"""Start-up paints of the game's start page against a Qt program showing the same kind of page,
as the X server sees them.

Before each start the script asks the server for X DAMAGE on the root window (raw rectangles:
every change of the screen's pixels, whoever makes it) and for map notifications. It starts the
programs alternately, -n times each, and for every run keeps each damage rectangle with the
time it reached this client. Rectangles that arrive less than --gap ms apart (default 0.1: in one read of the
socket) make one paint.
Against the window's rectangle once the start has settled:
  - a paint is complete when it covers at least 99 % of the window, large when it covers at
    least --large of it (default 10 %);
  - a paint that also changes the screen outside the window (or comes within 1 ms of one that
    does) is the server moving or uncovering a window (its copy of old pixels, the root's
    background), not a picture the program drew;
  - recording stops --quiet ms (default 300) after the last damage, or 2 s after the map.
Prints per program the medians of exec -> map, exec -> first complete paint and exec -> last
large paint, with the number of large paints, and the ratio of each game's last large paint to
the anchor's (medians, and the median of the per-run ratios).

    bench/paint_bench.py --xvfb :54
    bench/paint_bench.py --xvfb :54 --game before=/tmp/before/mnemira --game build-bench/bin/mnemira
"""
import argparse
import os
import statistics
import sys
import time

import xbench

TIMEOUT_S = 30.0  # for a window to appear

WINDOW = (800, 600)


def union_area(rects):
    """The area the rectangles (x, y, w, h) cover together."""
    xs = sorted({x for x, _, w, _ in rects} | {x + w for x, _, w, _ in rects})
    area = 0
    for left, right in zip(xs, xs[1:]):
        spans = sorted((y, y + h) for x, y, w, h in rects if x <= left and x + w >= right)
        covered, top, bottom = 0, None, None
        for y0, y1 in spans:
            if bottom is None or y0 > bottom:
                covered += 0 if bottom is None else bottom - top
                top, bottom = y0, y1
            else:
                bottom = max(bottom, y1)
        covered += 0 if bottom is None else bottom - top
        area += covered * (right - left)
    return area


def clip(rect, frame):
    x, y, w, h = rect
    fx, fy, fw, fh = frame
    left, top = max(x, fx), max(y, fy)
    right, bottom = min(x + w, fx + fw), min(y + h, fy + fh)
    return (left, top, right - left, bottom - top) if right > left and bottom > top else None


def paints(rects, frame, gap_ms):
    """The damage grouped into paints: dicts of time (of the first rectangle), coverage of the
    window (0..1) and whether it changed the screen outside the window."""
    groups = []
    for t, *rect in rects:
        if not groups or t - groups[-1]["last"] > gap_ms:
            groups.append({"time": t, "last": t, "inside": [], "outside": False})
        group = groups[-1]
        group["last"] = t
        inside = clip(rect, frame)
        if inside:
            group["inside"].append(inside)
        if inside != tuple(rect):
            group["outside"] = True
    # The server moving a window changes both at once, but not always in one read.
    moves = [g["time"] for g in groups if g["outside"]]
    area = frame[2] * frame[3]
    return [{"time": g["time"], "cover": union_area(g["inside"]) / area,
             "outside": any(abs(g["time"] - t) <= 1.0 for t in moves)} for g in groups]


def one_start(display, path, args):
    """One start of the program: its times in ms from exec, and its paints."""
    display.drain()
    program = xbench.Program(path)
    try:
        mapped, window, rects = display.record_start(program.pid, args.quiet, 2000,
                                                     TIMEOUT_S, program.alive)
        frame = display.geometry(window)
        if frame[2:] != WINDOW:
            raise RuntimeError(f"{path} mapped a {frame[2:]} window first")
    finally:
        program.stop()
    started = program.started
    found = paints(rects, frame, args.gap)
    large = [p for p in found if p["cover"] >= args.large]
    drawn = [p for p in large if not p["outside"]]
    complete = [p for p in drawn if p["cover"] >= 0.99]
    if not complete:
        raise RuntimeError(f"{path}: no paint covered its window: {rects} in {frame}")
    return {"map": mapped - started, "first": complete[0]["time"] - started,
            "last": large[-1]["time"] - started, "large": len(large),
            "moves": len(large) - len(drawn),
            "paints": [(round(p["time"] - started, 1), round(p["cover"], 3), p["outside"])
                       for p in found]}


def measure(display, programs, args, log=sys.stderr):
    """programs: [(name, path)], the anchor last. Returns {name: [run, ...]}."""
    runs = {name: [] for name, _ in programs}
    for _ in range(args.warmup):
        for _, path in programs:
            one_start(display, path, args)
            time.sleep(args.pause)
    for i in range(args.n):
        for name, path in programs:
            run = one_start(display, path, args)
            runs[name].append(run)
            print(f"run {i + 1:2d} {name:<10} map {run['map']:6.1f}  first complete "
                  f"{run['first']:6.1f}  last large {run['last']:6.1f} ms  large paints "
                  f"{run['large']} (server moves {run['moves']})  all: {run['paints']}",
                  file=log, flush=True)
            time.sleep(args.pause)
    return runs


def summarise(runs, anchor):
    """Lines of medians, and {name: ratio of last large paint to the anchor's (medians)}."""
    lines, ratios = [], {}
    base = statistics.median(r["last"] for r in runs[anchor])
    for name, own in runs.items():
        med = {k: statistics.median(r[k] for r in own) for k in ("map", "first", "last")}
        counts = sorted({r["large"] for r in own})
        line = (f"{name:<12} exec->map {med['map']:6.1f}  first complete paint {med['first']:6.1f}"
                f"  last large paint {med['last']:6.1f} ms  large paints {counts}")
        if name != anchor:
            ratios[name] = med["last"] / base
            pairs = statistics.median(g["last"] / a["last"] for g, a in zip(own, runs[anchor]))
            line += f"  last/anchor {ratios[name]:.2f}x (per run {pairs:.2f}x)"
        lines.append(line)
    return lines, ratios


def add_arguments(ap):
    ap.add_argument("--paint-runs", dest="n", type=int, default=7, help="starts of each (7)")
    ap.add_argument("--quiet", type=float, default=300, help="ms without damage that end a start")
    ap.add_argument("--gap", type=float, default=0.1, help="ms between rectangles of one paint")
    ap.add_argument("--large", type=float, default=0.10, help="share of the window a large "
                    "paint covers (0.10)")
    ap.add_argument("--warmup", type=int, default=1, help="unmeasured starts of each first")
    ap.add_argument("--pause", type=float, default=0.5, help="seconds between starts")


def named(arg):
    name, _, path = arg.rpartition("=")
    return name or os.path.basename(os.path.dirname(os.path.abspath(path))), path


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    bin_dir = os.path.join(here, "..", "build-bench", "bin")
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--game", action="append", type=named, metavar="[NAME=]PATH",
                    help="a game to measure (repeat to compare builds; default the bench build)")
    ap.add_argument("--anchor", default=os.path.join(bin_dir, "same_page"))
    ap.add_argument("--xvfb", metavar=":N", help="start a private Xvfb 1280x1024x24 on :N")
    add_arguments(ap)
    args = ap.parse_args()
    games = args.game or [("game", os.path.join(bin_dir, "mnemira"))]
    with xbench.Session(args.xvfb) as session:
        session.display.watch_damage()
        runs = measure(session.display, games + [("anchor", args.anchor)], args)
    print(f"display {os.environ['DISPLAY']}, {args.n} starts of each, alternating; load average "
          f"before {session.load_before}, after {session.load_after}")
    print("\n".join(summarise(runs, "anchor")[0]))


if __name__ == "__main__":
    main()
