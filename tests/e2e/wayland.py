"""A Wayland session of its own: weston's headless backend with the pixman renderer at an output
scale, its screen read with weston-screenshooter (allowed by --debug). Nothing outside it can
move its pointer or type into it: a case drives the game through the accessibility tree, or
from inside (mnemira_hint_probe).
"""
import os
import shutil
import subprocess
import tempfile

from session import Failure, Skip, child_setup, wait_for

SCREEN = (1024, 768)  # in the layout's pixels: the window, its title bar and room around them


class Weston:
    def __init__(self, log_dir, scale, png_pixels, renderer="--use-pixman"):
        missing = [t for t in ("weston", "weston-screenshooter") if not shutil.which(t)]
        if missing:
            raise Skip(f"{' and '.join(missing)} not installed (packaging/debian-packages.txt "
                       "lists weston)")
        self.scale, self.png_pixels, self.runtime = scale, png_pixels, log_dir
        self.socket = f"mnemira-e2e-{os.getpid()}"
        self.display = None  # no X display
        self.log = open(os.path.join(log_dir, "weston.log"), "wb")
        self.proc = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", renderer, f"--scale={scale}",
             f"--width={SCREEN[0]}", f"--height={SCREEN[1]}", f"--socket={self.socket}",
             "--debug", "--no-config"], env={**os.environ, "XDG_RUNTIME_DIR": log_dir},
            stdout=self.log, stderr=self.log, preexec_fn=child_setup())

        def up():
            if self.proc.poll() is not None:
                raise Failure(f"weston ended with {self.proc.returncode}; see {self.log.name}")
            return os.path.exists(os.path.join(log_dir, self.socket))
        wait_for(up, 30, "weston's socket")

    def env(self):
        return {"WAYLAND_DISPLAY": self.socket, "XDG_RUNTIME_DIR": self.runtime,
                "QT_QPA_PLATFORM": "wayland"}

    def screen(self):
        """The whole screen in device pixels: (width, height, packed RGB rows)."""
        with tempfile.TemporaryDirectory(dir=self.runtime) as folder:
            subprocess.run(["weston-screenshooter"], cwd=folder, check=True, timeout=20,
                           env={**os.environ, **self.env()}, capture_output=True)
            png = os.path.join(folder, os.listdir(folder)[0])
            ppm = subprocess.run([self.png_pixels, png], check=True, capture_output=True).stdout
        # "P6\nW H\n255\n", then the pixels (whose first byte may look like white space).
        _, size, _, rgb = ppm.split(b"\n", 3)
        w, h = map(int, size.split())
        return w, h, rgb

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.log.close()


def find(screen, picture):
    """Where `picture` (w, h, rgb) lies in `screen`: (x, y) of its top-left, or None. Found by
    one of its rows below the middle that differs from the row above it."""
    sw, _, srgb = screen
    w, h, rgb = picture
    row = [rgb[3 * w * r:3 * w * (r + 1)] for r in range(h // 2 - 1, h)]
    r = next((r for r in range(1, len(row)) if row[r] != row[r - 1]), 1)
    at = srgb.find(row[r])
    while at >= 0 and at % 3:
        at = srgb.find(row[r], at + 1)
    if at < 0:
        return None
    y, x = divmod(at // 3, sw)
    return x, y - (h // 2 - 1 + r)


def crop(screen, x, y, w, h):
    sw, _, rgb = screen
    return w, h, b"".join(rgb[3 * (sw * r + x):3 * (sw * r + x + w)] for r in range(y, y + h))
