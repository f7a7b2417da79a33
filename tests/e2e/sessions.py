"""Scripted sessions of both programs, shared by the leak, isolation and bad-input tests: every
control of every window by its place, and a user's walk through the windows, by keys where a long
session repeats it and by mouse and clipboard where it uses the boxes and buttons once."""
import os
import subprocess
import unittest
from urllib.parse import parse_qs, urlsplit

from desktop import Desktop, centre
from xdirect import XDirect

FRONTLITE = os.environ.get("FRONTLITE", "frontlite")
FRONTDUAL = os.environ.get("FRONTDUAL", "frontdual")

LITE = "简易订阅转换前端"
BOX = "信息："
MODE = "订阅转换V1.0"
LOCAL = "本地订阅转换模块（前端）"
ONLINE = "在线订阅转换模块（前端）"

# The hosts are build settings (FRONTEND_LOOPBACK_HOST, FRONTEND_ONLINE_HOST), handed on by CTest.
LOOPBACK_HOST = os.environ.get("LOOPBACK_HOST", "127.0.0.1")
ONLINE_HOST = os.environ.get("ONLINE_HOST", "sub.xeton.dev")
LOCAL_PREFIX = f"http://{LOOPBACK_HOST}:25500/sub?target={{}}&url="
ONLINE_PREFIX = f"https://{ONLINE_HOST}/sub?target={{}}&url="


class Row:
    """One conversion row: places (left, top, width, height in the client area) of its source
    box, button and result box, and the link it composes."""

    def __init__(self, source, button, result, prefix, suffix):
        self.source, self.button, self.result = source, button, result
        self.prefix, self.suffix = prefix, suffix

    def check_link(self, test, link, source_text):
        """The link has the row's prefix and suffix, and its url value, decoded, is
        `source_text`: what the source box held."""
        test.assertTrue(link.startswith(self.prefix), link[:200])
        test.assertTrue(link.endswith(self.suffix), link[-200:])
        query = parse_qs(urlsplit(link).query, keep_blank_values=True)
        test.assertEqual(query["url"], [source_text])


LITE_ROWS = [
    Row((8, 24, 304, 32), (96, 72, 120, 40), (8, 128, 304, 32),
        LOCAL_PREFIX.format("clash"), "&insert=false"),
    Row((8, 192, 304, 32), (104, 232, 120, 40), (8, 280, 304, 32),
        LOCAL_PREFIX.format("mixed"), "&insert=false"),
]
LOCAL_ROWS = [
    Row((40, 32, 272, 24), (120, 72, 88, 32), (40, 120, 272, 24),
        LOCAL_PREFIX.format("clash"), "&insert=false"),
    Row((40, 200, 272, 24), (120, 240, 88, 32), (40, 288, 272, 24),
        LOCAL_PREFIX.format("mixed"), "&insert=false"),
]
ONLINE_ROWS = [
    Row((56, 32, 272, 24), (136, 72, 88, 32), (56, 120, 272, 24),
        ONLINE_PREFIX.format("clash"), "&sort=false&new_name=true"),
    Row((56, 184, 272, 24), (136, 224, 88, 32), (56, 272, 272, 24),
        ONLINE_PREFIX.format("mixed"), "&sort=false"),
    Row((64, 336, 272, 24), (144, 376, 88, 32), (64, 424, 272, 24),
        ONLINE_PREFIX.format("surfboard"), "&sort=false"),
    Row((56, 504, 272, 24), (136, 544, 88, 32), (56, 592, 272, 24),
        ONLINE_PREFIX.format("quanx"), "&sort=false"),
]


def start_desktop(attempts=3):
    """A started Desktop. On a busy machine openbox has now and then not announced itself in time
    (seen twice in some forty starts while other trees built); a fresh server and window manager
    have then come up at once."""
    for attempt in range(attempts):
        desktop = Desktop()
        try:
            return desktop.start()
        except TimeoutError:
            desktop.stop()
            if attempt == attempts - 1:
                raise


class DesktopTest(unittest.TestCase):
    """One started desktop for all the tests of a class."""

    @classmethod
    def setUpClass(cls):
        cls.desktop = start_desktop()

    @classmethod
    def tearDownClass(cls):
        cls.desktop.stop()


def launch(desktop, command, extra_env=None, stderr=subprocess.DEVNULL):
    """Starts `command` (a program, or a tool wrapped around one) on the test desktop; the
    desktop ends it on stop() if the test has not."""
    process = subprocess.Popen(command, env={**desktop.env, **(extra_env or {})},
                               stdout=subprocess.DEVNULL, stderr=stderr)
    desktop.processes.append(process)
    return process


def paste(desktop, window, box, data: bytes):
    """Replaces the text of the box at `box` with `data`, pasted from the clipboard."""
    desktop.set_clipboard(data)
    desktop.click_in(window, *centre(box))
    desktop.key("ctrl+a", "ctrl+v")


def convert(desktop, window, row, data: bytes, timeout=60):
    """Pastes `data` into the row's source box, clicks its button, and returns the source box's
    own text and the result box's text, both read back through the clipboard (None if empty)."""
    paste(desktop, window, row.source, data)
    desktop.click_in(window, *centre(row.button))
    link = desktop.read_box(window, row.result, timeout)
    held = desktop.read_box(window, row.source, timeout)
    return (None if held is None else held.decode(),
            None if link is None else link.decode())


class FrontdualWalk:
    """frontdual driven by keys: Space on the focused mode button opens the information box,
    Return dismisses it and the conversion window opens, Esc closes that again; Tab moves the
    mode window's focus to the other button."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.x = XDirect(desktop.env["DISPLAY"])
        # Seconds that closing a conversion window may take; a window still busy with a
        # ten-megabyte link handles the Esc only when done.
        self.close_timeout = 20

    def close(self):
        self.x.close()

    def greet(self):
        self.x.wait_active(BOX)
        self.x.press("Return")
        return self.x.wait_active(MODE)

    def open(self, title):
        """Opens the conversion window titled `title`, whose mode button has the focus."""
        self.x.press("space")
        self.x.wait_active(BOX)
        self.x.press("Return")
        return self.x.wait_active(title)

    def close_window(self):
        self.x.press("Escape")
        self.x.wait_active(MODE, self.close_timeout)

    def cycle(self, in_local=None, in_online=None):
        """Opens and closes the local window, then the online window, leaving the focus on the
        local button again. `in_local(window)` and `in_online(window)` run while each is open."""
        for title, visit in ((LOCAL, in_local), (ONLINE, in_online)):
            window = self.open(title)
            if visit:
                visit(window)
            self.close_window()
            self.x.press("Tab")

    def end(self):
        """Esc on the mode window ends the program."""
        self.x.press("Escape")


def click_every_row(desktop, window, rows, data=b"https://example.com/sub?token=abc"):
    """Pastes a short link into each row's source box and clicks its convert button."""
    for row in rows:
        paste(desktop, window, row.source, data)
        desktop.click_in(window, *centre(row.button))
