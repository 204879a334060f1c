"""What the X-server benchmarks of bench/ share: a private Xvfb, programs started in scratch
folders and read through /proc, and the game's card geometry. Their X client (map and damage
notifications, synthetic input through XTest, screen grabs) is the end-to-end tests' one,
tests/e2e/xdisplay.py.

Standard library only; needs libX11.so.6, libXtst.so.6 and libXdamage.so.1 (Debian: libx11-6,
libxtst6, libxdamage1).
"""
import hashlib
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from xdisplay import Display, XError, now_ms  # noqa: E402,F401 (the benchmarks' X client)


class Xvfb:
    """A private X server for one measurement, killed on exit."""

    def __init__(self, display, geometry="1280x1024x24"):
        self.display = display
        if os.path.exists(f"/tmp/.X11-unix/X{display.lstrip(':')}"):
            raise RuntimeError(f"display {display} is in use; pick another with --xvfb")
        self.proc = subprocess.Popen(["Xvfb", display, "-screen", "0", geometry],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            try:
                Display(display).close()
                return
            except XError:
                pass
            if self.proc.poll() is not None:
                raise RuntimeError(f"Xvfb {display} exited")
            time.sleep(0.05)
        self.close()
        raise RuntimeError(f"Xvfb {display} did not start")

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(5)


def use_display(xvfb):
    """Starts a private Xvfb when asked (returned, to close), else keeps $DISPLAY."""
    if xvfb:
        server = Xvfb(xvfb)
        os.environ["DISPLAY"] = xvfb
        return server
    if not os.environ.get("DISPLAY"):
        raise SystemExit("no DISPLAY: pass --xvfb :N to start a private Xvfb")
    return None


class Session:
    """The display a benchmark watches, with the load average around its run:

        with xbench.Session(args.xvfb) as session:
            ... session.display ...
        print(session.load_before, session.load_after)
    """

    def __init__(self, xvfb):
        self.xvfb = xvfb

    def __enter__(self):
        self.server = use_display(self.xvfb)
        try:
            self.display = Display()
            self.display.watch_maps()
        except BaseException:
            if self.server:
                self.server.close()
            raise
        self.load_before = load_average()
        self.load_after = None
        return self

    def __exit__(self, *exc):
        try:
            self.load_after = load_average()
            self.display.close()
        finally:
            if self.server:
                self.server.close()
        return False


class Program:
    """A program started in a scratch folder of its own (the game writes hits.dat there)."""

    def __init__(self, path):
        self.path = os.path.abspath(path)
        self.folder = tempfile.mkdtemp(prefix="mnemira-bench-")
        self.pid = self._spawn()
        self.status = None

    def _spawn(self):
        cwd = os.getcwd()
        os.chdir(self.folder)
        try:
            # Timed just before the spawn: posix_spawn returns once the child has called exec.
            self.started = now_ms()
            return os.posix_spawn(self.path, [self.path], os.environ, file_actions=[
                (os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0),
                (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0)])
        finally:
            os.chdir(cwd)

    def alive(self):
        if self.status is None:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                self.status = status
        return self.status is None

    def proc_status(self):
        """The kB fields of /proc/<pid>/status (VmHWM, VmRSS, RssAnon …) and Threads."""
        fields = {}
        with open(f"/proc/{self.pid}/status") as f:
            for line in f:
                key, _, value = line.partition(":")
                parts = value.split()
                if parts and parts[0].isdigit():
                    fields[key] = int(parts[0])
        return fields

    def cpu_ms(self):
        """(on-CPU, waiting on a run queue) in ms, summed over the threads alive now, from
        /proc/<pid>/task/*/schedstat: the work done so far, and what the load made it wait."""
        run = wait = 0
        for task in os.listdir(f"/proc/{self.pid}/task"):
            try:
                with open(f"/proc/{self.pid}/task/{task}/schedstat") as f:
                    fields = f.read().split()
            except OSError:
                continue  # a thread that has just ended
            run += int(fields[0])
            wait += int(fields[1])
        return run / 1e6, wait / 1e6

    def stop(self):
        if self.alive():
            os.kill(self.pid, signal.SIGTERM)
            deadline = time.monotonic() + 3
            while self.alive() and time.monotonic() < deadline:
                time.sleep(0.02)
            if self.alive():
                os.kill(self.pid, signal.SIGKILL)
                os.waitpid(self.pid, 0)
                self.status = -9
        shutil.rmtree(self.folder, ignore_errors=True)


class CpuSample:
    """What the threads of a process alive now have used so far: on-CPU ns (schedstat), user +
    system clock ticks (stat), voluntary + involuntary context switches (status)."""

    def __init__(self, pid):
        self.at = time.monotonic()
        self.ns = self.ticks = self.switches = 0
        for task in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                    ns = int(f.read().split()[0])
                with open(f"/proc/{pid}/task/{task}/stat") as f:
                    text = f.read()
                with open(f"/proc/{pid}/task/{task}/status") as f:
                    switches = sum(int(line.split()[1]) for line in f
                                   if "ctxt_switches:" in line)
            except OSError:
                continue  # a thread that has just ended
            fields = text[text.rfind(")") + 2:].split()
            self.ns += ns
            self.ticks += int(fields[11]) + int(fields[12])
            self.switches += switches


def cpu_use(before, after):
    """Between two samples of one process: (% of one core by schedstat, % by utime + stime,
    context switches a second)."""
    seconds = after.at - before.at
    tick_s = 1 / os.sysconf("SC_CLK_TCK")
    return (100 * (after.ns - before.ns) / 1e9 / seconds,
            100 * (after.ticks - before.ticks) * tick_s / seconds,
            (after.switches - before.switches) / seconds)


def start_and_hold(display, path, hold_s, timeout_s=30.0):
    """Starts path, waits for its 800 x 600 window to be mapped, leaves it hold_s seconds on its
    first page, reads its status and ends it. Returns a dict: map_ms (exec -> map), cpu_ms and
    wait_ms (on-CPU and run-queue time of its threads up to the map, read just after it),
    hwm_kib and rss_kib (VmHWM and VmRSS after hold_s)."""
    display.drain()
    program = Program(path)
    try:
        mapped, window = display.wait_map(program.pid, timeout_s, program.alive)
        cpu, wait = program.cpu_ms()
        size = display.geometry(window)[2:]
        if size != (800, 600):
            raise RuntimeError(f"{path} mapped a {size} window first")
        time.sleep(hold_s)
        if not program.alive():
            raise RuntimeError(f"{path} ended during the {hold_s} s on its first page")
        status = program.proc_status()
    finally:
        program.stop()
    return {"map_ms": mapped - program.started, "cpu_ms": cpu, "wait_ms": wait,
            "hwm_kib": status["VmHWM"], "rss_kib": status["VmRSS"]}


CELEBRATION_CLICK = (409, 288)  # on the game page, in client coordinates


def _card_grid(path=os.path.join(HERE, "..", "src", "game", "card_grid.h")):
    """The cards' size and places (left, top in client coordinates, by position 1 … 20) as the
    window has them: game::kCardWidth, kCardHeight and kCardPlaces, read from their one table."""
    with open(path) as f:
        text = f.read()

    def find(pattern):
        found = re.search(pattern, text, re.S)
        if not found:
            raise RuntimeError(f"{path} no longer has {pattern}")
        return found[1]

    size = tuple(int(find(rf"\b{name}\s*=\s*(\d+)\s*;")) for name in ("kCardWidth", "kCardHeight"))
    table = find(r"\bkCardPlaces\[[^]]*\]\s*=\s*\{(.*?)\};")
    places = [(int(x), int(y)) for x, y in re.findall(r"\{\s*(\d+)\s*,\s*(\d+)\s*\}", table)]
    if len(places) != 20:
        raise RuntimeError(f"{path}: {len(places)} card places, not 20")
    return size, places


(CARD_W, CARD_H), _CARD_PLACES = _card_grid()


def card_rect(position):
    """Card 1 … 20: left, top of its picture in client coordinates."""
    return _CARD_PLACES[position - 1]


def digest(data):
    return hashlib.sha1(data).hexdigest()


def mb(kib):
    return kib / 1024.0


def summary(values):
    """Median, quartiles, min and max of a list."""
    v = sorted(values)
    q = statistics.quantiles(v, n=4, method="inclusive") if len(v) > 1 else [v[0]] * 3
    return {"median": statistics.median(v), "q1": q[0], "q3": q[2], "min": v[0], "max": v[-1],
            "n": len(v)}


def percentile(values, p):
    """The p-th percentile by the nearest-rank rule (no interpolation)."""
    v = sorted(values)
    rank = max(1, -(-len(v) * p // 100))
    return v[int(rank) - 1]


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])
