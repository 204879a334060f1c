"""The X server as the end-to-end tests see it, through libX11 and ctypes.

Windows by name with their place on the screen, screen pixels, the window manager's close
message (WM_DELETE_WINDOW, what a close box sends) and window properties.
libX11 is there wherever the game's xcb plugin and xdotool run, so no helper is compiled.
"""
import ctypes
import zlib
import struct

_c_int, _c_uint, _c_long, _c_ulong = ctypes.c_int, ctypes.c_uint, ctypes.c_long, ctypes.c_ulong
_ptr = ctypes.c_void_p
Window = Atom = _c_ulong

_ZPIXMAP = 2
_IS_VIEWABLE = 2
_CLIENT_MESSAGE = 33
_ANY_PROPERTY_TYPE = 0


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


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", _c_int), ("serial", _c_ulong), ("send_event", _c_int),
                ("display", _ptr), ("window", Window), ("message_type", Atom),
                ("format", _c_int), ("data", _c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("type", _c_int), ("xclient", _XClientMessageEvent), ("pad", _c_long * 24)]


_ERROR_HANDLER = ctypes.CFUNCTYPE(_c_int, _ptr, _ptr)


class XError(RuntimeError):
    pass


class Display:
    """One connection to the X server named by `name` (":N")."""

    def __init__(self, name):
        self.x = x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = _ptr
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultScreen.argtypes = [_ptr]
        x.XRootWindow.restype = Window
        x.XRootWindow.argtypes = [_ptr, _c_int]
        x.XDisplayWidth.argtypes = x.XDisplayHeight.argtypes = [_ptr, _c_int]
        x.XInternAtom.restype = Atom
        x.XInternAtom.argtypes = [_ptr, ctypes.c_char_p, _c_int]
        x.XGetImage.restype = ctypes.POINTER(_XImage)
        x.XGetImage.argtypes = [_ptr, Window, _c_int, _c_int, _c_uint, _c_uint, _c_ulong, _c_int]
        x.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        x.XQueryTree.argtypes = [_ptr, Window, ctypes.POINTER(Window), ctypes.POINTER(Window),
                                 ctypes.POINTER(ctypes.POINTER(Window)), ctypes.POINTER(_c_uint)]
        x.XGetWindowAttributes.argtypes = [_ptr, Window, ctypes.POINTER(_XWindowAttributes)]
        x.XTranslateCoordinates.argtypes = [_ptr, Window, Window, _c_int, _c_int,
                                            ctypes.POINTER(_c_int), ctypes.POINTER(_c_int),
                                            ctypes.POINTER(Window)]
        x.XGetWindowProperty.argtypes = [_ptr, Window, Atom, _c_long, _c_long, _c_int, Atom,
                                         ctypes.POINTER(Atom), ctypes.POINTER(_c_int),
                                         ctypes.POINTER(_c_ulong), ctypes.POINTER(_c_ulong),
                                         ctypes.POINTER(ctypes.POINTER(ctypes.c_ubyte))]
        x.XSendEvent.argtypes = [_ptr, Window, _c_int, _c_long, ctypes.POINTER(_XEvent)]
        x.XSync.argtypes = [_ptr, _c_int]
        x.XFree.argtypes = [_ptr]
        x.XCloseDisplay.argtypes = [_ptr]

        self.errors = []
        # The default handler would end this process when a window vanishes between two
        # requests, which windows of a closing program do.
        self._handler = _ERROR_HANDLER(lambda d, e: self.errors.append(1) or 0)
        x.XSetErrorHandler(self._handler)

        self.d = x.XOpenDisplay(name.encode())
        if not self.d:
            raise XError(f"cannot open display {name}")
        screen = x.XDefaultScreen(self.d)
        self.root = x.XRootWindow(self.d, screen)
        self.width = x.XDisplayWidth(self.d, screen)
        self.height = x.XDisplayHeight(self.d, screen)
        self._atoms = {}

    def close(self):
        if self.d:
            self.x.XCloseDisplay(self.d)
            self.d = None

    def atom(self, name):
        if name not in self._atoms:
            self._atoms[name] = self.x.XInternAtom(self.d, name.encode(), 0)
        return self._atoms[name]

    # Windows

    def children(self, window):
        root, parent = Window(), Window()
        kids, n = ctypes.POINTER(Window)(), _c_uint()
        if not self.x.XQueryTree(self.d, window, ctypes.byref(root), ctypes.byref(parent),
                                 ctypes.byref(kids), ctypes.byref(n)):
            return [], None
        out = [kids[i] for i in range(n.value)]
        if kids:
            self.x.XFree(kids)
        return out, parent.value

    def parent(self, window):
        return self.children(window)[1]

    def property(self, window, name, type_name=None, max_longs=1 << 16):
        """The raw bytes and format of a property, or (None, 0) when it is not set."""
        actual, fmt = Atom(), _c_int()
        n, after = _c_ulong(), _c_ulong()
        data = ctypes.POINTER(ctypes.c_ubyte)()
        req = self.atom(type_name) if type_name else _ANY_PROPERTY_TYPE
        status = self.x.XGetWindowProperty(self.d, window, self.atom(name), 0, max_longs, 0, req,
                                           ctypes.byref(actual), ctypes.byref(fmt),
                                           ctypes.byref(n), ctypes.byref(after),
                                           ctypes.byref(data))
        if status != 0 or not data:
            return None, 0
        # Format 32 items are longs in the client's memory.
        size = {8: 1, 16: 2, 32: ctypes.sizeof(_c_long)}.get(fmt.value, 1) * n.value
        raw = ctypes.string_at(data, size)
        self.x.XFree(data)
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
        if not self.x.XGetWindowAttributes(self.d, window, ctypes.byref(attrs)):
            return None
        x, y, child = _c_int(), _c_int(), Window()
        if not self.x.XTranslateCoordinates(self.d, window, self.root, 0, 0, ctypes.byref(x),
                                            ctypes.byref(y), ctypes.byref(child)):
            return None
        return x.value, y.value, attrs.width, attrs.height

    def viewable(self, window):
        attrs = _XWindowAttributes()
        return bool(self.x.XGetWindowAttributes(self.d, window, ctypes.byref(attrs))) \
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
        self.x.XSync(self.d, 0)
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
        self.x.XSendEvent(self.d, window, 0, 0, ctypes.byref(ev))
        self.x.XSync(self.d, 0)

    # Pixels

    def pixels(self, x, y, w, h, window=None):
        """A rectangle of the screen, or of a shown window in its own coordinates (wherever it
        has moved meanwhile), as packed RGB bytes, row by row."""
        img = self.x.XGetImage(self.d, window or self.root, x, y, w, h, _c_ulong(-1).value,
                               _ZPIXMAP)
        if not img:
            raise XError(f"cannot read {w}x{h} at {x},{y} of window {window or self.root:#x}")
        try:
            im = img.contents
            if im.bits_per_pixel != 32 or im.red_mask != 0xFF0000 or im.blue_mask != 0xFF:
                raise XError("the screen is not 24-bit colour (start Xvfb with -screen 0 WxHx24)")
            stride = im.bytes_per_line  # read before the image is freed
            raw = ctypes.string_at(im.data, stride * h)
        finally:
            self.x.XDestroyImage(img)
        rows = bytearray()
        for r in range(h):
            line = raw[r * stride:r * stride + 4 * w]
            rgb = bytearray(3 * w)
            rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
            rows += rgb
        return bytes(rows)


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
