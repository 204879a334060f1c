#!/usr/bin/python3
"""What the game costs while it waits: the start page, the results page, and the game page with
the clock running and no card turned, through a private X server.

Each run starts the game in a scratch folder and, once its window is mapped and one second has
passed, samples for --idle-seconds the start page, then presses "Результаты" (the pointer then
leaves the window) and samples the results page, then presses "Играть" and Enter and samples the
game page with the clock running for --seconds. A sample reads, for every thread of the game
and of the X server: the on-CPU time (/proc/<pid>/task/*/schedstat, nanoseconds), user + system
time (stat, clock ticks, what `ps` and `top` show) and the context switches (status, voluntary
and involuntary). The builds given are run alternately, --runs times each; the medians are
printed. With --xvfb the X server is the script's own, so its time is the game's doing.

Beside the games, the floor (clock_floor) is measured the same way while its clock runs: a bare
Qt program that repaints a label-sized widget every 15 ms from pictures made beforehand. It says
what one tick costs on this machine before any work of the game's own.

    bench/clock_bench.py --xvfb :55
    bench/clock_bench.py --xvfb :55 --game before=/tmp/before/mnemira --game build-bench/bin/mnemira
"""
import argparse
import os
import statistics
import sys
import time

import xbench

TIMEOUT_S = 30.0  # for a window to appear

RESULTS_BUTTON = (448, 460)  # BitBtn4 on the start page
PLAY_BUTTON = (303, 526)  # BitBtn2 on the results page


def sample(pids, seconds):
    """{pid: (schedstat %, stat %, switches a second)} over `seconds`."""
    before = {pid: xbench.CpuSample(pid) for pid in pids}
    time.sleep(seconds)
    after = {pid: xbench.CpuSample(pid) for pid in pids}
    return {pid: xbench.cpu_use(before[pid], after[pid]) for pid in pids}


def clock_run(session, path, args, before_clock):
    """Starts the program, waits for its window, runs before_clock(display, window, pids, pid)
    (the figures it returns come first), then measures the running clock."""
    display = session.display
    display.drain()
    program = xbench.Program(path)
    server = session.server.proc.pid if session.server else None
    pids = [program.pid] + ([server] if server else [])
    try:
        _, window = display.wait_map(program.pid, TIMEOUT_S, program.alive)
        time.sleep(1.0)
        run = before_clock(display, window, pids, program.pid)
        clock = sample(pids, args.seconds)
        if not program.alive():
            raise RuntimeError(f"{path} ended during the run")
    finally:
        program.stop()
    run.update(game=clock[program.pid][0], game_ticks=clock[program.pid][1],
               switches=clock[program.pid][2])
    if server:
        run["x"], run["x_ticks"], run["x_switches"] = clock[server]
    return run


def one_run(session, path, args):
    """The game: the start page and the results page idle, then the game page's clock."""
    def pages(display, window, pids, pid):
        ox, oy = display.geometry(window)[:2]
        start = sample(pids, args.idle_seconds)
        display.click(ox + RESULTS_BUTTON[0], oy + RESULTS_BUTTON[1])
        display.move(0, 0)
        time.sleep(1.0)
        results = sample(pids, args.idle_seconds)
        display.click(ox + PLAY_BUTTON[0], oy + PLAY_BUTTON[1])
        display.move(0, 0)
        time.sleep(0.5)
        display.focus(window)
        display.key_return()
        time.sleep(1.0)
        return {"start": start[pid][0], "results": results[pid][0]}
    return clock_run(session, path, args, pages)


def floor_run(session, path, args):
    """The floor program (clock_floor): its clock runs from the start."""
    return clock_run(session, path, args, lambda *_: {})


def measure(session, games, args, floor=None, log=sys.stderr):
    """games: [(name, path)]; floor: the floor program's path, measured beside them."""
    runs = {name: [] for name, _ in games}
    if floor:
        runs["floor"] = []
    for i in range(args.runs):
        for name, path in games + ([("floor", floor)] if floor else []):
            run = (floor_run if name == "floor" and floor else one_run)(session, path, args)
            runs[name].append(run)
            print(f"run {i + 1} {name:<10} " + "  ".join(f"{k} {v:.3f}" for k, v in run.items()),
                  file=log, flush=True)
    return {name: {k: statistics.median(r[k] for r in own) for k in own[0]}
            for name, own in runs.items()}


def describe(name, m):
    line = (f"{name:<12} clock running: game {m['game']:.2f} % of one core (utime+stime "
            f"{m['game_ticks']:.2f} %), {m['switches']:.0f} context switches/s")
    if "x" in m:
        line += f"; X server {m['x']:.2f} % ({m['x_ticks']:.2f} %), {m['x_switches']:.0f}/s"
    if "start" not in m:
        return line + " (bare Qt program repainting a label-sized widget every 15 ms)"
    return line + f"; idle: start page {m['start']:.3f} %, results page {m['results']:.3f} %"


def add_arguments(ap):
    ap.add_argument("--seconds", type=float, default=10.0, help="clock sample (10 s)")
    ap.add_argument("--idle-seconds", type=float, default=10.0, help="each idle page (10 s)")
    ap.add_argument("--clock-runs", dest="runs", type=int, default=3,
                    help="runs of each build (3)")


def main():
    import paint_bench
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--game", action="append", type=paint_bench.named, metavar="[NAME=]PATH",
                    help="a game to measure (repeat to compare builds; default the bench build)")
    ap.add_argument("--floor", default=os.path.join(here, "..", "build-bench", "bin",
                                                    "clock_floor"),
                    help="the floor program measured beside the games ('' for none)")
    ap.add_argument("--xvfb", metavar=":N", help="start a private Xvfb 1280x1024x24 on :N")
    add_arguments(ap)
    args = ap.parse_args()
    games = args.game or [("game", os.path.join(here, "..", "build-bench", "bin", "mnemira"))]
    with xbench.Session(args.xvfb) as session:
        medians = measure(session, games, args, args.floor or None)
    print(f"display {os.environ['DISPLAY']}, {args.runs} runs of each, alternating; medians; "
          f"load average before {session.load_before}, after {session.load_after} "
          f"({os.cpu_count()} cores)")
    for name, m in medians.items():
        print(describe(name, m))


if __name__ == "__main__":
    main()
