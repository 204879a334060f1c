"""What the X-server benchmarks of bench/ share: a small Xlib client on ctypes (map notifications,
synthetic input through XTest, screen grabs), a private Xvfb, programs started in scratch folders
and read through /proc, and the game's card geometry.

Standard library only; needs libX11.so.6, libXtst.so.6 and libXdamage.so.1 (Debian: libx11-6,
libxtst6, libxdamage1).
"""
import ctypes
import hashlib
import os
import select
import shutil
import signal
import statistics
import subprocess
import tempfile
import time

_x11 = ctypes.CDLL("libX11.so.6")
_xtst = ctypes.CDLL("libXtst.so.6")
_xdamage = ctypes.CDLL("libXdamage.so.1")

Window = ctypes.c_ulong
Atom = ctypes.c_ulong

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
Z_PIXMAP = 2
ALL_PLANES = ctypes.c_ulong(0xFFFFFFFF)
XA_CARDINAL = 6
XK_RETURN = 0xFF0D
REVERT_TO_PARENT = 2


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", Window), ("window", Window),
                ("override_redirect", ctypes.c_int)]


class XRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort)]


class XDamageNotifyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("drawable", Window), ("damage", ctypes.c_ulong),
                ("level", ctypes.c_int), ("more", ctypes.c_int), ("timestamp", ctypes.c_ulong),
                ("area", XRectangle), ("geometry", XRectangle)]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


def _sig(lib, name, res, *args):
    fn = getattr(lib, name)
    fn.restype = res
    fn.argtypes = list(args)
    return fn


_p = ctypes.c_void_p
XOpenDisplay = _sig(_x11, "XOpenDisplay", _p, ctypes.c_char_p)
XCloseDisplay = _sig(_x11, "XCloseDisplay", ctypes.c_int, _p)
XDefaultRootWindow = _sig(_x11, "XDefaultRootWindow", Window, _p)
XConnectionNumber = _sig(_x11, "XConnectionNumber", ctypes.c_int, _p)
XSelectInput = _sig(_x11, "XSelectInput", ctypes.c_int, _p, Window, ctypes.c_long)
XSync = _sig(_x11, "XSync", ctypes.c_int, _p, ctypes.c_int)
XFlush = _sig(_x11, "XFlush", ctypes.c_int, _p)
XPending = _sig(_x11, "XPending", ctypes.c_int, _p)
XNextEvent = _sig(_x11, "XNextEvent", ctypes.c_int, _p, ctypes.POINTER(XEvent))
XInternAtom = _sig(_x11, "XInternAtom", Atom, _p, ctypes.c_char_p, ctypes.c_int)
XFree = _sig(_x11, "XFree", ctypes.c_int, _p)
XGetWindowProperty = _sig(
    _x11, "XGetWindowProperty", ctypes.c_int, _p, Window, Atom, ctypes.c_long, ctypes.c_long,
    ctypes.c_int, Atom, ctypes.POINTER(Atom), ctypes.POINTER(ctypes.c_int),
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(_p))
XTranslateCoordinates = _sig(
    _x11, "XTranslateCoordinates", ctypes.c_int, _p, Window, Window, ctypes.c_int, ctypes.c_int,
    ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(Window))
XGetGeometry = _sig(
    _x11, "XGetGeometry", ctypes.c_int, _p, Window, ctypes.POINTER(Window),
    ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_uint),
    ctypes.POINTER(ctypes.c_uint), ctypes.POINTER(ctypes.c_uint), ctypes.POINTER(ctypes.c_uint))
XGetImage = _sig(_x11, "XGetImage", ctypes.POINTER(XImage), _p, Window, ctypes.c_int,
                 ctypes.c_int, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int)
XDestroyImage = _sig(_x11, "XDestroyImage", ctypes.c_int, ctypes.POINTER(XImage))
XSetInputFocus = _sig(_x11, "XSetInputFocus", ctypes.c_int, _p, Window, ctypes.c_int,
                      ctypes.c_ulong)
XKeysymToKeycode = _sig(_x11, "XKeysymToKeycode", ctypes.c_ubyte, _p, ctypes.c_ulong)
XDamageQueryExtension = _sig(_xdamage, "XDamageQueryExtension", ctypes.c_int, _p,
                              ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int))
XDamageCreate = _sig(_xdamage, "XDamageCreate", ctypes.c_ulong, _p, Window, ctypes.c_int)
XDamageDestroy = _sig(_xdamage, "XDamageDestroy", None, _p, ctypes.c_ulong)
XTestFakeMotionEvent = _sig(_xtst, "XTestFakeMotionEvent", ctypes.c_int, _p, ctypes.c_int,
                            ctypes.c_int, ctypes.c_int, ctypes.c_ulong)
XTestFakeButtonEvent = _sig(_xtst, "XTestFakeButtonEvent", ctypes.c_int, _p, ctypes.c_uint,
                            ctypes.c_int, ctypes.c_ulong)
XTestFakeKeyEvent = _sig(_xtst, "XTestFakeKeyEvent", ctypes.c_int, _p, ctypes.c_uint,
                         ctypes.c_int, ctypes.c_ulong)


def now_ms():
    return time.monotonic_ns() / 1e6


class Display:
    """One connection to the X server: the root's map notifications, XTest input, grabs."""

    def __init__(self, name=None):
        for _ in range(20):
            self.dpy = XOpenDisplay(name.encode() if name else None)
            if self.dpy:
                break
            time.sleep(0.1)
        if not self.dpy:
            raise RuntimeError(f"cannot open display {name or os.environ.get('DISPLAY')}")
        self.root = XDefaultRootWindow(self.dpy)
        self.fd = XConnectionNumber(self.dpy)
        self.pid_atom = XInternAtom(self.dpy, b"_NET_WM_PID", 0)
        self.event = XEvent()

    def close(self):
        XCloseDisplay(self.dpy)

    def watch_maps(self):
        """From now on the server reports every map of a top-level window to us."""
        XSelectInput(self.dpy, self.root, SUBSTRUCTURE_NOTIFY_MASK)
        XSync(self.dpy, 0)
        self.drain()

    def drain(self):
        while XPending(self.dpy):
            XNextEvent(self.dpy, ctypes.byref(self.event))

    def window_pid(self, window):
        kind, fmt = Atom(), ctypes.c_int()
        count, after, data = ctypes.c_ulong(), ctypes.c_ulong(), _p()
        status = XGetWindowProperty(self.dpy, window, self.pid_atom, 0, 1, 0, XA_CARDINAL,
                                    ctypes.byref(kind), ctypes.byref(fmt), ctypes.byref(count),
                                    ctypes.byref(after), ctypes.byref(data))
        if status != 0 or not data.value:
            return None
        pid = ctypes.cast(data, ctypes.POINTER(ctypes.c_long))[0] if count.value else None
        XFree(data)
        return pid

    def events_arrived(self, wait_ms):
        """Events queued or arriving within wait_ms: the time (now_ms clock) the socket was found
        readable, taken before any event of that read is looked at; None if none came."""
        if XPending(self.dpy):
            return now_ms()
        ready, _, _ = select.select([self.fd], [], [], wait_ms / 1000)
        arrived = now_ms()
        return arrived if ready and XPending(self.dpy) else None

    def wait_map(self, pid, timeout_s, alive=lambda: True):
        """The first map of a top-level window whose _NET_WM_PID is pid: (time in ms on the
        now_ms clock when its notification reached us, window). The time is taken when the
        socket became readable, before any event of that read is looked at."""
        deadline = time.monotonic() + timeout_s
        while time.monotonic() < deadline:
            if not XPending(self.dpy) and not alive():
                raise RuntimeError(f"process {pid} ended before mapping a window")
            arrived = self.events_arrived(50)
            if arrived is None:
                continue
            while XPending(self.dpy):
                XNextEvent(self.dpy, ctypes.byref(self.event))
                if self.event.type != MAP_NOTIFY:
                    continue
                window = ctypes.cast(ctypes.byref(self.event), ctypes.POINTER(XMapEvent))[0].window
                if self.window_pid(window) == pid:
                    return arrived, window
        raise TimeoutError(f"no window of process {pid} was mapped in {timeout_s} s")

    def watch_damage(self):
        """From now on the server also reports every change of the screen's pixels to us: X
        DAMAGE on the root window, as raw rectangles (the root's damage covers every window on
        it, whoever draws: the program, or the server moving or exposing a window)."""
        base, error = ctypes.c_int(), ctypes.c_int()
        if not XDamageQueryExtension(self.dpy, ctypes.byref(base), ctypes.byref(error)):
            raise RuntimeError("the X server has no DAMAGE extension")
        self.damage_event = base.value  # XDamageNotify is the extension's first event
        self.damage = XDamageCreate(self.dpy, self.root, 0)  # XDamageReportRawRectangles
        XSync(self.dpy, 0)
        self.drain()

    def record_start(self, pid, quiet_ms, longest_ms, timeout_s, alive=lambda: True):
        """What the screen shows of a starting program: (map, window, rectangles). map is the
        time (now_ms clock) the MapNotify of its top-level window (by _NET_WM_PID) reached us;
        rectangles are (arrival time, x, y, width, height) in root coordinates of every damage
        the server reported from now until quiet_ms passed without any after the map, or
        longest_ms after the map. Times are taken when the socket became readable, before the
        events of that read are looked at. Needs watch_maps and watch_damage."""
        mapped, window, rects = None, None, []
        last = None
        deadline = time.monotonic() + timeout_s
        while True:
            if not XPending(self.dpy):
                t = now_ms()
                if mapped is None:
                    if time.monotonic() > deadline:
                        raise TimeoutError(f"no window of process {pid} was mapped in "
                                           f"{timeout_s} s")
                    if not alive():
                        raise RuntimeError(f"process {pid} ended before mapping a window")
                    wait_ms = 50
                else:
                    wait_ms = min(last + quiet_ms, mapped + longest_ms) - t
                    if wait_ms <= 0:
                        return mapped, window, rects
            else:
                wait_ms = 0
            arrived = self.events_arrived(wait_ms)
            if arrived is None:
                continue
            while XPending(self.dpy):
                XNextEvent(self.dpy, ctypes.byref(self.event))
                kind = self.event.type
                if kind == MAP_NOTIFY and mapped is None:
                    w = ctypes.cast(ctypes.byref(self.event), ctypes.POINTER(XMapEvent))[0].window
                    if self.window_pid(w) == pid:
                        mapped, window, last = arrived, w, arrived
                elif kind == self.damage_event:
                    e = ctypes.cast(ctypes.byref(self.event),
                                    ctypes.POINTER(XDamageNotifyEvent))[0]
                    rects.append((arrived, e.area.x, e.area.y, e.area.width, e.area.height))
                    last = arrived

    def origin(self, window):
        x, y, child = ctypes.c_int(), ctypes.c_int(), Window()
        XTranslateCoordinates(self.dpy, window, self.root, 0, 0, ctypes.byref(x),
                              ctypes.byref(y), ctypes.byref(child))
        return x.value, y.value

    def size(self, window):
        root, x, y = Window(), ctypes.c_int(), ctypes.c_int()
        w, h, border, depth = (ctypes.c_uint() for _ in range(4))
        XGetGeometry(self.dpy, window, ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                     ctypes.byref(w), ctypes.byref(h), ctypes.byref(border), ctypes.byref(depth))
        return w.value, h.value

    def grab(self, x, y, w, h):
        """The screen's pixels of a rectangle in root coordinates, as bytes (one round trip)."""
        image = XGetImage(self.dpy, self.root, x, y, w, h, ALL_PLANES, Z_PIXMAP)
        if not image:
            raise RuntimeError(f"cannot grab {w}x{h}+{x}+{y}")
        data = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * h)
        XDestroyImage(image)
        return data

    def move(self, x, y):
        XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        XSync(self.dpy, 0)

    def button(self, press):
        XTestFakeButtonEvent(self.dpy, 1, 1 if press else 0, 0)
        XFlush(self.dpy)

    def click(self, x, y, hold_s=0.03):
        self.move(x, y)
        self.button(True)
        time.sleep(hold_s)
        self.button(False)
        XSync(self.dpy, 0)

    def focus(self, window):
        XSetInputFocus(self.dpy, window, REVERT_TO_PARENT, 0)
        XSync(self.dpy, 0)

    def key_return(self):
        code = XKeysymToKeycode(self.dpy, XK_RETURN)
        XTestFakeKeyEvent(self.dpy, code, 1, 0)
        XTestFakeKeyEvent(self.dpy, code, 0, 0)
        XSync(self.dpy, 0)


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
            dpy = XOpenDisplay(display.encode())
            if dpy:
                XCloseDisplay(dpy)
                return
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
        if display.size(window) != (800, 600):
            raise RuntimeError(f"{path} mapped a {display.size(window)} window first")
        time.sleep(hold_s)
        if not program.alive():
            raise RuntimeError(f"{path} ended during the {hold_s} s on its first page")
        status = program.proc_status()
    finally:
        program.stop()
    return {"map_ms": mapped - program.started, "cpu_ms": cpu, "wait_ms": wait,
            "hwm_kib": status["VmHWM"], "rss_kib": status["VmRSS"]}


# The game's geometry in client coordinates.
CARD_W, CARD_H = 90, 80
CELEBRATION_CLICK = (409, 288)


def card_rect(position):
    """Cards 1 … 20 row by row: left, top of the card's 90 x 80 picture."""
    row, col = divmod(position - 1, 5)
    return (160 if row == 3 else 161) + 102 * col, 125 + 90 * row


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
