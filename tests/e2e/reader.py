"""A player who does not see the screen: reads the game as a screen reader does, through the
accessibility tree (AT-SPI), acts only through the press actions it offers, and remembers each
face by the name a card says when it turns over.

It needs a D-Bus session of its own (e2e.py runs the case under dbus-run-session), at-spi2-core
and python3-pyatspi for this interpreter (Debian's /usr/bin/python3).
"""
import os
import re
import sys

from session import CARDS, Skip, check, wait_for

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
CARD_NAME = re.compile(r"Карта (\d+), (закрыта|открыта|найдена)(?:: (.+))?")


class Reader:
    def __init__(self):
        if not os.path.exists(BUS_LAUNCHER):
            raise Skip("at-spi2-core not installed (packaging/debian-packages.txt lists it)")
        try:
            import pyatspi
            from gi.repository import GLib
        except ImportError as e:
            raise Skip(f"python3-pyatspi not installed for {sys.executable} ({e}); "
                       "packaging/debian-packages.txt lists it")
        self.atspi, self.context = pyatspi, GLib.MainContext.default()
        self.heard = []  # every name a name change told, in order
        # Listening before the game starts, as a screen reader already runs when it does; this
        # also starts the accessibility bus.
        pyatspi.Registry.registerEventListener(
            lambda e: self.heard.append(e.any_data) if isinstance(e.any_data, str) else None,
            "object:property-change:accessible-name")
        self.app = None

    def until(self, condition, timeout, what):
        """Waits for `condition`, taking the events that arrive meanwhile."""
        def step():
            while self.context.iteration(False):
                pass
            return condition()
        return wait_for(step, timeout, what)

    def attach(self, pid):
        desktop = self.atspi.Registry.getDesktop(0)
        self.app = self.until(lambda: next((a for a in desktop
                                            if a and a.get_process_id() == pid), None),
                              30, "the game in the accessibility tree")

    def shown(self, role, name=None, under=None):
        """The objects of a role (and name) that the window shows now, in reading order."""
        found = []

        def walk(acc):
            if not acc.getState().contains(self.atspi.STATE_SHOWING):
                return
            if acc.getRoleName() == role and name in (None, acc.name):
                found.append(acc)
            for i in range(acc.childCount):
                walk(acc.getChildAtIndex(i))
        walk(under or self.app)
        return found

    def press(self, acc):
        action = acc.queryAction()
        check(action.getName(0) == "Press", f"{acc.name!r} offers no press")
        action.doAction(0)

    def cards(self):
        return {int(CARD_NAME.fullmatch(b.name)[1]): b for b in self.shown("push button")
                if CARD_NAME.fullmatch(b.name)}

    def told(self, position, since, states):
        """The first state and face heard for a card since `since` among `states`."""
        for name in self.heard[since:]:
            m = CARD_NAME.fullmatch(name)
            if m and int(m[1]) == position and m[2] in states:
                return m[2], m[3]
        return None

    def turn(self, cards, position, states):
        since = len(self.heard)
        self.press(cards[position])
        return self.until(lambda: self.told(position, since, states), 15,
                          f"card {position} to say it is {' or '.join(states)}")

    def play(self, name):
        """From the start page to the results page: types the name, starts, finds the ten pairs
        and ends each celebration. Returns how many faces it learnt from a wrong pair's second
        card while that card was open."""
        box = self.until(lambda: self.shown("text", "Введите имя"), 30, "the name box")[0]
        box.queryEditableText().setTextContents(name)
        self.press(self.shown("push button", "Старт")[0])
        cards = self.until(lambda: len(self.cards()) == CARDS and self.cards(), 20,
                           "twenty cards on the game page")
        known, found, learnt = {}, set(), 0
        while len(found) < CARDS:
            unknown = sorted(set(cards) - found - set(known))
            first = next((p for p, f in sorted(known.items())
                          if list(known.values()).count(f) == 2), None) or unknown[0]
            known[first] = self.turn(cards, first, ("открыта",))[1]
            mate = next((p for p, f in known.items() if p != first and f == known[first]),
                        None) or min(set(unknown) - {first})
            since = len(self.heard)
            _, face = self.turn(cards, mate, ("открыта", "найдена"))
            outcome, _ = self.until(lambda: self.told(mate, since, ("найдена", "закрыта")), 15,
                                    f"cards {first} and {mate} to be found or closed")
            if outcome == "закрыта":
                check(mate not in known, f"cards {first} and {mate} said one face, no pair")
                known[mate] = face
                learnt += 1
                continue
            found |= {first, mate}
            known.pop(first), known.pop(mate, None)
            celebration = self.until(lambda: self.shown("animation"), 10, "the celebration")[0]
            check(celebration.name == f"Найдена пара: {face}",
                  f"the celebration says {celebration.name!r} for the pair of {face!r}")
            self.press(celebration)
            self.until(lambda: not self.shown("animation"), 10, "the celebration to end")
        check(not [n for n in self.heard if n.startswith("Осталось времени")],
              "the clock was announced")
        return learnt
