#!/usr/bin/env python3
"""Plays one whole game of the running Мнемира through the X server, as a player would.

Finds the window, presses Enter on the start page, then turns cards with the mouse, remembering
faces from screenshots, until every pair is found. A celebration is ended with a click on the
animation (or left to run with --watch). Screenshots of the steps go to --shots.

    DISPLAY=:9 tools/play/xvfb_play.py --shots /tmp/play
"""
import argparse
import hashlib
import os
import subprocess
import time

CARD_W, CARD_H = 90, 80


def sh(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout


def window_origin():
    wid = sh("xdotool", "search", "--name", "^Мнемира$").split()[0].decode()
    geo = sh("xdotool", "getwindowgeometry", wid).decode()
    pos = geo.split("Position: ")[1].split(" ")[0]
    x, y = (int(v) for v in pos.split(","))
    return wid, x, y


def card_rect(position):
    row, col = divmod(position - 1, 5)
    return (160 if row == 3 else 161) + 102 * col, 125 + 90 * row


class Player:
    def __init__(self, shots, watch):
        self.wid, self.ox, self.oy = window_origin()
        self.shots = shots
        self.watch = watch
        self.n = 0
        os.makedirs(shots, exist_ok=True)

    def click(self, x, y):
        sh("xdotool", "mousemove", str(self.ox + x), str(self.oy + y), "click", "1")

    def shot(self, name):
        self.n += 1
        path = os.path.join(self.shots, f"{self.n:03d}-{name}.png")
        sh("import", "-window", "root", "-crop", f"800x600+{self.ox}+{self.oy}", "+repage", path)
        return path

    def face(self, position):
        x, y = card_rect(position)
        # The bottom-left pixel keeps the back's colour: every face crop is exact.
        data = sh("import", "-window", "root", "-crop",
                  f"{CARD_W}x{CARD_H}+{self.ox + x}+{self.oy + y}", "rgb:-")
        return hashlib.sha1(data).hexdigest()

    def turn(self, position):
        x, y = card_rect(position)
        self.click(x + 45, y + 40)
        time.sleep(0.2)
        return self.face(position)

    def celebrate(self, label):
        time.sleep(0.5)
        self.shot(f"celebration-{label}")
        if self.watch:
            # A burst of shots shows the frames advancing; then the 7 s end it.
            start = time.monotonic()
            for i in range(12):
                time.sleep(0.25)
                self.shot(f"celebration-{label}-{i:02d}")
            time.sleep(max(0.0, 7.2 - (time.monotonic() - start) - 0.5))
        else:
            self.click(409, 288)
        time.sleep(0.3)

    def play(self):
        sh("xdotool", "windowfocus", self.wid)
        time.sleep(0.2)
        sh("xdotool", "key", "Return")
        time.sleep(0.5)
        back = self.face(1)
        self.shot("game-page")
        known, found = {}, set()
        pairs = 0
        while pairs < 10:
            pair = next(((p, q) for p in known for q in known if p < q and known[p] == known[q]), None)
            if pair:
                first, mate = pair
                self.turn(first)
                self.turn(mate)
            else:
                first = next(p for p in range(1, 21) if p not in found and p not in known)
                h = self.turn(first)
                mate = next((p for p, v in known.items() if v == h), None)
                if mate is None:
                    second = next(p for p in range(1, 21)
                                  if p not in found and p not in known and p != first)
                    h2 = self.turn(second)
                    if h2 != h:
                        self.shot(f"wrong-{first}-{second}")
                        known[first], known[second] = h, h2
                        time.sleep(1.6)
                        assert self.face(first) == back, "a wrong pair must close"
                        continue
                    mate = second
                else:
                    self.turn(mate)
            pairs += 1
            found |= {first, mate}
            known.pop(first, None)
            known.pop(mate, None)
            self.celebrate(pairs)
        time.sleep(0.5)
        return self.shot("results-page")


if __name__ == "__main__":
    ap = argparse.ArgumentParser()
    ap.add_argument("--shots", default="/tmp/play")
    ap.add_argument("--watch", action="store_true", help="let each celebration run its 7 s")
    args = ap.parse_args()
    print(Player(args.shots, args.watch).play())
