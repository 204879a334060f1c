"""The X server as the end-to-end tests and the benchmarks see it, through libX11 and ctypes.

Windows by name with their place on the screen, window properties, the window manager's close
message (WM_DELETE_WINDOW, what a close box sends) and screen pixels; for the benchmarks (bench/
imports this module by putting this folder on sys.path) also map and DAMAGE events timed as they
arrive, and synthetic input through XTest.
libX11 is there wherever the game's xcb plugin and xdotool run, so no helper is compiled; the
benchmarks' calls also need libXtst.so.6 and libXdamage.so.1 (Debian: libxtst6, libxdamage1),
which are loaded when present, so that what uses libX11 alone runs without them.
"""
import ctypes
import os
import select
import struct
import time
import zlib

_c_int, _c_uint, _c_long, _c_ulong = ctypes.c_int, ctypes.c_uint, ctypes.c_long, ctypes.c_ulong
_ptr = ctypes.c_void_p
Window = Atom = _c_ulong

_ZPIXMAP = 2
_IS_VIEWABLE = 2
_MAP_NOTIFY = 19
_CLIENT_MESSAGE = 33
_ANY_PROPERTY_TYPE = 0
_SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
_REVERT_TO_PARENT = 2
_XK_RETURN = 0xFF0D
_DAMAGE_REPORT_RAW_RECTANGLES = 0


class XError(RuntimeError):
    pass


class _XImage(ctypes.Structure):
    _fields_ = [("width", _c_int), ("height", _c_int), ("xoffset", _c_int), ("format", _c_int),
                ("data", ctypes.POINTER(ctypes.c_ubyte)), ("byte_order", _c_int),
                ("bitmap_unit", _c_int), ("bitmap_bit_order", _c_int), ("bitmap_pad", _c_int),
                ("depth", _c_int), ("bytes_per_line", _c_int), ("bits_per_pixel", _c_int),
                ("red_mask", _c_ulong), ("green_mask", _c_ulong), ("blue_mask", _c_ulong)]


class _XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", _c_int), ("y", _c_int), ("width", _c_int), ("height", _c_int),
                ("border_width", _c_int), ("depth", _c_int), ("visual", _ptr), ("root", Window),
                ("class_", _c_int), ("bit_gravity", _c_int), ("win_gravity", _c_int),
                ("backing_store", _c_int), ("backing_planes", _c_ulong),
                ("backing_pixel", _c_ulong), ("save_under", _c_int), ("colormap", _c_ulong),
                ("map_installed", _c_int), ("map_state", _c_int),
                ("all_event_masks", _c_long), ("your_event_mask", _c_long),
                ("do_not_propagate_mask", _c_long), ("override_redirect", _c_int),
                ("screen", _ptr)]


# Every event starts with these: type, serial, send_event, display.
_EVENT_HEAD = [("type", _c_int), ("serial", _c_ulong), ("send_event", _c_int), ("display", _ptr)]


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = _EVENT_HEAD + [("window", Window), ("message_type", Atom), ("format", _c_int),
                              ("data", _c_long * 5)]


class _XMapEvent(ctypes.Structure):
    _fields_ = _EVENT_HEAD + [("event", Window), ("window", Window),
                              ("override_redirect", _c_int)]


class _XRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort)]


class _XDamageNotifyEvent(ctypes.Structure):
    _fields_ = _EVENT_HEAD + [("drawable", Window), ("damage", _c_ulong), ("level", _c_int),
                              ("more", _c_int), ("timestamp", _c_ulong), ("area", _XRectangle),
                              ("geometry", _XRectangle)]


class _XEvent(ctypes.Union):
    _fields_ = [("type", _c_int), ("xclient", _XClientMessageEvent), ("xmap", _XMapEvent),
                ("xdamage", _XDamageNotifyEvent), ("pad", _c_long * 24)]


def _library(soname):
    try:
        return ctypes.CDLL(soname)
    except OSError:
        return soname  # not installed: its calls say so when made


def _sig(lib, name, res, *args):
    if isinstance(lib, str):
        def missing(*_):
            raise XError(f"{name} needs {lib}, which is not installed")
        return missing
    fn = getattr(lib, name)
    fn.restype = res
    fn.argtypes = list(args)
    return fn


_x11 = ctypes.CDLL("libX11.so.6")
_xtst = _library("libXtst.so.6")
_xdamage = _library("libXdamage.so.1")
_ERROR_HANDLER = ctypes.CFUNCTYPE(_c_int, _ptr, _ptr)
_byref, _P = ctypes.byref, ctypes.POINTER

XOpenDisplay = _sig(_x11, "XOpenDisplay", _ptr, ctypes.c_char_p)
XCloseDisplay = _sig(_x11, "XCloseDisplay", _c_int, _ptr)
XSetErrorHandler = _sig(_x11, "XSetErrorHandler", _ptr, _ERROR_HANDLER)
XDefaultScreen = _sig(_x11, "XDefaultScreen", _c_int, _ptr)
XRootWindow = _sig(_x11, "XRootWindow", Window, _ptr, _c_int)
XDisplayWidth = _sig(_x11, "XDisplayWidth", _c_int, _ptr, _c_int)
XDisplayHeight = _sig(_x11, "XDisplayHeight", _c_int, _ptr, _c_int)
XConnectionNumber = _sig(_x11, "XConnectionNumber", _c_int, _ptr)
XInternAtom = _sig(_x11, "XInternAtom", Atom, _ptr, ctypes.c_char_p, _c_int)
XFree = _sig(_x11, "XFree", _c_int, _ptr)
XSync = _sig(_x11, "XSync", _c_int, _ptr, _c_int)
XFlush = _sig(_x11, "XFlush", _c_int, _ptr)
XQueryTree = _sig(_x11, "XQueryTree", _c_int, _ptr, Window, _P(Window), _P(Window),
                  _P(_P(Window)), _P(_c_uint))
XGetWindowAttributes = _sig(_x11, "XGetWindowAttributes", _c_int, _ptr, Window,
                            _P(_XWindowAttributes))
XTranslateCoordinates = _sig(_x11, "XTranslateCoordinates", _c_int, _ptr, Window, Window, _c_int,
                             _c_int, _P(_c_int), _P(_c_int), _P(Window))
XGetWindowProperty = _sig(_x11, "XGetWindowProperty", _c_int, _ptr, Window, Atom, _c_long,
                          _c_long, _c_int, Atom, _P(Atom), _P(_c_int), _P(_c_ulong), _P(_c_ulong),
                          _P(_P(ctypes.c_ubyte)))
XSendEvent = _sig(_x11, "XSendEvent", _c_int, _ptr, Window, _c_int, _c_long, _P(_XEvent))
XSelectInput = _sig(_x11, "XSelectInput", _c_int, _ptr, Window, _c_long)
XPending = _sig(_x11, "XPending", _c_int, _ptr)
XNextEvent = _sig(_x11, "XNextEvent", _c_int, _ptr, _P(_XEvent))
XSetInputFocus = _sig(_x11, "XSetInputFocus", _c_int, _ptr, Window, _c_int, _c_ulong)
XKeysymToKeycode = _sig(_x11, "XKeysymToKeycode", ctypes.c_ubyte, _ptr, _c_ulong)
XGetImage = _sig(_x11, "XGetImage", _P(_XImage), _ptr, Window, _c_int, _c_int, _c_uint, _c_uint,
                 _c_ulong, _c_int)
XDestroyImage = _sig(_x11, "XDestroyImage", _c_int, _P(_XImage))
XTestFakeMotionEvent = _sig(_xtst, "XTestFakeMotionEvent", _c_int, _ptr, _c_int, _c_int, _c_int,
                            _c_ulong)
XTestFakeButtonEvent = _sig(_xtst, "XTestFakeButtonEvent", _c_int, _ptr, _c_uint, _c_int,
                            _c_ulong)
XTestFakeKeyEvent = _sig(_xtst, "XTestFakeKeyEvent", _c_int, _ptr, _c_uint, _c_int, _c_ulong)
XDamageQueryExtension = _sig(_xdamage, "XDamageQueryExtension", _c_int, _ptr, _P(_c_int),
                             _P(_c_int))
XDamageCreate = _sig(_xdamage, "XDamageCreate", _c_ulong, _ptr, Window, _c_int)

# The default handler would end this process when a window vanishes between two requests, which
# windows of a closing program do; a failed request shows in what the call returns. One handler
# for the process, held here so that it outlives every connection.
_IGNORE_ERRORS = _ERROR_HANDLER(lambda d, e: 0)


def now_ms():
    """The clock of the event times below, in ms."""
    return time.monotonic_ns() / 1e6


class Display:
    """One connection to the X server named by `name` (":N"; by default $DISPLAY)."""

    def __init__(self, name=None):
        XSetErrorHandler(_IGNORE_ERRORS)
        # A server whose last client has just left resets and refuses connections meanwhile.
        for _ in range(20):
            self.d = XOpenDisplay(name.encode() if name else None)
            if self.d:
                break
            time.sleep(0.1)
        if not self.d:
            raise XError(f"cannot open display {name or os.environ.get('DISPLAY')}")
        screen = XDefaultScreen(self.d)
        self.root = XRootWindow(self.d, screen)
        self.width = XDisplayWidth(self.d, screen)
        self.height = XDisplayHeight(self.d, screen)
        self.fd = XConnectionNumber(self.d)
        self.event = _XEvent()
        self.damage_event = None
        self._atoms = {}

    def close(self):
        if self.d:
            XCloseDisplay(self.d)
            self.d = None

    def atom(self, name):
        if name not in self._atoms:
            self._atoms[name] = XInternAtom(self.d, name.encode(), 0)
        return self._atoms[name]

    def sync(self):
        """Until the server has carried out every request sent so far."""
        XSync(self.d, 0)

    # Windows

    def children(self, window):
        root, parent = Window(), Window()
        kids, n = _P(Window)(), _c_uint()
        if not XQueryTree(self.d, window, _byref(root), _byref(parent), _byref(kids), _byref(n)):
            return [], None
        out = [kids[i] for i in range(n.value)]
        if kids:
            XFree(kids)
        return out, parent.value

    def parent(self, window):
        return self.children(window)[1]

    def property(self, window, name, type_name=None, max_longs=1 << 16):
        """The raw bytes and format of a property, or (None, 0) when it is not set."""
        actual, fmt = Atom(), _c_int()
        n, after = _c_ulong(), _c_ulong()
        data = _P(ctypes.c_ubyte)()
        req = self.atom(type_name) if type_name else _ANY_PROPERTY_TYPE
        status = XGetWindowProperty(self.d, window, self.atom(name), 0, max_longs, 0, req,
                                    _byref(actual), _byref(fmt), _byref(n), _byref(after),
                                    _byref(data))
        if status != 0 or not data:
            return None, 0
        # Format 32 items are longs in the client's memory.
        size = {8: 1, 16: 2, 32: ctypes.sizeof(_c_long)}.get(fmt.value, 1) * n.value
        raw = ctypes.string_at(data, size)
        XFree(data)
        return raw, fmt.value

    def cardinals(self, window, name):
        raw, fmt = self.property(window, name)
        if raw is None or fmt != 32:
            return None
        step = ctypes.sizeof(_c_long)
        return [int.from_bytes(raw[i:i + step], "little") for i in range(0, len(raw), step)]

    def pid(self, window):
        values = self.cardinals(window, "_NET_WM_PID")
        return values[0] if values else None

    def name(self, window):
        raw, _ = self.property(window, "_NET_WM_NAME", "UTF8_STRING")
        if raw is None:
            raw, _ = self.property(window, "WM_NAME")
        return raw.decode("utf-8", "replace") if raw is not None else None

    def geometry(self, window):
        """(x, y, width, height) of the window's inside on the screen, or None when gone."""
        attrs = _XWindowAttributes()
        if not XGetWindowAttributes(self.d, window, _byref(attrs)):
            return None
        x, y, child = _c_int(), _c_int(), Window()
        if not XTranslateCoordinates(self.d, window, self.root, 0, 0, _byref(x), _byref(y),
                                     _byref(child)):
            return None
        return x.value, y.value, attrs.width, attrs.height

    def viewable(self, window):
        attrs = _XWindowAttributes()
        return bool(XGetWindowAttributes(self.d, window, _byref(attrs))) \
            and attrs.map_state == _IS_VIEWABLE

    def windows_named(self, title):
        """Viewable windows, anywhere in the tree, whose title is `title`: [(id, geometry)]."""
        found, todo = [], [self.root]
        while todo:
            w = todo.pop()
            kids, _ = self.children(w)
            todo.extend(kids)
            if w != self.root and self.name(w) == title and self.viewable(w):
                geo = self.geometry(w)
                if geo:
                    found.append((w, geo))
        self.sync()
        return found

    def close_window(self, window):
        """Sends WM_DELETE_WINDOW, as a window manager does when its close box is clicked."""
        ev = _XEvent()
        ev.xclient.type = _CLIENT_MESSAGE
        ev.xclient.window = window
        ev.xclient.message_type = self.atom("WM_PROTOCOLS")
        ev.xclient.format = 32
        ev.xclient.data[0] = self.atom("WM_DELETE_WINDOW")
        ev.xclient.data[1] = 0  # CurrentTime
        XSendEvent(self.d, window, 0, 0, _byref(ev))
        self.sync()

    # Events, timed on the now_ms clock when the socket became readable, before any event of
    # that read is looked at

    def watch_maps(self):
        """From now on the server reports every map of a top-level window to us."""
        XSelectInput(self.d, self.root, _SUBSTRUCTURE_NOTIFY_MASK)
        self.sync()
        self.drain()

    def watch_damage(self):
        """From now on the server also reports every change of the screen's pixels to us: X
        DAMAGE on the root window, as raw rectangles (the root's damage covers every window on
        it, whoever draws: the program, or the server moving or exposing a window)."""
        base, error = _c_int(), _c_int()
        if not XDamageQueryExtension(self.d, _byref(base), _byref(error)):
            raise XError("the X server has no DAMAGE extension")
        self.damage_event = base.value  # XDamageNotify is the extension's first event
        XDamageCreate(self.d, self.root, _DAMAGE_REPORT_RAW_RECTANGLES)
        self.sync()
        self.drain()

    def drain(self):
        while XPending(self.d):
            XNextEvent(self.d, _byref(self.event))

    def _arrived(self, wait_ms):
        """When events were queued or arrived within wait_ms, or None if none came."""
        if XPending(self.d):
            return now_ms()
        ready, _, _ = select.select([self.fd], [], [], wait_ms / 1000)
        arrived = now_ms()
        return arrived if ready and XPending(self.d) else None

    def record_start(self, pid, quiet_ms, longest_ms, timeout_s, alive=lambda: True):
        """What the screen shows of a starting program: (map, window, rectangles). map is when
        the MapNotify of its top-level window (by _NET_WM_PID) reached us; rectangles are
        (arrival time, x, y, width, height) in root coordinates of every damage the server
        reported from now until quiet_ms passed without any after the map, or longest_ms after
        the map. Needs watch_maps (and watch_damage for the rectangles)."""
        mapped, window, rects = None, None, []
        last = None
        deadline = time.monotonic() + timeout_s
        while True:
            if mapped is not None:
                wait_ms = min(last + quiet_ms, mapped + longest_ms) - now_ms()
                if wait_ms <= 0:
                    return mapped, window, rects
            elif XPending(self.d):
                wait_ms = 0
            elif time.monotonic() > deadline:
                raise TimeoutError(f"no window of process {pid} was mapped in {timeout_s} s")
            elif not alive():
                raise RuntimeError(f"process {pid} ended before mapping a window")
            else:
                wait_ms = 50
            arrived = self._arrived(wait_ms)
            while arrived is not None and XPending(self.d):
                XNextEvent(self.d, _byref(self.event))
                kind = self.event.type
                if kind == _MAP_NOTIFY and mapped is None:
                    if self.pid(self.event.xmap.window) == pid:
                        mapped, window, last = arrived, self.event.xmap.window, arrived
                elif kind == self.damage_event:
                    area = self.event.xdamage.area
                    rects.append((arrived, area.x, area.y, area.width, area.height))
                    last = arrived

    def wait_map(self, pid, timeout_s, alive=lambda: True):
        """The first map of a top-level window of process pid: (when it reached us, window)."""
        return self.record_start(pid, 0, 0, timeout_s, alive)[:2]

    # Input, through XTest, as a player gives it

    def move(self, x, y):
        XTestFakeMotionEvent(self.d, -1, x, y, 0)
        self.sync()

    def button(self, press):
        """The left button; sent, not waited for."""
        XTestFakeButtonEvent(self.d, 1, 1 if press else 0, 0)
        XFlush(self.d)

    def click(self, x, y, hold_s=0.03):
        self.move(x, y)
        self.button(True)
        time.sleep(hold_s)
        self.button(False)
        self.sync()

    def focus(self, window):
        XSetInputFocus(self.d, window, _REVERT_TO_PARENT, 0)
        self.sync()

    def key_return(self):
        code = XKeysymToKeycode(self.d, _XK_RETURN)
        XTestFakeKeyEvent(self.d, code, 1, 0)
        XTestFakeKeyEvent(self.d, code, 0, 0)
        self.sync()

    # Pixels

    def grab(self, x, y, w, h, window=None):
        """A rectangle of the screen, or of a shown window in its own coordinates (wherever it
        has moved meanwhile), as the server sends it: rows of 4-byte pixels (blue, green, red,
        unused), one round trip and nothing converted, for comparing and timing."""
        return self._image(x, y, w, h, window)[0]

    def pixels(self, x, y, w, h, window=None):
        """The rectangle grab reads, as packed RGB bytes, row by row."""
        raw, stride = self._image(x, y, w, h, window)
        rows = bytearray()
        for r in range(h):
            line = raw[r * stride:r * stride + 4 * w]
            rgb = bytearray(3 * w)
            rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
            rows += rgb
        return bytes(rows)

    def _image(self, x, y, w, h, window):
        img = XGetImage(self.d, window or self.root, x, y, w, h, _c_ulong(-1).value, _ZPIXMAP)
        if not img:
            raise XError(f"cannot read {w}x{h} at {x},{y} of window {window or self.root:#x}")
        try:
            im = img.contents
            if im.bits_per_pixel != 32 or im.red_mask != 0xFF0000 or im.blue_mask != 0xFF:
                raise XError("the screen is not 24-bit colour (start Xvfb with -screen 0 WxHx24)")
            stride = im.bytes_per_line  # read before the image is freed
            return ctypes.string_at(im.data, stride * h), stride
        finally:
            XDestroyImage(img)


def write_png(path, width, height, rgb):
    """Packed RGB rows to a PNG file, for a look at what the test saw."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    stride = 3 * width
    raw = b"".join(b"\0" + rgb[r * stride:(r + 1) * stride] for r in range(height))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        f.write(chunk(b"IEND", b""))
