#!/usr/bin/python3
"""The whole load of a GIF picture, ours against giflib's DGifSlurp, with the page faults it costs.

A load is what a caller pays from bytes in memory to every frame's colour indices: ours is
`gifinfo --bench` (the reader parses the picture, then each frame is decoded to its indices),
giflib's is `gif_slurp --bench` (DGifOpen on the bytes, DGifSlurp, DGifCloseFile). Every class of
bench/gif_bench is written to a scratch folder by `gif_slurp --write` and measured as a file.

For each class each program runs twice per repetition, as a process of its own: one load, and
1 + K loads (K chosen per program so that its run takes about --gif-seconds). The difference of
the two is K loads after the first: the seconds each program prints, and the minor page faults
the kernel counts for the process (getrusage of the child, as `/usr/bin/time -f %R` shows them).
So the
figures are a steady load's, without the start of the process and the first touch of its memory.
The programs run alternately, --gif-reps times; medians are printed.

    bench/gif_load.py
    bench/gif_load.py --gifinfo before=/tmp/before/gifinfo --gifinfo build-bench/bin/gifinfo
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

import xbench


def run(command):
    """(seconds the program reports, minor page faults of the process)."""
    out = tempfile.TemporaryFile()
    pid = os.posix_spawn(command[0], command, os.environ, file_actions=[
        (os.POSIX_SPAWN_DUP2, out.fileno(), 1)])
    _, status, usage = os.wait4(pid, 0)
    out.seek(0)
    text = out.read().decode()
    if status != 0:
        raise RuntimeError(f"{' '.join(command)} failed: {text}")
    return float(re.search(r"seconds: ([0-9.]+)", text).group(1)), usage.ru_minflt


def per_load(program, path, k, pin):
    prefix = ["/usr/bin/taskset", "-c", pin] if pin else []
    one = run(prefix + [program, "--bench", "1", path])
    many = run(prefix + [program, "--bench", str(k + 1), path])
    return (many[0] - one[0]) / k, (many[1] - one[1]) / k


def pixels_of(slurp, path):
    text = subprocess.run([slurp, "--bench", "1", path], capture_output=True, text=True,
                          check=True).stdout
    return float(re.search(r"pixels: ([0-9]+)", text).group(1))


def measure(ours, slurp, args, log=sys.stderr):
    """ours: [(name, gifinfo path)]. Returns {class: {name or 'giflib': (MP/s, faults/load)}}."""
    folder = tempfile.mkdtemp(prefix="mnemira-gifs-")
    try:
        subprocess.run([slurp, "--write", folder], check=True)
        programs = ours + [("giflib", slurp)]
        table = {}
        for file in sorted(os.listdir(folder)):
            path = os.path.join(folder, file)
            name = file[:-4]
            if args.classes and name not in args.classes:
                continue
            # Each program's K: its longer run takes about --gif-seconds, well above the
            # millisecond the programs print their times in.
            loads = {p: max(5, min(20000, round(args.gif_seconds / max(
                per_load(program, path, 3, args.cpu)[0], 1e-6)))) for p, program in programs}
            pixels = pixels_of(slurp, path)
            samples = {p: [] for p, _ in programs}
            for _ in range(args.gif_reps):
                for p, program in programs:
                    samples[p].append(per_load(program, path, loads[p], args.cpu))
            table[name] = {p: (pixels / statistics.median(s for s, _ in v) / 1e6,
                               max(0.0, statistics.median(f for _, f in v)))
                           for p, v in samples.items()}
            row = table[name]
            print(f"{name:<16} " + "  ".join(
                f"{p} ({loads[p]} loads) {mp:8.1f} MP/s {faults:6.1f} faults"
                for p, (mp, faults) in row.items()), file=log, flush=True)
        return table
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def describe(table, names):
    lines = [f"{'class':<16} " + " ".join(f"{n + ' MP/s':>14} {'faults':>7} {'x giflib':>8}"
                                          for n in names)
             + f" {'giflib MP/s':>12} {'faults':>7}"]
    for cls, row in table.items():
        base, base_faults = row["giflib"]
        line = f"{cls:<16} "
        for n in names:
            mp, faults = row[n]
            line += f"{mp:14.1f} {faults:7.1f} {mp / base:7.2f}x "
        lines.append(line + f"{base:12.1f} {base_faults:7.1f}")
    return lines


def add_arguments(ap):
    ap.add_argument("--gif-seconds", type=float, default=0.3,
                    help="about how long giflib's longer run takes (0.3)")
    ap.add_argument("--gif-reps", type=int, default=5, help="repetitions, medians (5)")
    ap.add_argument("--cpu", help="pin the programs to this processor (taskset -c)")
    ap.add_argument("--classes", nargs="*", help="only these classes")


def main():
    import paint_bench
    here = os.path.dirname(os.path.abspath(__file__))
    bin_dir = os.path.join(here, "..", "build-bench", "bin")
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--gifinfo", action="append", type=paint_bench.named, metavar="[NAME=]PATH",
                    help="our reader's gifinfo (repeat to compare builds; default the bench build)")
    ap.add_argument("--slurp", default=os.path.join(bin_dir, "gif_slurp"))
    add_arguments(ap)
    args = ap.parse_args()
    ours = args.gifinfo or [("ours", os.path.join(bin_dir, "gifinfo"))]
    before = xbench.load_average()
    table = measure(ours, args.slurp, args)
    print(f"{args.gif_reps} repetitions, medians; load average before {before}, after "
          f"{xbench.load_average()} ({os.cpu_count()} cores)")
    print("\n".join(describe(table, [n for n, _ in ours])))


if __name__ == "__main__":
    main()
