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


def spread(values, unit, width=7):
    v = xbench.summary(values)
    return (f"median {v['median']:{width}.1f} {unit} [q1 {v['q1']:.1f} .. q3 {v['q3']:.1f}, "
            f"min {v['min']:.1f} .. max {v['max']:.1f}]")


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

    with xbench.Session(args.xvfb) as session:
        display = session.display
        programs = [("game", args.game), ("empty window", args.empty)]
        for _ in range(args.warmup):
            for _, path in programs:
                xbench.start_and_hold(display, path, 0.2, args.timeout)
                time.sleep(args.pause)
        runs = []
        for i in range(args.n):
            for name, path in programs:
                run = xbench.start_and_hold(display, path, args.hold, args.timeout)
                runs.append(dict(run, pair=i + 1, program=name))
                print(f"run {i + 1:3d} {name:<13} exec->map {run['map_ms']:7.1f} ms  (on CPU "
                      f"{run['cpu_ms']:5.1f}, run queue {run['wait_ms']:6.1f})  VmHWM "
                      f"{xbench.mb(run['hwm_kib']):6.1f} MB", file=sys.stderr, flush=True)
                time.sleep(args.pause)

    if args.csv:
        with open(args.csv, "w", newline="") as f:
            out = csv.DictWriter(f, ["pair", "program", "map_ms", "cpu_ms", "wait_ms", "hwm_kib",
                                     "rss_kib"])
            out.writeheader()
            out.writerows(runs)

    def of(name, key):
        return [r[key] for r in runs if r["program"] == name]

    game, empty = (name for name, _ in programs)
    print(f"display {os.environ['DISPLAY']}, {args.n} runs of each, alternating, "
          f"{args.hold:g} s on the first page; load average before {session.load_before}, "
          f"after {session.load_after} ({os.cpu_count()} cores)")
    print("MB = MiB (VmHWM kB / 1024)")
    for name in (game, empty):
        print(f"{name}:")
        print(f"  exec->map      {spread(of(name, 'map_ms'), 'ms')}")
        print(f"  on CPU to map  {spread(of(name, 'cpu_ms'), 'ms')}  (all threads; run-queue "
              f"wait median {statistics.median(of(name, 'wait_ms')):.1f} ms)")
        hwm = [xbench.mb(k) for k in of(name, "hwm_kib")]
        print(f"  VmHWM after {args.hold:g} s {spread(hwm, 'MB')}")
    times = {name: of(name, "map_ms") for name in (game, empty)}
    ratio = statistics.median(times[game]) / statistics.median(times[empty])
    pair_ratio = statistics.median(g / e for g, e in zip(times[game], times[empty]))
    best = min(times[game]) / min(times[empty])
    cpu = statistics.median(of(game, "cpu_ms")) / statistics.median(of(empty, "cpu_ms"))
    extra = xbench.mb(statistics.median(of(game, "hwm_kib"))
                      - statistics.median(of(empty, "hwm_kib")))
    print(f"exec->map ratio game/empty: {ratio:.2f}x (medians); {pair_ratio:.2f}x (median of the "
          f"{args.n} per-pair ratios); {best:.2f}x (fastest runs)")
    print(f"on-CPU time to map ratio game/empty: {cpu:.2f}x (medians; less sensitive to the load "
          "than the times)")
    print(f"peak RSS after {args.hold:g} s: game = empty window + {extra:.1f} MB (medians)")

if __name__ == "__main__":
    main()
