"""Plays the running game through the X server as a player would, for the whole-game memory and
the click-to-face benchmarks: XTest clicks and keys, faces read from screen grabs.

The approach of tools/play/xvfb_play.py, on a direct Xlib connection instead of xdotool and
ImageMagick, so that one grab of a card is one round trip of well under a millisecond.
"""
import time

import xbench


class GameOver(Exception):
    """The game left the game page (the clock ran out, or the last pair was found)."""


class GameDriver:
    def __init__(self, display, program, timeout_s=30.0):
        self.d = display
        self.program = program
        _, self.window = display.wait_map(program.pid, timeout_s, program.alive)
        # The window is centred by a move after it is shown: read its place once that has settled.
        time.sleep(1.0)
        self.ox, self.oy = display.geometry(self.window)[:2]
        self.backs = {}

    def rect(self, position):
        x, y = xbench.card_rect(position)
        return self.ox + x, self.oy + y, xbench.CARD_W, xbench.CARD_H

    def card(self, position):
        return self.d.grab(*self.rect(position))

    def start_game(self):
        """Enter on the start page; remembers every card's back once the game page shows."""
        self.d.focus(self.window)
        self.d.key_return()
        time.sleep(1.0)
        self.backs = {p: self.card(p) for p in range(1, 21)}
        if len(set(self.backs.values())) > 2:
            raise RuntimeError("the game page does not show twenty card backs")

    def press(self, position):
        x, y, w, h = self.rect(position)
        self.d.move(x + w // 2, y + h // 2)
        self.d.button(True)
        self.d.sync()

    def timed_turn(self, position, interval_ms=1.0, timeout_s=5.0):
        """Clicks a closed card and grabs its rectangle until it no longer shows the back.

        Press, a 30 ms hold (the press alone must not change the card), then the release, after
        which the game turns the card. Returns (lower, upper, face): the face reached the screen
        after the server answered the last grab that still showed the back (sent `lower` ms after
        the release) and before the first grab that showed something else came back (`upper`);
        face is a digest of that grab, taken before a celebration can cover the card."""
        back = self.backs[position]
        rect = self.rect(position)
        self.press(position)
        time.sleep(0.03)
        if self.d.grab(*rect) != back:
            raise RuntimeError(f"card {position} changed on the press alone")
        released = xbench.now_ms()
        self.d.button(False)
        sent = released
        while True:
            start = xbench.now_ms()
            pixels = self.d.grab(*rect)
            end = xbench.now_ms()
            if pixels != back:
                return sent - released, end - released, xbench.digest(pixels)
            if end - released > timeout_s * 1000:
                raise GameOver(f"card {position} still shows its back {timeout_s} s after a click")
            sent = start
            if interval_ms > 0:
                time.sleep(interval_ms / 1000)

    def turn(self, position):
        """Clicks a closed card and returns its face (a digest of its pixels once drawn)."""
        return self.timed_turn(position)[2]

    def closes(self, positions, timeout_s=3.0):
        """Whether every card named shows its back within the time: a wrong pair closes after
        its pause and shutter; a found pair stays open (or under its celebration)."""
        deadline = time.monotonic() + timeout_s
        while time.monotonic() < deadline:
            if all(self.card(p) == self.backs[p] for p in positions):
                return True
            time.sleep(0.02)
        return False

    def wait_backs(self, positions, timeout_s=15.0):
        """Until every card named shows its back again (a closed wrong pair, a celebration over
        the board gone)."""
        if not self.closes(positions, timeout_s):
            raise GameOver(f"cards {sorted(positions)} did not show their backs in {timeout_s} s")

    def click_client(self, x, y):
        self.d.click(self.ox + x, self.oy + y)
