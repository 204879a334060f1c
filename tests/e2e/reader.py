"""A player who does not see the screen: reads the game through the accessibility tree (AT-SPI)
as a screen reader does, acts only through its press actions, and learns each face from the
name a card says as it turns. Needs a D-Bus session of its own, at-spi2-core and python3-pyatspi
for this interpreter (Debian's /usr/bin/python3).
"""
import os
import re
import sys

from session import CARDS, Skip, check, wait_for

CARD = re.compile(r"Карта (\d+), (закрыта|открыта|найдена)(?:: (.+))?")


class Reader:
    def __init__(self):
        try:
            import pyatspi
            from gi.repository import GLib
        except ImportError as e:
            raise Skip(f"python3-pyatspi not installed for {sys.executable} ({e}); "
                       "packaging/debian-packages.txt lists it")
        if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
            raise Skip("at-spi2-core not installed (packaging/debian-packages.txt lists it)")
        self.atspi, self.context, self.app = pyatspi, GLib.MainContext.default(), None
        self.heard = []  # the names that name changes told, in order
        # Listening before the game starts, as a screen reader does (this starts the bus).
        pyatspi.Registry.registerEventListener(
            lambda e: isinstance(e.any_data, str) and self.heard.append(e.any_data),
            "object:property-change:accessible-name")

    def until(self, condition, timeout, what):
        """Waits for `condition`, taking in the events that arrive meanwhile."""
        def step():
            while self.context.iteration(False):
                pass
            return condition()
        return wait_for(step, timeout, what)

    def attach(self, game):
        desktop = self.atspi.Registry.getDesktop(0)

        def app():
            check(game.running(), f"the game ended ({game.state()})\n{game.log()}")
            # Asked afresh each time: the list kept from events can miss an application that
            # came after another one ended.
            desktop.clearCache()
            return next((a for a in desktop if a and a.get_process_id() == game.proc.pid), None)
        self.app = self.until(app, 30, "the game in the accessibility tree")

    def shown(self, role, name=None, acc=None):
        """What the window shows now of a role (and name), in reading order."""
        acc = acc or self.app
        if not acc.getState().contains(self.atspi.STATE_SHOWING):
            return []
        found = [acc] if acc.getRoleName() == role and name in (None, acc.name) else []
        return found + [a for i in range(acc.childCount)
                        for a in self.shown(role, name, acc.getChildAtIndex(i))]

    def press(self, acc):
        check(acc.queryAction().getName(0) == "Press", f"{acc.name!r} offers no press")
        acc.queryAction().doAction(0)

    def turn(self, cards, position):
        since = len(self.heard)
        self.press(cards[position])
        return since

    def said(self, position, since, states):
        """Waits until the card has said one of `states` since `since`: that state, its face."""
        def told():
            said = [CARD.fullmatch(n) for n in self.heard[since:]]
            return next(((m[2], m[3]) for m in said
                         if m and int(m[1]) == position and m[2] in states), None)
        return self.until(told, 15, f"card {position} to say it is {' or '.join(states)}")

    def play(self, name):
        """Types the name, starts and finds the ten pairs, ending each celebration. Returns how
        many faces it heard from a wrong pair's second card, shown only until the shutter."""
        box = self.until(lambda: self.shown("text", "Введите имя"), 30, "the name box")[0]
        box.queryEditableText().setTextContents(name)
        self.press(self.shown("push button", "Старт")[0])
        cards = self.until(lambda: [c for c in self.shown("push button") if CARD.fullmatch(c.name)],
                           20, "the cards")
        check([c.name for c in cards] == [f"Карта {p}, закрыта" for p in range(1, CARDS + 1)],
              f"the game page reads {[c.name for c in cards]}")
        cards = dict(enumerate(cards, 1))
        known, found, heard = {}, set(), 0
        while len(found) < CARDS:
            unknown = sorted(set(cards) - found - set(known))
            first = next((p for p, f in sorted(known.items())
                          if list(known.values()).count(f) == 2), None) or unknown[0]
            known[first] = self.said(first, self.turn(cards, first), ("открыта",))[1]
            mate = next((p for p, f in known.items() if p != first and f == known[first]),
                        None) or min(set(unknown) - {first})
            since = self.turn(cards, mate)
            face = self.said(mate, since, ("открыта",))[1]
            if self.said(mate, since, ("найдена", "закрыта"))[0] == "закрыта":
                check(mate not in known, f"cards {first} and {mate} said one face, no pair")
                known[mate], heard = face, heard + 1
                continue
            found |= {first, mate}
            known = {p: f for p, f in known.items() if p not in found}
            party = self.until(lambda: self.shown("animation"), 10, "the celebration")[0]
            check(party.name == f"Найдена пара: {face}", f"{party.name!r} for the pair of {face}")
            self.press(party)
            self.until(lambda: not self.shown("animation"), 10, "the celebration to end")
        check(not [n for n in self.heard if "времени" in n], "the clock was announced")
        return heard
