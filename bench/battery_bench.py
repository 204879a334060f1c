#!/usr/bin/python3
"""What the game costs a laptop's battery, every figure of it in one run, builds side by side.

Rows, each measured for every build given (alternating where runs repeat), on one private Xvfb:
  clock      the game page with the clock running and no card turned: CPU of the game and of the
             X server, context switches of the game (clock_bench.py, with the bare-Qt floor)
  idle       the start page and the results page: CPU of the game (the same runs)
  celebrate  CPU of each of the ten celebrations at twice the density (QT_SCALE_FACTOR=2,
             `celebration_measure cpu N`, getrusage over its 7 s); the worst of the ten
  paints     exec -> last large paint of the start page as X DAMAGE sees it, against a Qt
             program showing the same kind of page (paint_bench.py, same_page)
  gif        the whole load of every gif_bench class against giflib's DGifSlurp, with the minor
             page faults a load costs (gif_load.py)
A build is a folder holding its mnemira, celebration_measure and gifinfo. Prints every row's
measurements as they come (stderr), then the table of the goals.

    bench/battery_bench.py --xvfb :56
    bench/battery_bench.py --xvfb :56 --build before=/tmp/before/bin --build after=build-bench/bin
"""
import argparse
import os
import re
import statistics
import subprocess
import sys

import clock_bench
import gif_load
import paint_bench
import xbench

ROWS = ("clock", "celebrate", "paints", "gif")


def celebrations(builds, args, log=sys.stderr):
    """{build: {animation: % of one core}} at twice the density."""
    env = dict(os.environ, QT_SCALE_FACTOR="2")
    use = {name: {} for name, _ in builds}
    for n in range(1, 11):
        for name, folder in builds:
            out = subprocess.run([os.path.join(folder, "celebration_measure"), "cpu", str(n)],
                                 env=env, capture_output=True, text=True, check=True).stdout
            use[name][n] = float(re.search(r"getrusage [0-9.]+ ms = ([0-9.]+) %", out).group(1))
            print(f"celebration {n:2d} at 2x {name:<10} {use[name][n]:.2f} %", file=log,
                  flush=True)
    return use


def table(results, names, args):
    """The goals table: one line per goal, a column per build."""
    lines = []

    def row(what, goal, values):
        lines.append(f"| {what} | " + " | ".join(values) + f" | {goal} |")

    lines.append("| what | " + " | ".join(names) + " | goal |")
    lines.append("|---|" + "---|" * len(names) + "---|")
    if "clock" in results:
        m = results["clock"]
        row("game CPU while the clock runs, % of one core (utime+stime)", "<= 1.0",
            [f"{m[n]['game']:.2f} ({m[n]['game_ticks']:.2f})" for n in names])
        row("X server CPU while the clock runs, %", "<= 0.5",
            [f"{m[n]['x']:.2f} ({m[n]['x_ticks']:.2f})" for n in names])
        row("context switches of the game a second while the clock runs", "<= 140",
            [f"{m[n]['switches']:.0f}" for n in names])
        row("game CPU on the start page / the results page, %", "0.00",
            [f"{m[n]['start']:.2f} / {m[n]['results']:.2f}" for n in names])
        if "floor" in m:
            f = m["floor"]
            row(f"(floor: bare Qt program, clock only: game {f['game']:.2f} %, X {f['x']:.2f} %, "
                f"{f['switches']:.0f}/s)", "", ["" for _ in names])
    if "celebrate" in results:
        c = results["celebrate"]
        row("celebration CPU at 2x, worst of ten, %", "<= 1.0",
            [f"{max(c[n].values()):.2f} (animation {max(c[n], key=c[n].get)})" for n in names])
    if "paints" in results:
        runs = results["paints"]
        _, ratios = paint_bench.summarise(runs, "anchor")
        base = statistics.median(r["last"] for r in runs["anchor"])
        row(f"exec -> last large paint of the start page against the same-page Qt program "
            f"({base:.1f} ms); large paints", "<= 1.0x, one",
            [f"{ratios[n]:.2f}x ({statistics.median(r['last'] for r in runs[n]):.1f} ms); "
             f"{sorted({r['large'] for r in runs[n]})}" for n in names])
    if "gif" in results:
        t = results["gif"]
        for cls in ("noise800x600", "shaded1600x1200"):
            if cls in t:
                row(f"minor page faults per load, {cls} (giflib {t[cls]['giflib'][1]:.0f})",
                    "<= giflib's", [f"{t[cls][n][1]:.0f}" for n in names])
        for cls in t:
            row(f"whole load against DGifSlurp, {cls}", ">= 2.5x",
                [f"{t[cls][n][0] / t[cls]['giflib'][0]:.2f}x" for n in names])
    return lines


def x_rows(session, builds, only, args, results):
    """The rows that need the X server: clock (and idle), celebrations, paints."""
    games = [(name, os.path.join(folder, "mnemira")) for name, folder in builds]
    if "clock" in only:
        results["clock"] = clock_bench.measure(session, games, args,
                                               os.path.join(args.tools, "clock_floor"))
    if "celebrate" in only:
        results["celebrate"] = celebrations(builds, args)
    if "paints" in only:
        session.display.watch_damage()
        results["paints"] = paint_bench.measure(
            session.display, games + [("anchor", os.path.join(args.tools, "same_page"))], args)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    bin_dir = os.path.join(here, "..", "build-bench", "bin")
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--build", action="append", type=paint_bench.named, metavar="[NAME=]DIR",
                    help="a folder with mnemira, celebration_measure and gifinfo (repeat to "
                    "compare; default the bench build)")
    ap.add_argument("--tools", default=bin_dir,
                    help="where same_page, clock_floor and gif_slurp are (the bench build)")
    ap.add_argument("--only", default=",".join(ROWS), help=f"rows to measure ({','.join(ROWS)})")
    ap.add_argument("--xvfb", metavar=":N", help="start a private Xvfb 1280x1024x24 on :N")
    clock_bench.add_arguments(ap)
    paint_bench.add_arguments(ap)
    gif_load.add_arguments(ap)
    args = ap.parse_args()
    builds = args.build or [("this build", bin_dir)]
    names = [name for name, _ in builds]
    only = args.only.split(",")
    results = {}
    load_before = load_x = xbench.load_average()
    if any(row in only for row in ("clock", "celebrate", "paints")):
        with xbench.Session(args.xvfb) as session:
            load_before = session.load_before
            x_rows(session, builds, only, args, results)
            load_x = xbench.load_average()
    if "gif" in only:
        ours = [(name, os.path.join(folder, "gifinfo")) for name, folder in builds]
        results["gif"] = gif_load.measure(ours, os.path.join(args.tools, "gif_slurp"), args)
    print(f"display {os.environ.get('DISPLAY')}; load average before {load_before}, after the "
          f"X rows {load_x}, at the end {xbench.load_average()} ({os.cpu_count()} cores)")
    print("\n".join(table(results, names, args)))


if __name__ == "__main__":
    main()
