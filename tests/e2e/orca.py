"""What a blind player hears: Orca in the case's D-Bus session, speaking through speech-dispatcher
and espeak-ng into a PulseAudio null sink, with settings of its own in the case's scratch folder.
Every utterance is read from Orca's debug file, its "SPEECH OUTPUT: '…'" lines.
"""
import datetime
import json
import os
import re
import subprocess
import time

from session import Failure, Skip, child_setup, wait_for

# Orca's launcher opens its debug file block-buffered; line-buffered, each line lands as written.
# Another Orca on the machine (another case, another user) must not keep this one from starting.
LAUNCHER = """import builtins, sys
launcher = {"__name__": "launcher"}
exec(compile(open("/usr/bin/orca").read(), "/usr/bin/orca", "exec"), launcher)
launcher["open"] = lambda path, mode="r": builtins.open(path, mode, buffering=1)
launcher["otherOrcas"] = lambda: []
sys.exit(launcher["main"]())"""
# The time of day, the utterance, then the voice it was said with.
LINE = re.compile(r"(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*)'"
                  r"(?: voice=\w+)? ?(?:\{.*\}|None)$")
NEEDS = {"orca": "/usr/bin/orca", "speech-dispatcher": "/usr/bin/speech-dispatcher",
         "speech-dispatcher-espeak-ng": "/usr/lib/speech-dispatcher-modules/sd_espeak-ng",
         "pulseaudio": "/usr/bin/pulseaudio"}


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)


class Orca:
    """Orca, ready, on X display `display`; its files and logs in `folder`."""

    def __init__(self, display, folder, language="ru"):
        for package, path in NEEDS.items():
            if not os.path.exists(path):
                raise Skip(f"{package} not installed")
        home, run = os.path.join(folder, "orca-home"), os.path.join(folder, "orca-run")
        os.makedirs(run, 0o700)
        write(os.path.join(home, ".config/speech-dispatcher/speechd.conf"),
              'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\nDefaultModule espeak-ng\n')
        # The voice speaks the player's language; Orca's messages and role names follow LANGUAGE,
        # which needs no locale of that language on the machine.
        write(os.path.join(home, ".local/share/orca/user-settings.conf"), json.dumps({
            "general": {"enableBraille": False, "voices": dict.fromkeys(
                ("default", "uppercase", "hyperlink", "system"), {"family": {"lang": language}})},
            "profiles": {"default": {"profile": ["Default", "default"]}},
            "pronunciations": {}, "keybindings": {}}))
        self.env = {**os.environ, "DISPLAY": display, "HOME": home, "XDG_RUNTIME_DIR": run,
                    "XDG_CONFIG_HOME": os.path.join(home, ".config"),
                    "XDG_DATA_HOME": os.path.join(home, ".local/share"),
                    "XDG_CACHE_HOME": os.path.join(home, ".cache"), "GSETTINGS_BACKEND": "memory",
                    "LC_ALL": "C.UTF-8", "LANGUAGE": language}
        self.folder, self.procs, self.lines, self.offset = folder, [], [], 0
        self.debug = os.path.join(folder, "orca-debug.out")
        try:
            self._start(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                         "-L", "module-null-sink", "-L", "module-native-protocol-unix"],
                        lambda: os.path.exists(os.path.join(run, "pulse/native")))
            self._start(["speech-dispatcher", "-s", "-t", "0"],
                        lambda: os.path.exists(os.path.join(run, "speech-dispatcher/speechd.sock")))
            # Isolated (-I): no folder of the case's, this one included, shadows Orca's modules.
            # Orca says it is on once its listeners are registered.
            self._start(["/usr/bin/python3", "-I", "-c", LAUNCHER, "--debug-file", self.debug],
                        self.said, "orca")
        except BaseException:
            self.stop()
            raise

    def _start(self, argv, ready, name=None):
        name = name or argv[0]
        log = os.path.join(self.folder, f"{name}.log")
        with open(log, "wb") as out:
            proc = subprocess.Popen(argv, env=self.env, stdout=out, stderr=out,
                                    preexec_fn=child_setup())
        self.procs.append(proc)

        def up():
            if proc.poll() is not None:
                raise Failure(f"{name} exited with {proc.returncode} on starting; see {log}")
            return ready()
        wait_for(up, 30, f"{name} to start (its log: {log})", 0.05)

    def said(self, since=0.0):
        """Every (time.monotonic(), text) Orca spoke at or after `since`, in order."""
        if not os.path.exists(self.debug):
            return []
        with open(self.debug, "rb") as f:
            f.seek(self.offset)
            chunk = f.read()
        chunk = chunk[:chunk.rfind(b"\n") + 1]
        self.offset += len(chunk)
        now, mono = datetime.datetime.now(), time.monotonic()
        day = now.hour * 3600 + now.minute * 60 + now.second + now.microsecond / 1e6
        for line in chunk.decode("utf-8", "replace").splitlines():
            if m := LINE.match(line):
                at = int(m[1]) * 3600 + int(m[2]) * 60 + float(m[3])
                self.lines.append((mono - (day - at) % 86400, m[4]))
        return [(t, text) for t, text in self.lines if t >= since]

    def wait_said(self, pattern, timeout=10, since=0.0):
        """The first (time, text) said at or after `since` whose text the regular expression
        `pattern` finds."""
        def heard():
            if any(proc.poll() is not None for proc in self.procs):
                raise Failure(f"Orca or its speech ended; logs in {self.folder}")
            return next(((t, s) for t, s in self.said(since) if re.search(pattern, s)), None)
        return wait_for(heard, timeout, f"Orca to say {pattern!r}", 0.02)

    def stop(self):
        for proc in reversed(self.procs):
            proc.kill()
            proc.wait()
