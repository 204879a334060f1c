"""A player with a perfect memory: turns cards with the mouse, learns each face from the screen,
and plays the pairs it knows.

A face is told from the back, and from a frame of the shutter, by rows 4 to 9: the shutter
strip, at least 10 pixels high, shows the back's top rows there, and every face differs from the
back in them (the top four rows are the window frame that backs and faces share).
"""
import os
import time

from session import (CARDS, CARD_H, CARD_W, CELEBRATION, CELEBRATION_BAND, CELEBRATION_CLICK, Failure,
                     card_origin, check, wait_for)

FACE_ROWS = slice(4 * 3 * CARD_W, 10 * 3 * CARD_W)  # rows 4 to 9 of a card, as bytes

# Generous limits for what takes milliseconds on an idle machine.
TURN_LIMIT = 15
CLICK_END_LIMIT = 5  # a clicked celebration ends this soon; the timer's end comes at 7 s


class Player:
    def __init__(self, game, shots=None):
        self.game = game
        self.shots = shots
        self.n_shots = 0
        self.back = self.band = None
        self.known = {}  # position -> face (its pixels)
        self.found = set()
        # Per wrong pair: seconds from the second click until both backs showed, and the heights
        # of the shutter strip seen on the way.
        self.wrong_pairs = []
        self.celebrations = []  # dicts: how it ended, seconds shown, distinct frames seen
        self.clock_stopped = 0.0  # seconds of play in pauses and celebrations
        self.started = self.last_match = None

    def shot(self, name):
        if self.shots:
            self.n_shots += 1
            self.game.shot(os.path.join(self.shots, f"{self.n_shots:03d}-{name}.png"))

    # Pages

    def start(self):
        """Enter on the start page; waits for the game page with every card face down."""
        # A player presses Enter once the window shows it has the focus; a key sent sooner
        # can reach the program before the focus does.
        self.game.focus()
        wait_for(self.game.name_selected, 10, "the start page to show the name selected")
        self.game.key("Return")
        self.started = time.monotonic()
        wait_for(self.game.on_game_page, 20, "the game page after Enter")

        def dealt():
            first = self.game.card(1)
            return first if all(self.game.card(p) == first for p in range(2, CARDS + 1)) \
                else None
        self.back = wait_for(dealt, 10, "twenty cards showing one back")
        self.band = self.game.pixels(*CELEBRATION_BAND)
        self.shot("game-page")

    def celebrating(self):
        # The last one ends on the results page, where the band shows something else again.
        return self.game.pixels(*CELEBRATION_BAND) != self.band and self.game.on_game_page()

    def is_face(self, pixels):
        return pixels[FACE_ROWS] != self.back[FACE_ROWS]

    def describe(self):
        return f"found {sorted(self.found)}, known {sorted(self.known)}"

    # Turns

    def turn_first(self, position):
        self.game.click(*self.centre(position))
        def face():
            seen = self.game.card(position)
            return seen if self.is_face(seen) else None
        return wait_for(face, TURN_LIMIT, f"card {position} to show a face ({self.describe()})")

    def turn_second(self, position, first, first_face):
        """'match' (a celebration shows) or 'wrong' (both cards closed again), and the face
        seen on the card meanwhile (None when the shutter came before a look)."""
        self.game.click(*self.centre(position))
        clicked = time.monotonic()
        face, heights = None, set()
        deadline = clicked + TURN_LIMIT
        while time.monotonic() < deadline:
            if self.celebrating():
                self.clock_stopped += time.monotonic() - clicked
                return "match", face
            seen, seen_first = self.game.card(position), self.game.card(first)
            if self.is_face(seen):
                face = face or seen
            for pixels, its_face in ((seen, face), (seen_first, first_face)):
                height = self.shutter_height(pixels, its_face)
                if height:
                    heights.add(height)
            if seen == self.back and seen_first == self.back:
                closed = time.monotonic() - clicked
                self.clock_stopped += closed
                self.wrong_pairs.append((closed, heights))
                return "wrong", face
            time.sleep(0.005)
        self.shot(f"stuck-{first}-{position}")
        raise Failure(f"after turning {first} and {position} neither a celebration nor both "
                      f"backs showed within {TURN_LIMIT} s ({self.describe()})")

    def shutter_height(self, pixels, face):
        """The height of the shutter strip when `pixels` show it over `face`: the back's top
        rows down to there, the face below. None for anything else."""
        if face is None or pixels in (face, self.back):
            return None
        row = 3 * CARD_W
        height = next(h for h in range(CARD_H + 1)
                      if h == CARD_H or pixels[h * row:(h + 1) * row] != self.back[h * row:(h + 1) * row])
        if height >= 10 and pixels[height * row:] == face[height * row:]:
            return height
        return None

    @staticmethod
    def centre(position):
        x, y = card_origin(position)
        return x + 45, y + 40

    # Celebrations

    def celebrate(self, ends_by_itself):
        shown = time.monotonic()
        self.shot(f"celebration-{len(self.celebrations) + 1}")
        frames = {self.game.pixels(*CELEBRATION)}
        if ends_by_itself:
            # Frames advance while it plays; the 7-second timer ends it.
            while self.celebrating():
                frames.add(self.game.pixels(*CELEBRATION))
                check(time.monotonic() - shown < 15,
                      "a celebration left alone still showed after 15 s")
                time.sleep(0.2)
            ended = time.monotonic()
            record = dict(end="timer", shown=ended - shown, frames=len(frames))
        else:
            self.game.click(*CELEBRATION_CLICK)
            clicked = time.monotonic()
            wait_for(lambda: not self.celebrating(), CLICK_END_LIMIT,
                     "a clicked celebration to end")
            ended = time.monotonic()
            record = dict(end="click", shown=ended - shown, after_click=ended - clicked,
                          frames=len(frames))
        self.clock_stopped += ended - shown
        self.celebrations.append(record)
        return record

    # A game

    def next_pair(self):
        faces = {}
        for position, face in sorted(self.known.items()):
            if face in faces:
                return faces[face], position
            faces[face] = position
        return None

    def unknown(self, besides=()):
        return next(p for p in range(1, CARDS + 1)
                    if p not in self.found and p not in self.known and p not in besides)

    def find_pair(self):
        """Turns cards until a pair matches; returns its positions while its celebration
        shows."""
        while True:
            pair = self.next_pair()
            if pair:
                first, mate = pair
                face = self.turn_first(first)
                outcome, _ = self.turn_second(mate, first, face)
                check(outcome == "match",
                      f"cards {first} and {mate} showed one face but did not match")
            else:
                first = self.unknown()
                self.known[first] = self.turn_first(first)
                mate = next((p for p, f in self.known.items()
                             if p != first and f == self.known[first]), None)
                if mate is None:
                    mate = self.unknown(besides=(first,))
                    outcome, face = self.turn_second(mate, first, self.known[first])
                    if outcome == "wrong":
                        if face is not None:
                            self.known[mate] = face
                        continue
                else:
                    outcome, _ = self.turn_second(mate, first, self.known[first])
                    check(outcome == "match",
                          f"cards {first} and {mate} showed one face but did not match")
            self.known.pop(first, None)
            self.known.pop(mate, None)
            self.found |= {first, mate}
            self.last_match = time.monotonic()
            return first, mate

    def play_to_end(self, self_ending=(1,)):
        """Finds all ten pairs. The celebrations numbered in `self_ending` are left to end by
        themselves, every other one is ended by a click on it."""
        while len(self.found) < CARDS:
            first, mate = self.find_pair()
            number = len(self.found) // 2
            self.celebrate(ends_by_itself=number in self_ending)
            if number < CARDS // 2:
                # The pair stays face up, both cards showing the same face.
                a, b = self.game.card(first), self.game.card(mate)
                check(self.is_face(a) and a == b,
                      f"found pair {first}, {mate} does not show one face after its celebration")
        check(self.wrong_pairs, "the game had no wrong pair to close")
        check(any(heights for _, heights in self.wrong_pairs),
              "no wrong pair was seen closing under the shutter strip")


class Keyboard:
    """The game as a player without a mouse meets it: a click on a card becomes the arrow keys to
    it and Space, a click on the celebration Space; each card is read without the border of 5
    pixels that the focus mark covers (left blank on every card alike)."""

    def __init__(self, game):
        self.game, self.marked = game, None

    def __getattr__(self, name):
        return getattr(self.game, name)

    def click(self, x, y):
        if (x, y) == CELEBRATION_CLICK:
            return self.game.key("space")
        to = next(p for p in range(1, CARDS + 1) if Player.centre(p) == (x, y))
        # The first arrow key of a game shows the focus on card 1; the others move it.
        keys, at = (["Left"], 1) if self.marked is None else ([], self.marked)
        (r0, c0), (r1, c1), self.marked = divmod(at - 1, 5), divmod(to - 1, 5), to
        keys += ["Down"] * (r1 - r0) + ["Up"] * (r0 - r1) + ["Right"] * (c1 - c0)
        self.game.key(*keys, *["Left"] * (c0 - c1), "space")

    def card(self, position):
        pixels, row, edge = bytearray(self.game.card(position)), 3 * CARD_W, 3 * 5
        for y in range(CARD_H):
            line = slice(y * row, (y + 1) * row) if y < 5 or y >= CARD_H - 5 else None
            for part in [line] if line else [slice(y * row, y * row + edge),
                                             slice((y + 1) * row - edge, (y + 1) * row)]:
                pixels[part] = bytes(part.stop - part.start)
        return bytes(pixels)
