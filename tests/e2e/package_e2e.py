"""The Debian package as a user meets it: made by CPack from the build directory, installed with
apt-get, each program started from its menu entry the way a desktop starts it, and removed again.
Installing needs root; as any other user the tests are skipped."""
import configparser
import os
import shlex
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from desktop import Desktop

PACKAGE = "subscription-frontends"
BUILD_DIR = Path(os.environ.get("BUILD_DIR", Path(__file__).resolve().parents[2] / "build"))
ARTIFACTS = Path(os.environ.get("ARTIFACTS", tempfile.gettempdir()))
CPACK = os.environ.get("CPACK", "cpack")
# What the desktop needs to start and to find a window by its title.
TOOLS = ["apt-get", "dpkg-deb", CPACK, "Xvfb", "openbox", "xprop", "xdotool"]

# What each program shows first: frontlite its window, frontdual its greeting before any window.
FIRST_WINDOW = {"frontlite": "简易订阅转换前端", "frontdual": "信息："}


def installed_files(program):
    return [Path("/usr/bin") / program,
            Path("/usr/share/applications") / f"{program}.desktop",
            Path("/usr/share/icons/hicolor/32x32/apps") / f"{program}.png",
            Path("/usr/share/icons/hicolor/scalable/apps") / f"{program}.svg",
            Path("/usr/share/metainfo") / f"arpa.home.frontend.{program}.metainfo.xml"]


def make_package():
    """The package made from the build directory as it stands, written under ARTIFACTS."""
    output = ARTIFACTS / "package"
    shutil.rmtree(output, ignore_errors=True)
    subprocess.run([CPACK, "-G", "DEB", "--config", str(BUILD_DIR / "CPackConfig.cmake"),
                    "-B", str(output)], check=True, capture_output=True)
    (deb,) = output.glob("*.deb")
    return deb


def apt_get(*arguments):
    # Another apt-get or dpkg may hold the lock for a while; wait for it rather than fail.
    subprocess.run(["apt-get", "-o", "DPkg::Lock::Timeout=120", "-y", "-q", *arguments],
                   check=True, capture_output=True,
                   env={**os.environ, "DEBIAN_FRONTEND": "noninteractive"})


def start_desktop():
    # Right after dpkg's triggers, on a machine busy with other tests, openbox has been seen to
    # take longer to come up than Desktop waits for; a second desktop then starts in time.
    for attempt in range(2):
        desktop = Desktop()
        try:
            return desktop.start()
        except TimeoutError:
            desktop.stop()
            if attempt:
                raise


def launcher_command(program):
    """The Exec line of the program's installed launcher as an argument list, without the field
    codes (%f, %U, ...) that a desktop would replace with the files it was asked to open."""
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(f"/usr/share/applications/{program}.desktop", encoding="utf-8")
    command = shlex.split(entry["Desktop Entry"]["Exec"])
    return [argument for argument in command if not argument.startswith("%")]


@unittest.skipUnless(hasattr(os, "geteuid") and os.geteuid() == 0,
                     "installing the package needs root")
@unittest.skipIf(not all(shutil.which(tool) for tool in TOOLS),
                 f"one of {', '.join(TOOLS)} is missing")
class InstalledPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.deb = make_package()
        # --reinstall: an older build of the same version may be installed already.
        apt_get("install", "--reinstall", str(cls.deb))
        cls.addClassCleanup(cls.remove_package)
        cls.desktop = start_desktop()
        cls.addClassCleanup(cls.desktop.stop)

    @staticmethod
    def remove_package():
        apt_get("remove", PACKAGE)
        left = [str(f) for p in FIRST_WINDOW for f in installed_files(p) if f.exists()]
        if left:
            raise AssertionError(f"left behind by apt-get remove: {left}")

    def test_depends_on_qt_widgets_the_x11_plugin_libpng_and_a_chinese_font(self):
        depends = subprocess.run(["dpkg-deb", "-f", str(self.deb), "Depends"], check=True,
                                 capture_output=True, text=True).stdout
        names = {d.strip().split()[0] for d in depends.split(",")}
        for needed in ["libqt6widgets6", "qt6-qpa-plugins", "libpng16-16", "fonts-wqy-microhei"]:
            self.assertIn(needed, names)

    def test_puts_programs_launchers_icons_and_descriptions_in_place(self):
        for program in FIRST_WINDOW:
            for path in installed_files(program):
                self.assertTrue(path.is_file(), path)

    def test_each_launcher_starts_its_program_up_to_its_first_window(self):
        for program, title in FIRST_WINDOW.items():
            with self.subTest(program):
                command = launcher_command(program)
                self.assertEqual(shutil.which(command[0], path=self.desktop.env.get("PATH")),
                                 f"/usr/bin/{program}")
                process = subprocess.Popen(command, env=self.desktop.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                try:
                    self.desktop.wait_window(title, timeout=30)
                    self.assertIsNone(process.poll())
                finally:
                    process.kill()
                    process.wait()


if __name__ == "__main__":
    unittest.main()
