"""A real X desktop for end-to-end tests: Xvfb with the openbox window manager, and the tools a
test drives and reads windows with, the way a person would: xdotool for the mouse and keys,
xclip for the clipboard, xwininfo and xprop for geometry and properties, wmctrl for close
requests, ImageMagick's import for screenshots."""
import os
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

ARTIFACTS = Path(os.environ.get("ARTIFACTS", tempfile.gettempdir()))


def wait_until(condition, timeout=10.0, what="condition"):
    """Polls `condition` until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out waiting for {what}")
        time.sleep(0.02)


class Screenshot:
    def __init__(self, path):
        self.path = path
        size = subprocess.run(["identify", "-format", "%w %h", str(path)], check=True,
                              capture_output=True, text=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.rgb = subprocess.run(["convert", str(path), "-depth", "8", "rgb:-"], check=True,
                                  capture_output=True).stdout

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])


class Desktop:
    """Xvfb and openbox on a display of their own, stopped by stop()."""

    def __init__(self, width=1920, height=1080):
        self.size = (width, height)
        self.processes = []
        self.env = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}

    def start(self):
        read, write = os.pipe()
        self.processes.append(subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{self.size[0]}x{self.size[1]}x24",
             "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL))
        os.close(write)
        with os.fdopen(read) as display:
            number = display.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = f":{number}"
        self.processes.append(subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        # On a busy machine openbox can take several seconds to announce itself.
        try:
            wait_until(lambda: "window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                       timeout=60, what="the window manager")
        except TimeoutError:
            self.stop()
            raise
        return self

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
        self.processes.clear()
        self.env.pop("DISPLAY", None)

    def run(self, *command, input=None):
        return subprocess.run(command, env=self.env, input=input, capture_output=True,
                              check=False).stdout.decode(errors="replace")

    def launch(self, program, extra_env=None):
        process = subprocess.Popen([program], env={**self.env, **(extra_env or {})},
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    # Windows

    def wait_window(self, title, timeout=10):
        found = wait_until(
            lambda: self.run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$").split(),
            timeout, f"window {title}")
        return int(found[0])

    def wait_active(self, title, timeout=10):
        """Waits until a window titled `title` is shown and has the focus; keys typed before
        that would be lost."""
        window = self.wait_window(title, timeout)
        wait_until(lambda: self.run("xdotool", "getactivewindow").strip() == str(window),
                   timeout, f"{title} to be active")
        return window

    def visible_windows(self, title):
        return self.run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$").split()

    def window_info(self, window):
        info = {}
        for line in self.run("xwininfo", "-id", str(window)).splitlines():
            key, _, value = line.strip().partition(":")
            info[key] = value.strip()
        return info

    def geometry(self, window):
        """(left, top, width, height) of the window on the screen."""
        info = self.window_info(window)
        return (int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]),
                int(info["Width"]), int(info["Height"]))

    def frame(self, window):
        """The window manager's frame around `window`: its ancestor just below the root."""
        while True:
            tree = self.run("xwininfo", "-tree", "-id", str(window))
            root = int(tree.split("Root window id: ")[1].split()[0], 16)
            parent = int(tree.split("Parent window id: ")[1].split()[0], 16)
            if parent == root:
                return window
            window = parent

    def prop(self, window, name):
        return self.run("xprop", "-id", str(window), name)

    # Input

    def key(self, *keys):
        self.run("xdotool", "key", "--delay", "30", *keys)

    def type(self, text):
        self.run("xdotool", "type", "--delay", "10", "--", text)

    def click(self, x, y):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def click_in(self, window, x, y):
        """Clicks at (x, y) in the window's client area."""
        left, top, _, _ = self.geometry(window)
        self.click(left + x, top + y)

    def request_close(self, window):
        """Asks the window to close the way a window manager's close request does."""
        self.run("wmctrl", "-i", "-c", hex(window))

    # Clipboard

    def set_clipboard(self, data: bytes):
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=data, env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        wait_until(lambda: self.clipboard() == data, what="the clipboard")

    def clipboard(self):
        return subprocess.run(["xclip", "-selection", "clipboard", "-o", "-t", "UTF8_STRING"],
                              env=self.env, capture_output=True, check=False).stdout

    def copy_focused_box(self, timeout=30):
        """The whole text of the focused edit box, read back through the clipboard, or None when
        nothing was copied within `timeout` seconds (copying an empty box copies nothing)."""
        placeholder = f"placeholder {time.monotonic_ns()}".encode()
        self.set_clipboard(placeholder)
        self.key("ctrl+a", "ctrl+c")
        try:
            return wait_until(lambda: self._changed_clipboard(placeholder), timeout,
                              "the copied text")
        except TimeoutError:
            return None

    def _changed_clipboard(self, placeholder):
        content = self.clipboard()
        return None if content == placeholder else content

    def read_box(self, window, place, timeout=30):
        """Clicks into the edit box at `place` (left, top, width, height) and copies its text;
        None for an empty box, given `timeout` seconds to show it is empty."""
        left, top, width, height = place
        self.click_in(window, left + width - 4, top + height // 2)
        return self.copy_focused_box(timeout)

    # Pixels

    def screenshot(self, name):
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        path = ARTIFACTS / f"{name}.png"
        subprocess.run(["import", "-window", "root", str(path)], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return Screenshot(path)

    def screenshot_when(self, name, ready, timeout=10):
        """A screenshot taken once `ready(shot)` holds: a window is active before it has painted,
        by most of a second in an instrumented build."""
        def shot_if_ready():
            shot = self.screenshot(name)
            return shot if ready(shot) else None

        return wait_until(shot_if_ready, timeout, f"{name} to be painted")


def centre(place):
    """The middle of a control at `place` (left, top, width, height)."""
    left, top, width, height = place
    return left + width // 2, top + height // 2


class ProgramTest(unittest.TestCase):
    """One desktop for a test class, and a fresh run of the program for each test, started
    and waited for until its first window has the focus."""
    PROGRAM = ""
    FIRST_WINDOW = ""

    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop().start()

    @classmethod
    def tearDownClass(cls):
        cls.desktop.stop()

    def setUp(self):
        self.program = self.desktop.launch(self.PROGRAM)
        self.first_window = self.desktop.wait_active(self.FIRST_WINDOW)

    def tearDown(self):
        if self.program.poll() is None:
            self.program.kill()
            self.program.wait()
