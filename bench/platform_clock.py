#!/usr/bin/python3
"""The running clock on each platform in one run: the game on a private Xvfb (X11) and on a
private headless weston (Wayland, pixman renderer), at the same scale, runs alternating.

Each run starts the game, brings it to the game page through the accessibility tree ("Старт"
pressed by its action: nothing outside a headless compositor can give it input, so the X11 run
goes the same way) and, one second later, samples the game's and the display server's threads
for --seconds while the clock runs and no card is turned (xbench.CpuSample: on-CPU time from
schedstat, context switches). The accessibility bridge is on in both (a screen reader's
client asked for the page); nothing listens once the clock runs.

    bench/platform_clock.py [--game build-bench/bin/mnemira] [--scale 2] [--seconds 10] [--runs 3]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import xbench  # noqa: E402
from reader import Reader  # noqa: E402
from session import Game, XServer  # noqa: E402
from wayland import Weston  # noqa: E402


def clock_run(server, reader, path, folder, seconds):
    work = tempfile.mkdtemp(dir=folder)
    game = Game(server, path, work, folder, name="game",
                extra_env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    try:
        reader.attach(game)
        reader.press(reader.until(lambda: reader.shown("push button", "Старт"), 30, "Старт")[0])
        reader.until(lambda: len(reader.shown("push button")) == 20, 20, "the cards")
        time.sleep(1.0)
        pids = (game.proc.pid, server.proc.pid)
        before = [xbench.CpuSample(pid) for pid in pids]
        time.sleep(seconds)
        after = [xbench.CpuSample(pid) for pid in pids]
        if not game.running():
            raise RuntimeError(f"the game ended during the run: {game.state()}\n{game.log()}")
    finally:
        game.kill()
    (g, _, switches), (s, _, _) = (xbench.cpu_use(b, a) for b, a in zip(before, after))
    return g, s, switches


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--game", default=os.path.join(HERE, "..", "build-bench", "bin", "mnemira"))
    ap.add_argument("--scale", type=int, default=1, choices=(1, 2))
    ap.add_argument("--seconds", type=float, default=10.0)
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--gl", action="store_true",
                    help="weston draws with OpenGL (Mesa's llvmpipe here) instead of pixman")
    args = ap.parse_args()
    # A D-Bus session and runtime folder of its own, as the end-to-end cases have.
    if "MNEMIRA_BENCH_OWN_BUS" not in os.environ:
        os.environ["MNEMIRA_BENCH_OWN_BUS"] = os.environ["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(
            prefix="mnemira-bench-")
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    folder = os.environ["MNEMIRA_BENCH_OWN_BUS"]
    load_before = os.getloadavg()
    reader = Reader()
    servers = {"X11 (Xvfb)": XServer(folder, args.scale),
               "Wayland (weston)": Weston(folder, args.scale, png_pixels=None,
                                          renderer="--use-gl" if args.gl else "--use-pixman")}
    runs = {name: [] for name in servers}
    try:
        for i in range(args.runs):
            for name, server in servers.items():
                runs[name].append(clock_run(server, reader, os.path.abspath(args.game), folder,
                                            args.seconds))
                print(f"run {i + 1} {name}: game {runs[name][-1][0]:.2f} %, server "
                      f"{runs[name][-1][1]:.2f} %", file=sys.stderr, flush=True)
    finally:
        for server in servers.values():
            server.stop()
        shutil.rmtree(folder, ignore_errors=True)
    print(f"scale {args.scale}, {args.runs} runs of {args.seconds:g} s each, alternating; "
          f"medians; load average before {load_before[0]:.2f}, after {os.getloadavg()[0]:.2f} "
          f"({os.cpu_count()} cores)")
    for name, own in runs.items():
        game, server, switches = (statistics.median(r[k] for r in own) for k in range(3))
        print(f"{name:<17} clock running: game {game:.2f} % of one core, {switches:.0f} context "
              f"switches/s; display server {server:.2f} %")


if __name__ == "__main__":
    main()
