#!/usr/bin/env python3
"""Closes the running game during a celebration, again and again, the way the close box does.

Each run starts build/bin/mnemira in a scratch folder, starts a game, turns cards until a pair
matches, waits 0–1.5 s into the celebration and sends WM_DELETE_WINDOW; the game must exit
cleanly within 5 s.

    Xvfb :9 -screen 0 1280x1024x24 &
    DISPLAY=:9 tools/play/close_stress.py 100
"""
import os
import random
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(os.path.dirname(here))
sys.path.insert(0, here)
import xvfb_play as xp  # noqa: E402

work = tempfile.mkdtemp(prefix="mnemira-close-")
wmclose = os.path.join(work, "wmclose")
subprocess.run(["cc", os.path.join(here, "wmclose.c"), "-o", wmclose, "-lX11"], check=True)

runs = int(sys.argv[1]) if len(sys.argv) > 1 else 100
clean = hung = crashed = celebrating = 0
for _ in range(runs):
    game = subprocess.Popen([os.path.join(root, "build/bin/mnemira")], cwd=work,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.2)
    player = xp.Player(os.path.join(work, "shots"), False)
    subprocess.run(["xdotool", "windowfocus", player.wid])
    time.sleep(0.1)
    subprocess.run(["xdotool", "key", "Return"])
    time.sleep(0.3)
    known, matched = {}, False
    for pos in range(1, 21, 2):
        h1, h2 = player.turn(pos), player.turn(pos + 1)
        if h1 == h2:
            matched = True
            break
        time.sleep(1.4)
        known[pos], known[pos + 1] = h1, h2
        pair = next(((a, b) for a in known for b in known if a < b and known[a] == known[b]), None)
        if pair:
            player.turn(pair[0])
            player.turn(pair[1])
            matched = True
            break
    celebrating += matched
    time.sleep(random.uniform(0.0, 1.5))
    subprocess.run([wmclose, player.wid])
    try:
        if game.wait(timeout=5) == 0:
            clean += 1
        else:
            crashed += 1
    except subprocess.TimeoutExpired:
        hung += 1
        game.kill()
print(f"runs {runs} clean {clean} crashed {crashed} hung {hung} closed-while-celebrating {celebrating}")
