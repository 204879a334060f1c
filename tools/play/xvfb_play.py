#!/usr/bin/python3
"""Plays build/bin/mnemira on an X server of its own, as the end-to-end tests do, and keeps what
it saw: the screenshots and logs stay in the scratch folder it names at the end.

    tools/play/xvfb_play.py                                   # one won game
    tools/play/xvfb_play.py close_during_celebration --runs 100
    tools/play/xvfb_play.py fault_disk_full

Any case of tests/e2e/e2e.py and its options; the game and the reference box come from build/.
"""
import os
import sys

root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
args = sys.argv[1:] or ["won_game"]
os.execv(sys.executable, [sys.executable, os.path.join(root, "tests/e2e/e2e.py"),
                          "--game", os.path.join(root, "build/bin/mnemira"),
                          "--reference-box", os.path.join(root, "build/bin/mnemira_reference_box"),
                          "--keep", *args])
