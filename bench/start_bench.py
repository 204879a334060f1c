#!/usr/bin/python3
"""Start-up of the game against an empty Qt window of the same size, through the X server.

Starts the two programs alternately N times each and measures, for every run:
  - exec -> mapped: from just before posix_spawn to the moment the X server's MapNotify of the
    process's top-level window (the first map of a root child whose _NET_WM_PID is the child's
    pid) reaches this client, which asked the root for SubstructureNotify before the spawn;
  - peak RSS: VmHWM of /proc/<pid>/status after HOLD seconds on the first page, then SIGTERM.
Prints medians with quartiles and range, the ratio of the median times, the median of the
per-pair ratios and the difference of the median peak RSS. Not a test: run it by hand.

    bench/start_bench.py --xvfb :51                    # a private Xvfb 1280x1024x24 on :51
    DISPLAY=:9 bench/start_bench.py -n 40 --csv runs.csv
"""
import argparse
import csv
import os
import statistics
import sys
import time

import xbench


def line(name, times, hwm):
    t = xbench.summary(times)
    m = xbench.summary([xbench.mb(k) for k in hwm])
    return (f"{name:<14} exec->map median {t['median']:7.1f} ms  [q1 {t['q1']:.1f} .. q3 "
            f"{t['q3']:.1f}, min {t['min']:.1f} .. max {t['max']:.1f}]   "
            f"VmHWM median {m['median']:6.1f} MB  [min {m['min']:.1f} .. max {m['max']:.1f}]")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    bin_dir = os.path.join(here, "..", "build-bench", "bin")
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("-n", type=int, default=20, help="runs of each program (default 20)")
    ap.add_argument("--game", default=os.path.join(bin_dir, "mnemira"))
    ap.add_argument("--empty", default=os.path.join(bin_dir, "empty_window"))
    ap.add_argument("--hold", type=float, default=3.0,
                    help="seconds on the first page before VmHWM is read (default 3)")
    ap.add_argument("--warmup", type=int, default=1,
                    help="unmeasured runs of each first, to fill the page cache (default 1)")
    ap.add_argument("--pause", type=float, default=0.5, help="seconds between runs")
    ap.add_argument("--timeout", type=float, default=30.0)
    ap.add_argument("--xvfb", metavar=":N", help="start a private Xvfb 1280x1024x24 on :N")
    ap.add_argument("--csv", help="write every run to this file")
    args = ap.parse_args()

    server = xbench.use_display(args.xvfb)
    try:
        display = xbench.Display()
        display.watch_maps()
        programs = [("game", args.game), ("empty window", args.empty)]
        load_before = xbench.load_average()
        for _ in range(args.warmup):
            for _, path in programs:
                xbench.start_and_hold(display, path, 0.2, args.timeout)
                time.sleep(args.pause)
        runs = []
        for i in range(args.n):
            for name, path in programs:
                ms, hwm, rss = xbench.start_and_hold(display, path, args.hold,
                                                     args.timeout)
                runs.append((i, name, ms, hwm, rss))
                print(f"run {i + 1:3d} {name:<13} exec->map {ms:7.1f} ms  VmHWM "
                      f"{xbench.mb(hwm):6.1f} MB", file=sys.stderr, flush=True)
                time.sleep(args.pause)
        load_after = xbench.load_average()
        display.close()
    finally:
        if server:
            server.close()

    if args.csv:
        with open(args.csv, "w", newline="") as f:
            out = csv.writer(f)
            out.writerow(["pair", "program", "exec_to_map_ms", "vmhwm_kib", "vmrss_kib"])
            out.writerows(runs)

    times = {name: [r[2] for r in runs if r[1] == name] for name, _ in programs}
    hwm = {name: [r[3] for r in runs if r[1] == name] for name, _ in programs}
    game, empty = (name for name, _ in programs)
    print(f"display {os.environ['DISPLAY']}, {args.n} runs of each, alternating, "
          f"{args.hold:g} s on the first page; load average before {load_before}, "
          f"after {load_after} ({os.cpu_count()} cores)")
    print("MB = MiB (VmHWM kB / 1024)")
    for name, _ in programs:
        print(line(name, times[name], hwm[name]))
    ratio = statistics.median(times[game]) / statistics.median(times[empty])
    pair_ratio = statistics.median(g / e for g, e in zip(times[game], times[empty]))
    extra = xbench.mb(statistics.median(hwm[game]) - statistics.median(hwm[empty]))
    best = min(times[game]) / min(times[empty])
    print(f"exec->map ratio game/empty: {ratio:.2f}x (medians), "
          f"{pair_ratio:.2f}x (median of the {args.n} per-pair ratios), "
          f"{best:.2f}x (fastest runs, the least disturbed on a busy machine)")
    print(f"peak RSS after {args.hold:g} s: game = empty window + {extra:.1f} MB (medians)")


if __name__ == "__main__":
    main()
