#!/usr/bin/python3
"""Peak memory of a whole game with all ten celebrations, against the empty Qt window.

Starts the game in a scratch folder, presses Enter and plays every pair through the X server
(XTest clicks, faces read from screen grabs), then reads VmHWM from /proc/<pid>/status on the
results page. Each celebration is left to run its full 7 s by default (every frame of all ten
animations is decoded and shown: the most a game can hold), or ended by a click on the
animation after --click-after seconds. The baseline is the empty window's VmHWM after 3 s on
screen, measured in the same run. Prints the memory after each step, the final breakdown from
/proc (anonymous, file-backed, threads) and what holds it: the largest mappings by resident
size, the largest anonymous blocks and the thread stacks.

    bench/game_memory.py --xvfb :52
    bench/game_memory.py --xvfb :52 --click-after 1
"""
import argparse
import os
import resource
import statistics
import sys
import time

import xbench
from game_driver import GameDriver


def read_smaps(pid):
    """The mappings of /proc/<pid>/smaps: (name, size kB, resident kB)."""
    rows = []
    with open(f"/proc/{pid}/smaps") as f:
        for line in f:
            parts = line.split()
            if not parts[0].endswith(":"):
                start, end = (int(v, 16) for v in parts[0].split("-"))
                name = parts[5] if len(parts) > 5 else "[anonymous]"
                name = os.path.basename(name) if name.startswith("/") else name
                rows.append([name, (end - start) // 1024, 0])
            elif parts[0] == "Rss:":
                rows[-1][2] = int(parts[1])
    return rows


def describe_mappings(rows, count):
    """Lines on what holds the resident memory: the largest mappings grouped by name, the
    largest single anonymous blocks (big allocations are mapped on their own), and the
    mappings of the default thread-stack size."""
    by_name = {}
    for name, _, rss in rows:
        by_name[name] = by_name.get(name, 0) + rss
    lines = ["largest resident mappings, grouped by name (MB):"]
    for name, kib in sorted(by_name.items(), key=lambda item: -item[1])[:count]:
        lines.append(f"  {xbench.mb(kib):6.1f}  {name}")
    anon = sorted((r for r in rows if r[0] == "[anonymous]"), key=lambda r: -r[2])
    lines.append("largest anonymous blocks, resident / size (MB): " + ", ".join(
        f"{xbench.mb(rss):.1f}/{xbench.mb(size):.1f}" for _, size, rss in anon[:6]))
    stack_kib = resource.getrlimit(resource.RLIMIT_STACK)[0] // 1024
    stacks = [r for r in anon if r[1] == stack_kib]
    lines.append(f"anonymous mappings of the default thread-stack size ({xbench.mb(stack_kib):g} "
                 f"MB): {len(stacks)}, resident {sum(r[2] for r in stacks)} kB in all")
    return lines


class Recorder:
    def __init__(self, program):
        self.program = program
        self.steps = []

    def __call__(self, label):
        status = self.program.proc_status()
        self.steps.append((label, status))
        print(f"{label:<28} VmRSS {xbench.mb(status['VmRSS']):6.1f} MB  VmHWM "
              f"{xbench.mb(status['VmHWM']):6.1f} MB  threads {status['Threads']}",
              file=sys.stderr, flush=True)


def celebrate(driver, closed, click_after):
    if click_after is None:
        time.sleep(7.5)
    else:
        time.sleep(click_after)
        driver.click_client(*xbench.CELEBRATION_CLICK)
    if closed:
        driver.wait_backs(closed)
    time.sleep(0.3)


def play(driver, record, click_after):
    """Every pair found, with as few wrong pairs as a perfect memory allows."""
    known, found, pairs, wrong = {}, set(), 0, 0
    while pairs < 10:
        closed = [p for p in range(1, 21) if p not in found]
        pair = next(((p, q) for p in known for q in known if p < q and known[p] == known[q]),
                    None)
        if pair:
            first, mate = pair
            driver.turn(first)
            driver.turn(mate)
        else:
            first = next(p for p in closed if p not in known)
            face = driver.turn(first)
            mate = next((p for p, v in known.items() if v == face), None)
            if mate is None:
                second = next(p for p in closed if p not in known and p != first)
                second_face = driver.turn(second)
                # Equal faces are a pair; different ones are a wrong pair only if they close (the
                # grab may have caught the pair's celebration instead of the face).
                if second_face != face and driver.closes([first, second]):
                    known[first], known[second] = face, second_face
                    wrong += 1
                    time.sleep(0.2)
                    continue
                mate = second
            else:
                driver.turn(mate)
        pairs += 1
        found |= {first, mate}
        known.pop(first, None)
        known.pop(mate, None)
        celebrate(driver, [p for p in range(1, 21) if p not in found], click_after)
        record(f"after celebration {pairs}")
    return wrong


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    bin_dir = os.path.join(here, "..", "build-bench", "bin")
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--game", default=os.path.join(bin_dir, "mnemira"))
    ap.add_argument("--empty", default=os.path.join(bin_dir, "empty_window"))
    ap.add_argument("--bare-runs", type=int, default=3,
                    help="runs of the empty window for the baseline (median; default 3)")
    ap.add_argument("--click-after", type=float, metavar="S",
                    help="end each celebration with a click after S seconds (default: let it "
                    "run its 7 s)")
    ap.add_argument("--mappings", type=int, default=12, help="largest mappings to list")
    ap.add_argument("--smaps", metavar="FILE", help="copy /proc/<pid>/smaps on the results page "
                    "to FILE, for a closer look")
    ap.add_argument("--xvfb", metavar=":N", help="start a private Xvfb 1280x1024x24 on :N")
    args = ap.parse_args()

    with xbench.Session(args.xvfb) as session:
        display = session.display
        bare = [xbench.start_and_hold(display, args.empty, 3.0)["hwm_kib"]
                for _ in range(args.bare_runs)]
        program = xbench.Program(args.game)
        try:
            driver = GameDriver(display, program)
            record = Recorder(program)
            time.sleep(2.0)
            record("start page, 3 s")
            driver.start_game()
            record("game page")
            started = time.monotonic()
            wrong = play(driver, record, args.click_after)
            played = time.monotonic() - started
            time.sleep(1.5)
            record("results page")
            final = program.proc_status()
            record_bytes = os.path.getsize(os.path.join(program.folder, "hits.dat"))
            if record_bytes != 83:
                raise RuntimeError(f"hits.dat holds {record_bytes} bytes after the game, not one "
                                   "83-byte record: the game did not end as played")
            mappings = describe_mappings(read_smaps(program.pid), args.mappings)
            if args.smaps:
                with open(f"/proc/{program.pid}/smaps") as src, open(args.smaps, "w") as dst:
                    dst.write(src.read())
        finally:
            program.stop()

    bare_kib = statistics.median(bare)
    how = ("left to run their 7 s" if args.click_after is None
           else f"each ended by a click after {args.click_after:g} s")
    print(f"display {os.environ['DISPLAY']}; a whole game, {wrong} wrong pairs, ten celebrations "
          f"{how}, {played:.0f} s of play; load average before {session.load_before}, "
          f"after {session.load_after}")
    print("MB = MiB (kB / 1024)")
    print(f"empty window VmHWM after 3 s (bare): {xbench.mb(bare_kib):.1f} MB "
          f"(median of {len(bare)})")
    print(f"game VmHWM over the whole game:      {xbench.mb(final['VmHWM']):.1f} MB "
          f"= bare + {xbench.mb(final['VmHWM'] - bare_kib):.1f} MB")
    print(f"on the results page: VmRSS {xbench.mb(final['VmRSS']):.1f} MB = anonymous "
          f"{xbench.mb(final['RssAnon']):.1f} + file-backed {xbench.mb(final['RssFile']):.1f} + "
          f"shared memory {xbench.mb(final['RssShmem']):.1f}; {final['Threads']} threads")
    print("steps (VmRSS / VmHWM MB):")
    for label, status in record.steps:
        print(f"  {label:<26} {xbench.mb(status['VmRSS']):6.1f} / "
              f"{xbench.mb(status['VmHWM']):6.1f}")
    print("on the results page:")
    print("\n".join(mappings))


if __name__ == "__main__":
    main()
