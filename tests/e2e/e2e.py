#!/usr/bin/python3
"""End-to-end cases: the real game on an X server of its own, played as a player plays it, and
on a Wayland compositor of its own (weston, headless), driven through the accessibility tree.

    e2e.py --game build/bin/mnemira --reference-box build/bin/mnemira_reference_box
           --hint-probe build/bin/mnemira_hint_probe --png-pixels build/bin/mnemira_png_pixels CASE

Each case starts Xvfb on a free display, runs the game in a scratch folder and judges only what
a player sees on the screen and what lands in hits.dat. Exit code 0: passed; 1: failed (the
scratch folder with screenshots and logs is kept and named); 77: skipped (Xvfb or xdotool
missing, or this user cannot be denied a file; for the cases that read the accessibility tree,
dbus-run-session, at-spi2-core or python3-pyatspi missing; weston for the Wayland ones).
"""
import argparse
import ctypes
import datetime
import os
import random
import re
import resource
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import threading
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play import Keyboard, Player  # noqa: E402
from orca import Orca  # noqa: E402
from reader import Reader  # noqa: E402
from xdisplay import write_png  # noqa: E402
from session import (CARDS, EXIT_SKIP, Failure, Game, ReferenceBoxes, Skip, XServer, check,  # noqa: E402
                     qt_environment, require_tools, child_setup, wait_for, xdotool)
import wayland  # noqa: E402

NAME = "Новый игрок"
RECORD = 83
CASE_LIMIT = 200  # seconds; CTest's own limit is higher, so the harness still cleans up
EXIT_LIMIT = 5  # seconds from a close request that is not refused to the end of the process


# hits.dat records

def record(name, time_text, date):
    """An 83-byte record: three length-prefixed Windows-1251 fields of 30, 30 and 20."""
    out = b""
    for text, capacity in ((name, 30), (time_text, 30), (date, 20)):
        raw = text.encode("cp1251")
        out += bytes([len(raw)]) + raw.ljust(capacity, b"\0")
    return out


def fields(rec):
    """The three texts of a record, as its length bytes say."""
    check(len(rec) == RECORD, f"a record of {len(rec)} bytes")
    out = []
    for offset, capacity in ((0, 30), (31, 30), (62, 20)):
        length = rec[offset]
        check(length <= capacity, f"length byte {length} at offset {offset} exceeds {capacity}")
        out.append(rec[offset + 1:offset + 1 + length].decode("cp1251"))
    return out


OLD_RECORDS = (record(NAME, "2:00:00", "01.01.2020 10:00:00")
               + record(NAME, "3:30:00", "02.01.2020 11:00:00"))


def read(path):
    with open(path, "rb") as f:
        return f.read()


# Being denied a file

CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER = 1, 2, 3
PR_CAPBSET_DROP = 24


def as_player():
    """preexec_fn under which the file modes hold: root ignores them, so a root harness runs
    the game without the capabilities that let it (CI runs as root)."""
    if os.geteuid() != 0:
        return None
    libc = ctypes.CDLL(None, use_errno=True)

    def drop():
        for cap in (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER):
            if libc.prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0:
                raise OSError(ctypes.get_errno(), "prctl(PR_CAPBSET_DROP)")
    return drop


def require_denied(code, what):
    """Skips unless `code` (Python) fails with PermissionError for a process like the game's."""
    try:
        result = subprocess.run([sys.executable, "-c", code], preexec_fn=as_player(),
                                capture_output=True, text=True)
    except (OSError, subprocess.SubprocessError) as e:
        raise Skip(f"cannot drop root's file capabilities here ({e})")
    if "PermissionError" not in result.stderr:
        raise Skip(f"{what} is not denied to this user, so the fault cannot be made")


# The cases

class Case:
    def __init__(self, args, name, scale=1):
        self.args, self.name, self.scale = args, name, scale
        self.root = tempfile.mkdtemp(prefix=f"mnemira-e2e-{name}-")
        self.logs = self.folder("logs", mode=0o700)  # also the game's XDG_RUNTIME_DIR
        self.shots = self.folder("shots")
        self.server = XServer(self.logs, scale)
        self.compositor = self.orca = None
        self.refs = ReferenceBoxes(self.server, args.reference_box, self.logs)
        self.games = []
        self.notes = []

    def folder(self, name, mode=0o755):
        path = os.path.join(self.root, name)
        os.mkdir(path, mode)
        return path

    def game(self, workdir, preexec_fn=None, env=None, server=None):
        g = Game(server or self.server, self.args.game, workdir, self.logs, preexec_fn,
                 name=f"game{len(self.games) + 1}", extra_env=env)
        self.games.append(g)
        return g

    def wayland(self):
        """A Wayland session at the case's scale, beside the X server."""
        self.compositor = wayland.Weston(self.logs, self.scale, self.args.png_pixels)
        return self.compositor

    def note(self, text):
        self.notes.append(text)
        print(f"  {text}", flush=True)

    def expect_box(self, game, text):
        game.expect_box(self.refs, text, shots=self.shots)
        self.note(f"box {text!r} shown and closed with Return")

    def closes_cleanly(self, game):
        game.close()
        rc = game.wait_exit(EXIT_LIMIT)
        check(rc == 0, f"the game exited with {rc} after the close request\n{game.log()}")

    def closes_on_second_request(self, game):
        """Closing with the results file never opened: the close reports the error and is
        abandoned; a second request reports it again and closes."""
        game.close()
        self.expect_box(game, "I/O error 103.")
        # A close that went ahead would end the process right after the box.
        try:
            game.proc.wait(1)
        except subprocess.TimeoutExpired:
            pass
        check(game.running() and game.x.viewable(game.wid),
              "the window closed although closing the results file failed")
        self.note("first close request: refused, window stays open")
        game.close()
        self.expect_box(game, "I/O error 103.")
        rc = game.wait_exit(EXIT_LIMIT)
        check(rc == 0, f"the game exited with {rc} on the second close request")
        self.note("second close request: closes, exit code 0")

    def finish(self, passed, keep=False):
        if not passed:
            try:
                x = self.server.display
                write_png(os.path.join(self.shots, "screen-at-failure.png"), x.width, x.height,
                          x.pixels(0, 0, x.width, x.height))
            except Exception as e:  # the screen is a help, not the verdict
                print(f"no screenshot of the failure: {e}")
        states = [g.state() for g in self.games]
        for g in self.games:
            g.kill()
        self.server.stop()
        for stoppable in (self.compositor, self.orca):
            if stoppable:
                stoppable.stop()
        if passed and not keep:
            for path, dirs, _ in os.walk(self.root):
                for d in dirs:
                    os.chmod(os.path.join(path, d), 0o755)
            shutil.rmtree(self.root, ignore_errors=True)
        else:
            print(f"screenshots and logs kept in {self.root}")
            for g, state in zip(self.games, states) if not passed else ():
                log = g.log().strip()
                if state != "exited with 0" or log:
                    name = os.path.basename(g.log_path)[:-len(".log")]
                    print(f"--- {name} (pid {g.proc.pid}): {state}\n{log}")


def start_page_to_game(game, shots):
    game.wait_window()
    player = Player(game, shots)
    player.start()
    return player


def check_record(new, name, before, after=None):
    """A won game's record: the name, a time M:SS:HH and the date it ended; its three texts."""
    texts = fields(new)
    check(texts[0] == name and re.fullmatch(r"\d:\d\d:\d\d", texts[1])
          and re.fullmatch(r"\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d", texts[2]),
          f"record {texts} is not {name!r}, M:SS:HH, dd.MM.yyyy HH:mm:ss")
    when = datetime.datetime.strptime(texts[2], "%d.%m.%Y %H:%M:%S")
    check(before <= when <= (after or datetime.datetime.now()),
          f"date {texts[2]} is not the time the game ended")
    return texts


def the_one_record(work, name, before):
    data = read(os.path.join(work, "hits.dat"))
    check(len(data) == RECORD, f"hits.dat holds {len(data)} bytes, not one record")
    return check_record(data, name, before)


def case_won_game(c):
    """A whole won game: a wrong pair closed by the shutter, a celebration left to end by itself
    and the others ended by a click, the results page with the new record, the close box, and
    the record's bytes."""
    work = c.folder("work")
    hits = os.path.join(work, "hits.dat")
    with open(hits, "wb") as f:
        f.write(OLD_RECORDS)
    game = c.game(work)
    game.wait_window()
    # With no window manager there is no frame: the inside is centred (once the program has
    # moved its window there; it may be shown a moment before).
    screen = c.server.display
    centred = ((screen.width - 800) // 2, (screen.height - 600) // 2)
    wait_for(lambda: screen.geometry(game.wid)[:2] == centred, 10,
             f"the unframed window to lie centred at {centred}")
    before = datetime.datetime.now().replace(microsecond=0)
    player = Player(game, c.shots)
    player.start()
    player.play_to_end(self_ending=(1,))
    wait_for(game.on_results_page, 20, "the results page after the last celebration")
    game_over = time.monotonic()
    after = datetime.datetime.now()
    played = game_over - player.started
    closing = [t for t, _ in player.wrong_pairs]
    heights = sorted(set().union(*(h for _, h in player.wrong_pairs)))
    c.note(f"won in {played:.1f} s: {len(closing)} wrong pairs closed by the shutter "
           f"({min(closing):.2f}-{max(closing):.2f} s until both backs showed; strip seen "
           f"{heights} px high over a face)")

    timed, *clicked = player.celebrations
    c.note(f"celebration 1 left alone: ended after {timed['shown']:.2f} s, "
           f"{timed['frames']} distinct frames seen")
    check(timed["end"] == "timer" and 5.5 <= timed["shown"] <= 12,
          f"a celebration left alone ended after {timed['shown']:.2f} s, not about 7 s")
    check(timed["frames"] >= 3, f"the celebration showed only {timed['frames']} pictures")
    check(all(r["end"] == "click" for r in clicked), "not every other celebration was clicked")
    c.note(f"celebrations 2-10 clicked: each ended within "
           f"{max(r['after_click'] for r in clicked):.3f} s of the click")

    # The results page: the two old rows, then the new one, then nothing.
    game.wait_results_rows(3)
    game.shot(os.path.join(c.shots, "results.png"))
    check(game.list_cell(2, "name") == game.list_cell(1, "name"),
          f"the new row's name cell does not show {NAME!r} as the old rows do")
    check(game.list_cell(2, "time") not in (game.list_cell(0, "time"), game.list_cell(1, "time")),
          "the new row's time looks like an old row's")

    c.closes_cleanly(game)

    data = read(hits)
    check(len(data) == 3 * RECORD, f"hits.dat holds {len(data)} bytes, not {3 * RECORD}")
    check(data[:2 * RECORD] == OLD_RECORDS, "the records already in hits.dat changed")
    name, time_text, date = check_record(data[2 * RECORD:], NAME, before, after)
    m = re.fullmatch(r"(\d):(\d\d):(\d\d)", time_text)
    elapsed = int(m[1]) * 6000 + int(m[2]) * 100 + int(m[3])  # hundredths the clock counted
    # The clock counts one hundredth per 15 ms tick while it runs, never more, and loses ticks
    # only while the window is busy.
    running = played - player.clock_stopped
    most, least = played / 0.015 + 5, 0.25 * running / 0.015
    check(least <= elapsed <= most,
          f"time {time_text} does not fit {played:.1f} s of play with the clock running "
          f"{running:.1f} s (expected {least:.0f} to {most:.0f} ticks)")
    c.note(f"record 3: name {name!r}, time {time_text} ({running:.1f} s with the clock running), "
           f"date {date!r}; records 1-2 unchanged")


def case_keyboard_game(c):
    """A whole game won with the keyboard alone under a window manager: Enter starts it, the
    arrow keys move the card focus, Space turns the cards and ends every celebration."""
    c.server.start_window_manager(c.logs)
    work = c.folder("work")
    game = c.game(work)
    before = datetime.datetime.now().replace(microsecond=0)
    player = start_page_to_game(Keyboard(game), c.shots)
    player.play_to_end(self_ending=())
    wait_for(game.on_results_page, 20, "the results page after the last celebration")
    c.closes_cleanly(game)
    c.note(f"won with {len(player.wrong_pairs)} wrong pairs; record "
           f"{the_one_record(work, NAME, before)}")


def case_screen_reader_game(c, server=None):
    """A whole game won through the accessibility tree alone: the name typed into the box its
    label names, the cards turned by their press actions and faces learnt from the names they
    say, the celebrations ended by theirs, the results list read, the game left by "Выход".
    With a Wayland session as `server`, played there on Qt's wayland platform."""
    reader, name, work = Reader(), "Незрячий игрок", c.folder("work")
    game = c.game(work, env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}, server=server)
    reader.attach(game)
    before = datetime.datetime.now().replace(microsecond=0)
    heard = reader.play(name)
    check(heard, "no wrong pair's second face was heard before its shutter")
    table = reader.until(lambda: reader.shown("table"), 20, "the results list")[0].queryTable()
    row = [table.getAccessibleAt(0, column).name for column in range(3)]
    check(table.nRows == 1 and row[1] == name, f"the results list reads {row}")
    reader.press(reader.shown("push button", "Выход")[0])
    check(game.wait_exit(EXIT_LIMIT) == 0, "the game did not exit cleanly after \"Выход\"")
    name_, time_, date = the_one_record(work, name, before)
    check(row == [time_, name_, date], f"the list reads {row}, not the record")
    c.note(f"won, {heard} faces heard from a wrong pair's second card; list row {row}")


NAMED = re.compile(r"Карта \d+, (\w+): (.+?)(?: нажимаемая кнопка.*)?\.?$")


def case_orca_game(c):
    """A whole game with Orca itself, by keys alone, every card learnt from what Orca says: each
    face as its card turns (a wrong pair's second face before the shutter closes it again), a
    celebration's start with the counters and its end (by itself once, by Space after), the time
    and pairs left on the T key, and at the end the game's time and place among the records."""
    c.server.start_window_manager(c.logs)
    orca = c.orca = Orca(c.server.name, c.logs)
    game = c.game(c.folder("work"), env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    game.wait_window()

    def hear(pattern, *keys, timeout=10):
        mark = time.monotonic()
        game.key(*keys)
        return orca.wait_said(pattern, timeout, mark), mark

    hear("^Игрок: Новый игрок", "Return")
    hear(r"^уведомление Осталось времени: \d:\d\d:\d\d\. Осталось пар: 10\.", "t")
    at, known, found, delays = None, {}, set(), []

    def turn(p):
        nonlocal at
        keys, (r0, c0), (r1, c1) = [], divmod((at or 1) - 1, 5), divmod(p - 1, 5)
        keys = ["Left"] * (at is None) + ["Down"] * (r1 - r0) + ["Up"] * (r0 - r1) \
            + ["Right"] * (c1 - c0) + ["Left"] * (c0 - c1)
        at = p
        if keys:
            game.key(*keys)
        # Said as the name changes, or with the role where Orca presents the card anew.
        return hear(rf"^Карта {p}, (открыта|найдена): ", "space")

    while len(found) < CARDS:
        pair = [p for p in known if list(known.values()).count(known[p]) == 2][:2]
        unknown = [p for p in range(1, CARDS + 1) if p not in found and p not in known]
        first = pair[0] if pair else unknown[0]
        known[first] = NAMED.match(turn(first)[0][1])[2]
        mate = next((p for p in known if p != first and known[p] == known[first]), None) \
            or next(p for p in unknown if p != first)
        (t_open, said), mark = turn(mate)
        face = NAMED.match(said)[2]
        # Next the card says (as its name changes) that it is found, or, once its shutter is
        # down, closed.
        t_then, then = orca.wait_said(rf"^Карта {mate}, (найдена: [^.]+|закрыта)$", 10, t_open)
        if "закрыта" in then:
            # From Space, as Orca's record has it (its echo of the key), to the face.
            delays.append(t_open - orca.wait_said("^пробел", 1, mark)[0])
            check("открыта" in said and t_open < t_then,
                  f"card {mate}'s face was not said before its shutter closed: {said!r}")
            known[mate] = face
            continue
        found |= {first, mate}
        known.pop(first), known.pop(mate, None)
        orca.wait_said(rf"^уведомление Найдена пара: {face}\. Открыто пар: {len(found) // 2}\. "
                       rf"Осталось пар: {10 - len(found) // 2}\. Часы стоят", 10, mark)
        if len(found) == 2:  # the first celebration ends by itself
            orca.wait_said("^уведомление Часы снова идут", 15, mark)
        elif len(found) < CARDS:
            hear("^уведомление Часы снова идут", "space")
    (_, said), _ = hear(r"^уведомление Игра окончена\. Ваше время (\d:\d\d:\d\d), место 1 из 1",
                        "space")
    record = read(os.path.join(game.workdir, "hits.dat"))
    check(fields(record)[1] in said, f"Orca said {said!r}; the record's time is {fields(record)[1]}")
    c.note(f"won with Orca: {len(delays)} wrong pairs, their second face said "
           f"{min(delays):.3f}-{max(delays):.3f} s after Space, before the shutter; {said!r}")


def case_close_during_celebration(c):
    """The close box during a celebration, again and again: the program ends cleanly each time
    and writes no record."""
    work = c.folder("work")
    seed = c.args.seed if c.args.seed is not None else random.randrange(1 << 30)
    rng = random.Random(seed)
    exits = []
    for run in range(1, c.args.runs + 1):
        game = c.game(work)
        player = start_page_to_game(game, None)
        player.find_pair()
        time.sleep(rng.uniform(0.0, 1.5))
        check(player.celebrating(), f"run {run}: the celebration ended before the close")
        asked = time.monotonic()
        game.close()
        rc = game.wait_exit(EXIT_LIMIT)
        exits.append(time.monotonic() - asked)
        check(rc == 0, f"run {run}: the game exited with {rc} when closed during a celebration"
                       f"\n{game.log()}")
    check(read(os.path.join(work, "hits.dat")) == b"", "closing during a game wrote to hits.dat")
    c.note(f"{c.args.runs} closes during a celebration (seed {seed}): all exit code 0, "
           f"slowest exit {max(exits):.2f} s after the request; hits.dat still empty")


def play_and_fail_at_end(c, game, message):
    """Plays a whole game; its end shows `message` and leaves the window on the game page."""
    player = start_page_to_game(game, c.shots)
    player.play_to_end(self_ending=())
    c.expect_box(game, message)
    # The results page would have come before the box: the failed step is the last one run.
    check(game.on_game_page() and not game.on_results_page(),
          "the window left the game page although the game end failed")
    c.note("game end: the window stays on the game page")


def start_with_open_error(c, work):
    game = c.game(work, as_player())
    c.expect_box(game, "File access denied.")
    game.wait_window()
    c.note("start-up: the window shows after the box")
    return game


def lists_the_old_records(c, game, when):
    """A start with the two old records in hits.dat: no box, the results page lists both, and
    the close box ends the game cleanly."""
    game.wait_window()  # a box at start-up would come before the window
    check(not game.boxes(), f"a box showed at start-up {when}")
    game.click(448, 460)  # "Результаты"
    wait_for(game.on_results_page, 10, "the results page")
    game.wait_results_rows(2)
    c.closes_cleanly(game)


def case_fault_read_only_file(c):
    """hits.dat read-only: the open at start-up fails, a whole game's end cannot append, and
    the close reports that the file never opened."""
    work = c.folder("work")
    hits = os.path.join(work, "hits.dat")
    with open(hits, "wb") as f:
        f.write(OLD_RECORDS)
    os.chmod(hits, 0o444)
    require_denied(f"open({hits!r}, 'r+b')", "writing a read-only file")
    game = start_with_open_error(c, work)
    play_and_fail_at_end(c, game, "I/O error 103.")
    c.closes_on_second_request(game)
    check(read(hits) == OLD_RECORDS, "the records of a read-only hits.dat changed")
    c.note("hits.dat: the 166 bytes of its two records unchanged")


def case_fault_read_only_folder(c):
    """A folder the player may not write to: with no hits.dat there it cannot be created; an
    existing hits.dat in such a folder opens and reads as usual."""
    work = c.folder("work", mode=0o555)
    require_denied(f"open({os.path.join(work, 'probe')!r}, 'xb')", "creating a file in a "
                   "read-only folder")
    game = start_with_open_error(c, work)
    player = start_page_to_game(game, c.shots)
    check(player.is_face(player.turn_first(1)), "a card did not turn after the start-up error")
    c.note("the game goes on: Enter starts a game, a card turns")
    c.closes_on_second_request(game)
    check(os.listdir(work) == [], "something was created in the read-only folder")

    os.chmod(work, 0o755)
    with open(os.path.join(work, "hits.dat"), "wb") as f:
        f.write(OLD_RECORDS)
    os.chmod(work, 0o555)
    lists_the_old_records(c, c.game(work, as_player()), "with an existing hits.dat")
    check(read(os.path.join(work, "hits.dat")) == OLD_RECORDS, "hits.dat changed")
    c.note("existing hits.dat in a read-only folder: no box, two rows listed, closes with 0, "
           "file unchanged")


def case_fault_file_is_folder(c):
    """hits.dat is a folder: the open at start-up fails; the folder is left alone."""
    work = c.folder("work")
    hits = os.path.join(work, "hits.dat")
    os.mkdir(hits)
    with open(os.path.join(hits, "keep"), "wb") as f:
        f.write(b"kept")
    game = start_with_open_error(c, work)
    player = start_page_to_game(game, c.shots)
    check(player.is_face(player.turn_first(1)), "a card did not turn after the start-up error")
    c.note("the game goes on: Enter starts a game, a card turns")
    c.closes_on_second_request(game)
    check(stat.S_ISDIR(os.stat(hits).st_mode) and os.listdir(hits) == ["keep"]
          and read(os.path.join(hits, "keep")) == b"kept", "the folder hits.dat was changed")
    c.note("the folder hits.dat and its file unchanged")


def case_fault_disk_full(c):
    """The disk fills in the middle of the game-end append (a file size limit that cuts the
    record after 40 bytes): the player sees "Disk full.", the old records stay as they were,
    and the next start reads the file as the whole records it holds."""
    work = c.folder("work")
    hits = os.path.join(work, "hits.dat")
    with open(hits, "wb") as f:
        f.write(OLD_RECORDS)
    limit = len(OLD_RECORDS) + 40

    def small_disk():
        # Past the limit a write fails with EFBIG (the runtime's "Disk full") instead of the
        # signal that would end the process.
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

    game = c.game(work, small_disk)
    game.wait_window()
    play_and_fail_at_end(c, game, "Disk full.")
    c.closes_cleanly(game)
    c.note("close: no box, exit code 0")

    data = read(hits)
    check(data[:len(OLD_RECORDS)] == OLD_RECORDS, "the records already in hits.dat changed")
    tail = data[len(OLD_RECORDS):]
    check(len(tail) < RECORD, f"{len(tail)} bytes were appended although the append failed")
    c.note(f"hits.dat: the 166 bytes of its two records unchanged; {len(tail)} bytes of the "
           f"failed record left after them" + (f" ({tail[:12]!r}…)" if tail else ""))

    lists_the_old_records(c, c.game(work), "after the failed append")
    check(read(hits) == data, "reading the results changed hits.dat")
    c.note("next start: the results list shows the two whole records; file unchanged")


def case_frame_centred_under_wm(c):
    """Under a window manager the window's frame, not only its inside, is centred."""
    c.server.start_window_manager(c.logs)
    x = c.server.display
    game = c.game(c.folder("work"))
    game.wait_window()

    def frame():
        window = game.wid
        while (parent := x.parent(window)) not in (x.root, None):
            window = parent
        return x.geometry(window)

    def settled():
        # The frame is known once the window manager has framed the window; then its place
        # must hold still for a moment.
        if not x.cardinals(game.wid, "_NET_FRAME_EXTENTS"):
            return None
        first = frame()
        time.sleep(0.3)
        return first if frame() == first else None
    fx, fy, fw, fh = wait_for(settled, 15, "the framed window to settle")
    inside = x.geometry(game.wid)
    extents = x.cardinals(game.wid, "_NET_FRAME_EXTENTS")
    c.note(f"screen {x.width}x{x.height}, frame {fw}x{fh} at {fx},{fy} (extents l,r,t,b "
           f"{extents}), client {inside[2]}x{inside[3]} at {inside[0]},{inside[1]}")
    check(inside[2:] == (800, 600), f"the client area is {inside[2]}x{inside[3]}")
    want = ((x.width - fw) // 2, (x.height - fh) // 2)
    check((fx, fy) == want, f"the frame lies at {fx},{fy}, centred would be {want[0]},{want[1]}")
    c.closes_cleanly(game)


# The game on a Wayland compositor. The cases that type or click (won_game, keyboard_game,
# close_during_celebration, the faults) stay on X11, and so does the frame's place under a window
# manager: nothing outside weston's headless session can give it input, and a Wayland compositor
# places windows itself.

CLOCK_PANEL = (24, 26, 105, 25)  # the running clock, left out when game pages are compared


def masked(picture, rect, scale):
    w, h, rgb = picture
    rgb, (x, y, rw, rh) = bytearray(rgb), (v * scale for v in rect)
    for r in range(y, y + rh):
        rgb[3 * (w * r + x):3 * (w * r + x + rw)] = bytes(3 * rw)
    return w, h, bytes(rgb)


def x11_picture(c, pid, mask=None):
    """The window of process `pid` on the X server once two looks agree (hints included)."""
    size = (800 * c.scale, 600 * c.scale)
    x = c.server.display
    geo = wait_for(lambda: next((g for w, g in x.windows_named("Мнемира")
                                 if g[2:] == size and x.pid(w) == pid), None), 20, "the window")
    last = [None]

    def steady():
        time.sleep(0.05)
        now = (*size, x.pixels(*geo))
        now = masked(now, mask, c.scale) if mask else now
        same, last[0] = now == last[0], now
        return same
    wait_for(steady, 10, "the window to stop changing")
    return last[0]


def wayland_picture(c, weston, expected, name, mask=None):
    """Waits until weston's screen shows `expected` somewhere."""
    w, h, _ = expected
    seen = [None]

    def shown():
        screen = weston.screen()
        at = wayland.find(screen, expected)
        seen[0] = at and wayland.crop(screen, *at, w, h)
        seen[0] = seen[0] and (masked(seen[0], mask, c.scale) if mask else seen[0])
        return seen[0] == expected
    try:
        wait_for(shown, 15, f"weston to show the {name} as X11 does", interval=0.2)
    except Failure:
        write_png(os.path.join(c.shots, f"{name}-x11.png"), *expected)
        if seen[0]:
            write_png(os.path.join(c.shots, f"{name}-wayland.png"), *seen[0])
        raise


def pages(c, server, reader, look):
    """The start, results and game pages, reached through the accessibility tree: `look` at each."""
    work = c.folder(f"work{len(c.games)}")
    with open(os.path.join(work, "hits.dat"), "wb") as f:
        f.write(OLD_RECORDS)
    game = c.game(work, env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}, server=server)
    reader.attach(game)
    reader.until(lambda: reader.shown("push button", "Старт"), 30, "the start page")
    look(game, "start page")
    reader.press(reader.shown("push button", "Результаты")[0])
    reader.until(lambda: reader.shown("table"), 20, "the results page")
    look(game, "results page")
    reader.press(reader.shown("push button", "Играть")[0])
    reader.press(reader.until(lambda: reader.shown("push button", "Старт"), 20, "the start")[0])
    reader.until(lambda: len(reader.shown("push button")) == 20, 20, "the cards")
    look(game, "game page", CLOCK_PANEL)
    game.kill()


def hint(c, server, look):
    """mnemira_hint_probe rests its pointer over the results list: `look` at the hint."""
    with open(os.path.join(c.logs, "hint-probe.log"), "ab") as log:
        probe = subprocess.Popen([c.args.hint_probe], env=qt_environment(server, c.logs),
                                 stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=log,
                                 preexec_fn=child_setup())
    try:
        said = probe.stdout.readline().decode().split()
        check(said[:1] == ["hint"], f"the probe showed no hint (exit code {probe.poll()})")
        return look(probe, "hint"), [int(v) for v in said[1:5]]
    finally:
        probe.kill()
        probe.wait()


def case_wayland(c):
    """On weston at the case's scale, native (Qt's wayland platform): the three pages are
    those X11 draws at that scale, inside the window with the running clock left out, and the
    hint over the results list shows beside the pointer as on X11: same place, same pixels."""
    reader, scale = Reader(), c.scale
    xdotool(c.server.name, "mousemove", c.server.display.width, c.server.display.height)
    expected = {}
    pages(c, c.server, reader,
          lambda game, name, mask=None: expected.setdefault(name, x11_picture(c, game.proc.pid, mask)))
    x11_hint, (hx, hy, hw, hh) = hint(c, c.server, lambda p, _: x11_picture(c, p.pid))
    body = x11_hint[2][3 * (x11_hint[0] * (hy + 2) * scale + (hx + 2) * scale):][:3]
    check(body == b"\xff\xff\x00", f"no yellow hint at {hx},{hy} on X11 (saw {body.hex()})")
    weston = c.wayland()
    pages(c, weston, reader, lambda game, name, mask=None:
          wayland_picture(c, weston, expected[name], name, mask))
    hint(c, weston, lambda p, name: wayland_picture(c, weston, x11_hint, name))
    c.note(f"scale {scale}: start, results and game pages as on X11; the hint {hw}x{hh} at "
           f"{hx},{hy} over the list as on X11")


# Each case with the scale its screens draw at.
CASES = {name[len("case_"):]: (f, 1) for name, f in globals().items() if name.startswith("case_")}
del CASES["wayland"]
CASES.update(wayland_x1=(case_wayland, 1), wayland_x2=(case_wayland, 2),
             wayland_screen_reader_game=(lambda c: case_screen_reader_game(c, c.wayland()), 2))
BUS_CASES = ("screen_reader_game", "orca_game", "wayland_x1", "wayland_x2",
             "wayland_screen_reader_game")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--game", required=True)
    ap.add_argument("--reference-box", required=True)
    ap.add_argument("--hint-probe", help="mnemira_hint_probe, for the Wayland case")
    ap.add_argument("--png-pixels", help="mnemira_png_pixels, for the Wayland case")
    ap.add_argument("--runs", type=int, default=20, help="closes in close_during_celebration")
    ap.add_argument("--seed", type=int, help="the close delays' seed")
    ap.add_argument("--keep", action="store_true",
                    help="keep the scratch folder (screenshots, logs) when the case passes")
    ap.add_argument("case", choices=sorted(CASES))
    args = ap.parse_args()
    args.game, args.reference_box = map(os.path.abspath, (args.game, args.reference_box))
    # A case that reads the accessibility tree gets a D-Bus session of its own, never the desktop's,
    # and a runtime folder of its own: without one the accessibility bus's socket lies in the home
    # folder, where cases running side by side would take each other's bus (and its registry the
    # other case's X display, gone once that case ends).
    if args.case in BUS_CASES and "MNEMIRA_E2E_OWN_BUS" not in os.environ:
        if not shutil.which("dbus-run-session"):
            print("SKIP: dbus-run-session not installed (packaging/debian-packages.txt lists "
                  "dbus-daemon)")
            return EXIT_SKIP
        os.environ["MNEMIRA_E2E_OWN_BUS"] = os.environ["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(
            prefix="mnemira-e2e-bus-")
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])

    # More closes than CI's 20 take longer.
    limit = max(CASE_LIMIT, 10 * args.runs)

    def too_long(*_):
        raise Failure(f"the case ran longer than {limit} s")

    # A case stuck in a call the alarm cannot interrupt (a library waiting on a bus) still ends,
    # and says so; its processes die with it.
    watchdog = threading.Timer(limit + 20, lambda: (
        print(f"FAIL: the case did not end within {limit + 20} s", flush=True), os._exit(1)))
    watchdog.daemon = True
    watchdog.start()
    started = time.monotonic()
    case = None
    try:
        require_tools()
        signal.signal(signal.SIGALRM, too_long)
        signal.alarm(limit)
        function, scale = CASES[args.case]
        case = Case(args, args.case, scale)
        print(f"e2e {args.case} on display {case.server.name}", flush=True)
        function(case)
        signal.alarm(0)
    except Skip as e:
        print(f"SKIP: {e}")
        if case:
            case.finish(True)
        return EXIT_SKIP
    except Exception as e:  # a failed check, or anything that broke on the way
        signal.alarm(0)
        if isinstance(e, Failure):
            print(f"FAIL: {e}")
        else:
            traceback.print_exc()
            print(f"FAIL: {type(e).__name__}: {e}")
        if case:
            case.finish(False)
        return 1
    case.finish(True, keep=args.keep)
    print(f"e2e {args.case}: passed in {time.monotonic() - started:.1f} s")
    return 0


def run():
    try:
        return main()
    finally:
        if "MNEMIRA_E2E_OWN_BUS" in os.environ:
            shutil.rmtree(os.environ["MNEMIRA_E2E_OWN_BUS"], ignore_errors=True)


if __name__ == "__main__":
    sys.exit(run())
