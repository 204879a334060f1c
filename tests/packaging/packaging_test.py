#!/usr/bin/python3
"""The game as installed: the staged tree, the menu launcher, and the package list.

Run by CTest (tests/packaging/CMakeLists.txt), which installs the build tree into a staging
folder first and passes the paths and names through the environment.
"""
import configparser
import email.utils
import os
import re
import shutil
import signal
import stat
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

SOURCE = os.environ.get("MNEMIRA_SOURCE_DIR", "")
ROOT = os.environ.get("MNEMIRA_ROOT", "")
VERSION = os.environ.get("MNEMIRA_VERSION", "")
APP_ID = os.environ.get("MNEMIRA_APP_ID", "")
GAMES_DIR = os.environ.get("MNEMIRA_GAMES_DIR", "")
LAUNCHER_DIR = os.environ.get("MNEMIRA_LAUNCHER_DIR", "")
PREFIX = "/usr"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

GAME = f"{PREFIX}/{GAMES_DIR}/mnemira"
LAUNCHER = f"{PREFIX}/{LAUNCHER_DIR}/mnemira-launcher"
DESKTOP = f"{PREFIX}/share/applications/{APP_ID}.desktop"
METAINFO = f"{PREFIX}/share/metainfo/{APP_ID}.metainfo.xml"
MANUAL = f"{PREFIX}/share/man/man6/mnemira.6"


def staged(path):
    return ROOT + path


def icon(size):
    return f"{PREFIX}/share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png"


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


def desktop_entry():
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str  # keys are case-sensitive
    with open(staged(DESKTOP), encoding="utf-8") as f:
        parser.read_file(f)
    return parser["Desktop Entry"]


def changelog_head():
    """Version and date of the newest entry of debian/changelog."""
    with open(os.path.join(SOURCE, "debian", "changelog"), encoding="utf-8") as f:
        lines = f.read().splitlines()
    version = re.match(r"^mnemira \(([^)]+)\) ", lines[0]).group(1)
    trailer = next(line for line in lines if line.startswith(" -- "))
    date = email.utils.parsedate_to_datetime(trailer.split(">", 1)[1].strip())
    return version, date.date().isoformat()


class InstalledTree(unittest.TestCase):
    """What `cmake --install` puts into a staging folder with the prefix /usr."""

    def test_every_file_is_there_and_nothing_else(self):
        expected = {GAME, LAUNCHER, DESKTOP, METAINFO, MANUAL} | {icon(s) for s in ICON_SIZES}
        found = set()
        for folder, _, files in os.walk(ROOT):
            found |= {os.path.join(folder, f)[len(ROOT):] for f in files}
        self.assertEqual(found, expected)

    def test_only_the_programs_are_executable(self):
        for path in (GAME, LAUNCHER):
            self.assertTrue(os.stat(staged(path)).st_mode & stat.S_IXOTH, path)
        for path in (DESKTOP, METAINFO, MANUAL, icon(16)):
            self.assertFalse(os.stat(staged(path)).st_mode & 0o111, path)

    def test_icons_are_the_committed_pictures_in_their_size_folders(self):
        for size in ICON_SIZES:
            with open(staged(icon(size)), "rb") as f:
                data = f.read()
            self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n")
            self.assertEqual(struct.unpack(">II", data[16:24]), (size, size), icon(size))
            with open(os.path.join(SOURCE, "src", "art", "icons", f"{size}x{size}.png"), "rb") as f:
                self.assertEqual(data, f.read(), icon(size))

    def test_desktop_entry_passes_the_validator(self):
        result = run(os.environ["DESKTOP_FILE_VALIDATE"], staged(DESKTOP))
        report = result.stdout + result.stderr
        self.assertEqual(report, "", report)
        self.assertEqual(result.returncode, 0)

    def test_desktop_entry_starts_the_launcher_and_matches_the_window(self):
        entry = desktop_entry()
        self.assertEqual(entry["Type"], "Application")
        self.assertEqual(entry["Name"], "Мнемира")
        self.assertRegex(entry["Comment[ru]"], "^[А-Яа-яЁё ,.!-]+$")
        self.assertIn("Game", entry["Categories"].split(";"))
        self.assertTrue(entry["Keywords[ru]"])
        self.assertEqual(entry["Exec"], LAUNCHER)
        self.assertTrue(os.access(staged(entry["Exec"]), os.X_OK))
        self.assertEqual(entry["Icon"], APP_ID)
        self.assertTrue(all(os.path.exists(staged(icon(s))) for s in ICON_SIZES))
        # Qt on X11 names the window's class instance after the program's file name.
        self.assertEqual(entry["StartupWMClass"], os.path.basename(GAME))

    def test_metainfo_and_tree_pass_appstream(self):
        result = run(os.environ["APPSTREAMCLI"], "validate-tree", "--no-net", "--pedantic", ROOT)
        report = result.stdout + result.stderr
        self.assertEqual(result.returncode, 0, report)
        self.assertNotRegex(report, r"(?m)^[EW]: ", report)

    def test_metainfo_names_what_is_installed(self):
        component = ET.parse(staged(METAINFO)).getroot()
        self.assertEqual(component.get("type"), "desktop-application")
        self.assertEqual(component.findtext("id"), APP_ID)
        self.assertEqual(component.findtext("launchable"), os.path.basename(DESKTOP))
        self.assertEqual(component.findtext("provides/binary"), os.path.basename(GAME))
        lang = "{http://www.w3.org/XML/1998/namespace}lang"
        self.assertTrue([s for s in component.findall("summary") if s.get(lang) == "ru"])
        self.assertIsNotNone(component.find("content_rating[@type='oars-1.1']"))

    def test_one_version_and_release_date_everywhere(self):
        release = ET.parse(staged(METAINFO)).getroot().find("releases/release")
        with open(staged(MANUAL), encoding="utf-8") as f:
            title = next(line for line in f if line.startswith(".TH "))
        _, _, _, manual_date, manual_source, _ = re.findall(r'"[^"]*"|\S+', title)
        changelog_version, changelog_date = changelog_head()
        self.assertEqual(release.get("version"), VERSION)
        self.assertEqual(manual_source.strip('"'), f"mnemira {VERSION}")
        self.assertEqual(changelog_version, VERSION, "debian/changelog")
        self.assertEqual(release.get("date"), changelog_date)
        self.assertEqual(manual_date.strip('"'), changelog_date)


STUB_GAME = """#!/bin/sh
{ pwd -P; echo "platform=${QT_QPA_PLATFORM-unset}"; } > "$MNEMIRA_STUB_REPORT"
"""


class Launcher(unittest.TestCase):
    """The menu launcher, with a stub in the game's place, and then with the game itself."""

    def setUp(self):
        self.tmp = os.path.realpath(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.tmp)
        # The launcher and a stub game at their installed places relative to each other.
        self.launcher = os.path.join(self.tmp, "tree", LAUNCHER.lstrip("/"))
        stub = os.path.join(self.tmp, "tree", GAME.lstrip("/"))
        os.makedirs(os.path.dirname(self.launcher))
        os.makedirs(os.path.dirname(stub), exist_ok=True)
        shutil.copy2(staged(LAUNCHER), self.launcher)
        with open(stub, "w") as f:
            f.write(STUB_GAME)
        os.chmod(stub, 0o755)
        self.home = os.path.join(self.tmp, "home")
        self.work = os.path.join(self.tmp, "work")
        os.makedirs(self.home)
        os.makedirs(self.work)
        self.report = os.path.join(self.tmp, "report")

    def launch(self, command=None, cwd=None, **variables):
        environment = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.home,
                       "MNEMIRA_STUB_REPORT": self.report}
        environment.update({k: v for k, v in variables.items() if v is not None})
        return run(command or self.launcher, cwd=cwd or self.work, env=environment, timeout=30)

    def started_in(self):
        with open(self.report) as f:
            folder, platform = f.read().splitlines()
        return folder, platform.split("=", 1)[1]

    def test_default_data_folder_is_made_private_and_entered(self):
        result = self.launch()
        self.assertEqual(result.returncode, 0, result.stderr)
        folder = os.path.join(self.home, ".local", "share", "mnemira")
        self.assertEqual(self.started_in()[0], folder)
        self.assertEqual(stat.S_IMODE(os.stat(folder).st_mode), 0o700)

    def test_absolute_xdg_data_home_is_used(self):
        data = os.path.join(self.tmp, "data")
        self.assertEqual(self.launch(XDG_DATA_HOME=data).returncode, 0)
        self.assertEqual(self.started_in()[0], os.path.join(data, "mnemira"))

    def test_relative_or_empty_xdg_data_home_is_ignored(self):
        default = os.path.join(self.home, ".local", "share", "mnemira")
        for value in ("relative/data", ""):
            with self.subTest(XDG_DATA_HOME=value):
                self.assertEqual(self.launch(XDG_DATA_HOME=value).returncode, 0)
                self.assertEqual(self.started_in()[0], default)
        self.assertEqual(os.listdir(self.work), [])

    def test_existing_results_are_kept(self):
        folder = os.path.join(self.home, ".local", "share", "mnemira")
        os.makedirs(folder)
        with open(os.path.join(folder, "hits.dat"), "wb") as f:
            f.write(b"x" * 83)
        self.assertEqual(self.launch().returncode, 0)
        self.assertEqual(self.started_in()[0], folder)
        self.assertEqual(os.path.getsize(os.path.join(folder, "hits.dat")), 83)

    def test_a_folder_that_cannot_be_made_is_reported_and_the_game_not_started(self):
        blocker = os.path.join(self.tmp, "a-file")
        open(blocker, "w").close()
        result = self.launch(XDG_DATA_HOME=blocker)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn(f"cannot make or enter the data folder {blocker}/mnemira", result.stderr)
        self.assertFalse(os.path.exists(self.report))

    def test_no_home_and_no_data_home_is_reported(self):
        result = run(self.launcher, cwd=self.work, timeout=30,
                     env={"PATH": "/usr/bin:/bin", "MNEMIRA_STUB_REPORT": self.report})
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("neither XDG_DATA_HOME nor HOME", result.stderr)
        self.assertFalse(os.path.exists(self.report))

    def test_found_the_game_when_started_by_a_relative_path(self):
        result = self.launch(command="./mnemira-launcher", cwd=os.path.dirname(self.launcher))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(os.path.exists(self.report))

    def test_the_platform_is_left_to_qt_or_the_player(self):
        cases = [({"DISPLAY": ":5", "WAYLAND_DISPLAY": "wayland-0"}, "unset"),
                 ({"DISPLAY": ":5", "WAYLAND_DISPLAY": "wayland-0", "QT_QPA_PLATFORM": "xcb"},
                  "xcb")]
        for variables, platform in cases:
            with self.subTest(**variables):
                self.assertEqual(self.launch(**variables).returncode, 0)
                self.assertEqual(self.started_in()[1], platform)

    def test_the_installed_game_starts_in_the_data_folder(self):
        folder = os.path.join(self.home, ".local", "share", "mnemira")
        environment = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.home,
                       "QT_QPA_PLATFORM": "offscreen"}
        game = subprocess.Popen([staged(LAUNCHER)], cwd=self.work, env=environment,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        try:
            # The game makes its empty results file at start-up, in its working folder.
            deadline = time.monotonic() + 60
            while not os.path.exists(os.path.join(folder, "hits.dat")):
                self.assertIsNone(game.poll(), "the game ended early")
                self.assertLess(time.monotonic(), deadline, "no hits.dat in " + folder)
                time.sleep(0.1)
            # The launcher replaced itself by the game: one process, in the data folder.
            self.assertEqual(os.path.realpath(f"/proc/{game.pid}/exe"),
                             os.path.realpath(staged(GAME)))
            self.assertEqual(os.path.realpath(f"/proc/{game.pid}/cwd"), folder)
            self.assertEqual(os.path.getsize(os.path.join(folder, "hits.dat")), 0)
            self.assertEqual(os.listdir(self.work), [])
        finally:
            game.send_signal(signal.SIGTERM)
            game.communicate(timeout=30)


MARKER = "# Not needed to build the Debian package:"


class PackageList(unittest.TestCase):
    """packaging/debian-packages.txt and debian/control's Build-Depends name the same packages."""

    def test_build_depends_follow_the_package_list(self):
        with open(os.path.join(SOURCE, "packaging", "debian-packages.txt")) as f:
            lines = [line.strip() for line in f]
        self.assertIn(MARKER, lines)
        listed = {line for line in lines[:lines.index(MARKER)] if line and not line.startswith("#")}
        # Every Debian package build has build-essential; naming it is an error.
        listed.discard("build-essential")

        with open(os.path.join(SOURCE, "debian", "control"), encoding="utf-8") as f:
            source = f.read().split("\n\n")[0]
        field = re.search(r"(?ms)^Build-Depends:(.*?)(?=^\S)", source + "\nEnd:").group(1)
        declared = {re.sub(r"\s*[(\[<].*", "", item).strip()
                    for item in field.split(",") if item.strip()}
        declared.discard("debhelper-compat")
        self.assertEqual(declared, listed)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[1:])
