"""The pieces of an end-to-end session: an X server of its own, the game as a process, and a
player who sees the window only through screen pixels and acts only through xdotool.

Every wait polls for what a player would see, up to a generous limit, so a loaded machine makes
a case slower, not wrong.
"""
import ctypes
import os
import shutil
import signal
import subprocess
import time

import xdisplay

TITLE = "Мнемира"
CLIENT_W, CLIENT_H = 800, 600
CARD_W, CARD_H = 90, 80
CARDS = 20
# The celebration lies over the board at 150,94 (518 x 389). The band between its left edge and
# the first column of cards shows the building whenever no celebration does.
CELEBRATION = (150, 94, 518, 389)
CELEBRATION_BAND = (150, 94, 10, 389)
CELEBRATION_CLICK = (409, 288)
# Inside the blue clock panel (24,26 105x25), below its digits.
CLOCK_PROBE = (26, 47, 100, 2)
CLOCK_BLUE = b"\x00\x00\xff"
# The results list (157,160 508x320): rows of 15 pixels and a grid line from y 178, columns
# "Время" (x 158..322), "Имя" (324..502) and "Дата" (504..637); right of them it stays white.
LIST_ROW_TOP, LIST_ROW_STEP, LIST_ROW_H = 178, 16, 15
LIST_COLUMNS = {"time": (158, 165), "name": (324, 178), "date": (504, 133), "row": (158, 480)}
LIST_EMPTY_PROBE = (645, 300, 15, 150)
WHITE = b"\xff\xff\xff"
# The text area of the name field (320,404 177x21): with the window focused, "Новый игрок" shows
# selected, on the selection's blue.
NAME_TEXT = (322, 406, 60, 17)
SELECTION_BLUE = b"\x30\x8c\xc6"

EXIT_SKIP = 77
HERE = os.path.dirname(os.path.abspath(__file__))


class Failure(AssertionError):
    pass


class Skip(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(condition, timeout, what, interval=0.01):
    """Polls `condition` until it returns something true, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"waited {timeout:g} s for {what}")
        time.sleep(interval)


# The cards' places, written here again on purpose: what a player must see where, checked
# against the window (which places them from game/card_grid.h).
def card_origin(position):
    row, col = divmod(position - 1, 5)
    return (160 if row == 3 else 161) + 102 * col, 125 + 90 * row


def require_tools():
    missing = [t for t in ("Xvfb", "xdotool") if not shutil.which(t)]
    if missing:
        raise Skip(f"{' and '.join(missing)} not installed (packaging/debian-packages.txt lists "
                   "them; ./dev.sh installs them)")
    try:
        ctypes.CDLL("libX11.so.6")
    except OSError:
        raise Skip("libX11.so.6 not installed")


def child_setup(then=None):
    """preexec_fn for every process a case starts: it dies with the harness (a CTest time-out
    kills the harness only), then `then` runs."""
    libc = ctypes.CDLL(None, use_errno=True)

    def setup():
        libc.prctl(1, signal.SIGKILL, 0, 0, 0)  # PR_SET_PDEATHSIG
        if then:
            then()
    return setup


def xdotool(display, *args):
    # Bounded: "windowfocus --sync" would wait for ever for a window that cannot take the focus.
    try:
        subprocess.run(["xdotool", *map(str, args)], check=True, timeout=20,
                       env={**os.environ, "DISPLAY": display},
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    except subprocess.TimeoutExpired:
        raise Failure(f"xdotool {' '.join(map(str, args))} did not finish within 20 s")


class XServer:
    """Xvfb on a display number it picks itself (-displayfd), 1280 x 1024 in 24-bit colour, or
    1.6 times that for programs told to draw at a scale of 2."""

    def __init__(self, log_dir, scale=1):
        self.scale = scale
        self.log = open(os.path.join(log_dir, "xvfb.log"), "wb")
        read_end, write_end = os.pipe()
        size = "1280x1024x24" if scale == 1 else "2048x1536x24"
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", size, "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=self.log, stderr=self.log, preexec_fn=child_setup())
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 30
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk or time.monotonic() > deadline:
                self.proc.kill()
                raise Failure("Xvfb did not report its display")
            number += chunk
        os.close(read_end)
        self.name = ":" + number.decode().strip()
        self.display = xdisplay.Display(self.name)
        self.wm = None

    def env(self):
        """What a Qt program needs to draw here."""
        scale = {"QT_SCALE_FACTOR": str(self.scale)} if self.scale != 1 else {}
        return {"DISPLAY": self.name, "QT_QPA_PLATFORM": "xcb", **scale}

    def start_window_manager(self, log_dir):
        """openbox, if installed; waits until it manages the screen."""
        if not shutil.which("openbox"):
            raise Skip("openbox not installed (packaging/debian-packages.txt lists it)")
        self.wm = subprocess.Popen(["openbox", "--sm-disable"],
                                   env={**os.environ, "DISPLAY": self.name},
                                   stdout=self.log, stderr=self.log, preexec_fn=child_setup())
        wait_for(lambda: self.display.cardinals(self.display.root,
                                                "_NET_SUPPORTING_WM_CHECK"),
                 20, "openbox to manage the screen")

    def stop(self):
        self.display.close()
        for proc in (self.wm, self.proc):
            if proc and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self.log.close()


class Box:
    """A message box on the screen: its window, place and caption."""

    def __init__(self, wid, geometry, caption):
        self.wid, self.geometry, self.caption = wid, geometry, caption

    def __repr__(self):
        return f"box {self.caption!r} at {self.geometry}"


# Settings of the developer's shell that would change what a Qt program draws or where: its
# displays, language (fontconfig picks the default face by it, and message boxes use that face),
# style, theme or scale.
FOREIGN_SETTINGS = ("DISPLAY", "WAYLAND_DISPLAY", "LC_ALL", "LANGUAGE", "QT_STYLE_OVERRIDE",
                    "QT_QPA_PLATFORMTHEME", "XDG_CURRENT_DESKTOP", "QT_SCALE_FACTOR",
                    "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI")


def qt_environment(server, log_dir):
    """The environment of every Qt program a case starts on `server` (an X server or a Wayland
    compositor): the same for the game and the programs it is compared with."""
    env = {k: v for k, v in os.environ.items() if k not in FOREIGN_SETTINGS}
    env.update(LANG="C.UTF-8", XDG_RUNTIME_DIR=log_dir)
    env.update(server.env())
    return env


class ReferenceBoxes:
    """Pictures of the boxes the tests expect, shown by mnemira_reference_box on the same
    server, once per kind and text."""

    def __init__(self, server, exe, log_dir):
        self.server, self.exe, self.log_dir = server, exe, log_dir
        self.cache = {}

    def picture(self, icon, caption, text):
        key = (icon, caption, text)
        if key not in self.cache:
            with open(os.path.join(self.log_dir, "reference-box.log"), "ab") as log:
                proc = subprocess.Popen([self.exe, icon, caption, text],
                                        env=qt_environment(self.server, self.log_dir),
                                        stdout=log, stderr=log, preexec_fn=child_setup())
            try:
                x = self.server.display
                wid, geo = wait_for(lambda: next(((w, g) for w, g in x.windows_named(caption)
                                                  if x.pid(w) == proc.pid), None),
                                    20, f"the reference box {text!r}")
                self.cache[key] = steady_picture(self.server, wid, geo)
            finally:
                proc.kill()
                proc.wait()
        return self.cache[key]


def steady_picture(server, wid, geometry):
    """The window's pixels once it is focused, the pointer is off it, and two looks agree."""
    xdotool(server.name, "mousemove", 0, 0)
    xdotool(server.name, "windowfocus", "--sync", wid)
    w, h = geometry[2:]
    last = [None]

    def steady():
        time.sleep(0.05)
        now = server.display.pixels(0, 0, w, h, window=wid)
        same, last[0] = now == last[0], now
        return same
    wait_for(steady, 10, f"window {wid:#x} to stop changing")
    return w, h, last[0]


class Game:
    """build/bin/mnemira running on the session's X server in a working folder of its own."""

    def __init__(self, server, exe, workdir, log_dir, preexec_fn=None, name="game", extra_env=None):
        self.server, self.x = server, server.display
        self.size = (CLIENT_W * server.scale, CLIENT_H * server.scale)  # in device pixels
        self.workdir = workdir
        self.log_path = os.path.join(log_dir, f"{name}.log")
        env = qt_environment(server, log_dir)
        # A Russian date in the record, as the design's example shows, whatever this machine's
        # language is; Qt takes the formats from its own data.
        env.update(LC_TIME="ru_RU.UTF-8", **(extra_env or {}))
        # Matters only to a game built with AddressSanitizer.
        env["LSAN_OPTIONS"] = ":".join(filter(None, [env.get("LSAN_OPTIONS"), "suppressions="
                                                     + os.path.join(HERE, "lsan.supp")]))
        with open(self.log_path, "wb") as log:
            self.proc = subprocess.Popen([exe], cwd=workdir, env=env, stdout=log, stderr=log,
                                         preexec_fn=child_setup(preexec_fn))
        self.wid = None

    def log(self):
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def running(self):
        return self.proc.poll() is None

    def state(self):
        rc = self.proc.poll()
        if rc is None:
            return "running"
        return f"ended by signal {-rc}" if rc < 0 else f"exited with {rc}"

    def _windows(self, alive=True):
        if not alive and not self.running():
            return []
        check(self.running(), f"the game ended (exit code {self.proc.returncode})\n{self.log()}")
        return self.x.windows_named(TITLE)

    def wait_window(self, timeout=30):
        """The main window: titled "Мнемира", client area 800 x 600, shown."""
        def main():
            return next(((w, g) for w, g in self._windows()
                         if g[2:] == self.size), None)
        try:
            self.wid, geo = wait_for(main, timeout, "the game window")
        except Failure as e:
            raise Failure(f"{e}; windows titled {TITLE!r}: {self._windows()}")
        # Qt takes the first thread that uses it for its main thread; the start-up's helper
        # thread must never get there before the application does (the window then misses its
        # focus, among other things).
        check("not created in the main() thread" not in self.log(),
              f"Qt took another thread for the main thread\n{self.log()}")
        return geo

    def boxes(self, alive=True):
        """The game's windows titled "Мнемира" besides the main window: its message boxes."""
        return [(w, g) for w, g in self._windows(alive)
                if w != self.wid and g[2:] != self.size
                and self.x.pid(w) == self.proc.pid]

    def wait_box(self, timeout=20):
        wid, geo = wait_for(lambda: next(iter(self.boxes()), None), timeout, "a message box")
        return Box(wid, geo, self.x.name(wid))

    def dismiss(self, box, timeout=10):
        """Return closes the box, as the player presses it."""
        xdotool(self.server.name, "windowfocus", "--sync", box.wid)
        xdotool(self.server.name, "key", "Return")
        wait_for(lambda: box.wid not in [w for w, _ in self.boxes(alive=False)], timeout,
                 f"{box} to close")

    def expect_box(self, references, text, icon="critical", shots=None):
        """Waits for a box, checks it is the box of `text` pixel for pixel, and closes it."""
        box = self.wait_box()
        check(box.caption == TITLE, f"{box}: the caption is not {TITLE!r}")
        seen = steady_picture(self.server, box.wid, box.geometry)
        expected = references.picture(icon, TITLE, text)
        if seen != expected:
            if shots:
                for name, (w, h, px) in (("seen", seen), ("expected", expected)):
                    xdisplay.write_png(os.path.join(shots, f"box-{name}.png"), w, h, px)
            raise Failure(f"{box} is not the {icon} box saying {text!r} "
                          f"(sizes {seen[:2]} and {expected[:2]}; pictures in {shots})")
        self.dismiss(box)
        return box

    def close(self):
        """The close box of the window: the window manager's WM_DELETE_WINDOW."""
        self.x.close_window(self.wid)

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the game did not end within {timeout} s of the close request")

    def kill(self):
        if self.running():
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait()

    # What the player sees, in client coordinates

    def pixels(self, x, y, w, h):
        return self.x.pixels(x, y, w, h, window=self.wid)

    def card(self, position):
        x, y = card_origin(position)
        return self.pixels(x, y, CARD_W, CARD_H)

    def shot(self, path):
        xdisplay.write_png(path, CLIENT_W, CLIENT_H, self.pixels(0, 0, CLIENT_W, CLIENT_H))

    def on_game_page(self):
        px = self.pixels(*CLOCK_PROBE)
        return px == CLOCK_BLUE * (len(px) // 3)

    def name_selected(self):
        px = self.pixels(*NAME_TEXT)
        return sum(px[i:i + 3] == SELECTION_BLUE for i in range(0, len(px), 3)) > 100

    def on_results_page(self):
        return self.pixels(*LIST_EMPTY_PROBE) == WHITE * (LIST_EMPTY_PROBE[2] * LIST_EMPTY_PROBE[3])

    def list_cell(self, row, column):
        x, w = LIST_COLUMNS[column]
        return self.pixels(x, LIST_ROW_TOP + LIST_ROW_STEP * row, w, LIST_ROW_H)

    def list_row_blank(self, row):
        cells = self.list_cell(row, "row")
        return cells == WHITE * (len(cells) // 3)

    def wait_results_rows(self, rows, timeout=10):
        """Waits until the results list shows exactly `rows` rows, the pointer kept off it so
        that its hover hint does not cover them."""
        self.pointer_away()
        wait_for(lambda: all(not self.list_row_blank(r) for r in range(rows))
                 and self.list_row_blank(rows), timeout, f"the results list to show {rows} rows")

    # What the player does

    def focus(self):
        xdotool(self.server.name, "windowfocus", "--sync", self.wid)

    def key(self, *keys):
        self.focus()
        xdotool(self.server.name, "key", *keys)

    def click(self, x, y):
        xdotool(self.server.name, "mousemove", "--window", self.wid, x, y, "click", 1)

    def pointer_away(self):
        """Off the window, so that no hover hint covers what is read next."""
        xdotool(self.server.name, "mousemove", 0, 0)
