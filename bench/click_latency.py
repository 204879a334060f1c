#!/usr/bin/python3
"""A card turned: the time from the click to the face on screen, through the X server.

Starts the game in a scratch folder, presses Enter, then repeats: a closed card is clicked with
XTest (press, 30 ms hold, release) and its 90 x 80 rectangle is grabbed from the screen with
XGetImage, one grab every --interval ms, until its pixels differ from the card's back. That is
one sample of a first card. A second card whose face is known to differ is turned the same way
(the second-card samples), the wrong pair closes, and the next attempt starts once both show
their backs again, so the game goes on without finding pairs. First cards go round the twenty
positions.

Each sample is bounded: the face reached the screen after the server answered the last grab
that still showed the back and before the first grab that showed the face came back. The
upper bound is the figure reported (median and 95th percentile, nearest rank); the gap between
the bounds is the resolution. Not a test: run it by hand.

    bench/click_latency.py --xvfb :53
    bench/click_latency.py --xvfb :53 -n 100 --interval 1
"""
import argparse
import os
import statistics
import sys
import time

import xbench
from game_driver import GameDriver, GameOver

FRAME_60HZ_MS = 1000 / 60


def measure(driver, count, interval_ms):
    """count first-card samples (and as many second-card ones): lists of (lower, upper) ms."""
    firsts, seconds = [], []
    known = {}
    found = set()
    order = list(range(1, 21))
    turn = 0
    while len(firsts) < count:
        closed = [p for p in order if p not in found]
        first = closed[turn % len(closed)]
        turn += 1
        lower, upper, face = driver.timed_turn(first, interval_ms)
        firsts.append((lower, upper))
        known[first] = face
        others = [p for p in closed if p != first]
        second = next((p for p in others if p in known and known[p] != face),
                      next((p for p in others if p not in known), others[0]))
        lower, upper, known[second] = driver.timed_turn(second, interval_ms)
        seconds.append((lower, upper))
        print(f"sample {len(firsts):3d}: card {first:2d} {firsts[-1][1]:6.1f} ms, "
              f"card {second:2d} {seconds[-1][1]:6.1f} ms", file=sys.stderr, flush=True)
        if known[second] == face or not driver.closes([first, second]):
            # A pair found by chance (only while faces are still unknown): its celebration is
            # ended with a click, and the game goes on.
            found |= {first, second}
            time.sleep(1.0)
            driver.click_client(*xbench.CELEBRATION_CLICK)
            driver.wait_backs([p for p in order if p not in found])
        time.sleep(0.2)
    return firsts, seconds


def report(name, samples):
    upper = [u for _, u in samples]
    gaps = [u - lo for lo, u in samples]
    p95 = xbench.percentile(upper, 95)
    print(f"{name:<12} n={len(upper):3d}  median {statistics.median(upper):6.1f} ms  "
          f"p95 {p95:6.1f} ms  min {min(upper):6.1f}  max {max(upper):6.1f}  "
          f"(lower bounds: median {statistics.median(lo for lo, _ in samples):.1f}; "
          f"resolution median {statistics.median(gaps):.2f} ms, max {max(gaps):.2f} ms)  "
          f"{'within' if p95 <= FRAME_60HZ_MS else 'over'} one 60 Hz frame at p95")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("-n", type=int, default=60, help="first-card samples (default 60)")
    ap.add_argument("--game", default=os.path.join(here, "..", "build-bench", "bin", "mnemira"))
    ap.add_argument("--interval", type=float, default=0.2,
                    help="ms of sleep between two grabs of the card (default 0.2; 0 = back to "
                    "back, which takes a core from the game)")
    ap.add_argument("--xvfb", metavar=":N", help="start a private Xvfb 1280x1024x24 on :N")
    args = ap.parse_args()

    with xbench.Session(args.xvfb) as session:
        display = session.display
        program = xbench.Program(args.game)
        try:
            driver = GameDriver(display, program)
            time.sleep(1.0)
            driver.start_game()
            try:
                firsts, seconds = measure(driver, args.n, args.interval)
            except GameOver as over:
                raise SystemExit(f"the game ended before {args.n} samples ({over}); ask fewer")
            grabs = []
            for _ in range(200):
                start = xbench.now_ms()
                driver.card(1)
                grabs.append(xbench.now_ms() - start)
        finally:
            program.stop()

    print(f"display {os.environ['DISPLAY']}; click (release) -> card face on screen; grabs every "
          f"{args.interval:g} ms, one 90x80 grab takes {statistics.median(grabs):.2f} ms "
          f"(median); load average before {session.load_before}, after {session.load_after}")
    print(f"the first card of the game: {firsts[0][1]:.1f} ms")
    report("first cards", firsts)
    report("second cards", seconds)
    print(f"goal: one 60 Hz frame = {FRAME_60HZ_MS:.1f} ms")


if __name__ == "__main__":
    main()
