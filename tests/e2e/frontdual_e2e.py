"""frontdual in a real X server with a window manager: greeting, choice, modal conversion windows
and the end, as a person walks through them."""
import os
import time
import unittest
from urllib.parse import parse_qs, urlsplit

from desktop import ProgramTest, centre, wait_until

PROGRAM = os.environ.get("PROGRAM", "frontdual")
BOX = "信息："
MODE = "订阅转换V1.0"
LOCAL = "本地订阅转换模块（前端）"
ONLINE = "在线订阅转换模块（前端）"

MODE_BUTTONS = {"按钮1": (8, 24, 240, 64), "按钮2": (8, 104, 240, 64)}
LOCAL_CONTROLS = {"编辑框1": (40, 32, 272, 24), "按钮1": (120, 72, 88, 32),
                  "编辑框2": (40, 120, 272, 24)}
ONLINE_CONTROLS = {"编辑框1": (56, 32, 272, 24), "按钮1": (136, 72, 88, 32),
                   "编辑框2": (56, 120, 272, 24), "编辑框8": (56, 504, 272, 24),
                   "按钮4": (136, 544, 88, 32), "编辑框7": (56, 592, 272, 24)}


class Frontdual(ProgramTest):
    PROGRAM = PROGRAM
    FIRST_WINDOW = BOX

    # Helpers

    def managed_titles(self):
        """The titles of the windows the window manager shows."""
        lines = self.desktop.run("wmctrl", "-l").splitlines()
        return sorted(line.split(None, 3)[3] for line in lines if len(line.split(None, 3)) == 4)

    def dismiss_greeting(self):
        self.desktop.key("Return")
        return self.desktop.wait_active(MODE)

    def choose(self, keys, title, dismiss="Return"):
        self.desktop.key(*keys)
        self.desktop.wait_active(BOX)
        self.desktop.key(dismiss)
        return self.desktop.wait_active(title)

    def frame_of(self, window):
        return self.desktop.geometry(self.desktop.frame(window))

    def still_running_after(self, seconds=0.5):
        time.sleep(seconds)
        return self.program.poll() is None

    def compose(self, window, controls, source_box, button, result_box, source):
        self.desktop.click_in(window, *centre(controls[source_box]))
        self.desktop.type(source)
        self.desktop.click_in(window, *centre(controls[button]))
        return self.desktop.read_box(window, controls[result_box]).decode()

    def check_link(self, link, scheme, target, source, suffix):
        self.assertTrue(link.startswith(f"{scheme}://"), link)
        self.assertTrue(link.endswith(suffix), link)
        parts = urlsplit(link)
        self.assertEqual(parts.path, "/sub")
        query = parse_qs(parts.query, keep_blank_values=True)
        self.assertEqual(query["target"], [target])
        self.assertEqual(query["url"], [source])

    # Tests

    def test_greeting_stands_alone_then_the_mode_window_shows_centred(self):
        self.assertEqual(self.managed_titles(), [BOX])
        self.assertEqual(self.desktop.visible_windows(MODE), [])
        mode = self.dismiss_greeting()
        self.assertEqual(self.frame_of(mode), (830, 438, 260, 204))
        self.assertEqual(self.managed_titles(), [MODE])
        self.assertIn("not found", self.desktop.prop(mode, "WM_TRANSIENT_FOR"))
        self.assertNotIn("SKIP_TASKBAR", self.desktop.prop(mode, "_NET_WM_STATE"))
        self.desktop.screenshot("frontdual-mode")

    def test_local_conversion_is_modal_over_the_mode_window_and_forgets_on_close(self):
        mode = self.dismiss_greeting()
        local = self.choose(["space"], LOCAL)
        self.assertEqual(self.frame_of(local), (799, 367, 322, 346))
        owner = self.desktop.prop(local, "WM_TRANSIENT_FOR")
        self.assertIn("window id", owner)
        self.assertNotIn(hex(mode), owner)
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", self.desktop.prop(local, "_NET_WM_STATE"))
        self.assertNotIn("SKIP_TASKBAR", self.desktop.prop(mode, "_NET_WM_STATE"))
        # The labels show as button-face bands on the white window.
        left, top, _, _ = self.desktop.geometry(local)
        shot = self.desktop.screenshot_when(
            "frontdual-local", lambda shot: shot.pixel(left + 2, top + 60) == (255, 255, 255))
        self.assertEqual(shot.pixel(left + 2, top + 60), (255, 255, 255))
        face = shot.pixel(left + 2, top + 26)
        self.assertTrue(all(190 < c < 250 for c in face), face)

        # The mode window takes no close request and no clicks while the local window is open.
        self.desktop.request_close(mode)
        self.desktop.click_in(mode, *centre(MODE_BUTTONS["按钮2"]))
        self.assertTrue(self.still_running_after())
        self.assertEqual(self.managed_titles(), sorted([MODE, LOCAL]))

        source = "https://example.com/sub?token=abc&flag=clash"
        link = self.compose(local, LOCAL_CONTROLS, "编辑框1", "按钮1", "编辑框2", source)
        self.check_link(link, "http", "clash", source, "&insert=false")
        self.assertTrue(link.startswith("http://127.0.0.1:25500/sub?target=clash&url="))

        # Esc closes the local window only; reopened, its boxes are empty.
        self.desktop.key("Escape")
        self.desktop.wait_active(MODE)
        self.assertTrue(self.still_running_after())
        local = self.choose(["space"], LOCAL)
        self.assertIsNone(self.desktop.read_box(local, LOCAL_CONTROLS["编辑框2"], timeout=1))
        self.assertIsNone(self.desktop.read_box(local, LOCAL_CONTROLS["编辑框1"], timeout=1))

        self.desktop.key("Escape")
        self.desktop.wait_active(MODE)
        self.desktop.key("Escape")
        self.assertEqual(self.program.wait(10), 0)

    def test_online_conversion_opens_centred_wherever_the_mode_window_is(self):
        mode = self.dismiss_greeting()
        self.desktop.run("xdotool", "windowmove", str(mode), "40", "50")
        wait_until(lambda: self.frame_of(mode)[0] < 100, what="the mode window to move")
        # A choice box dismissed with Esc counts as OK.
        online = self.choose(["Tab", "space"], ONLINE, dismiss="Escape")
        self.assertEqual(self.frame_of(online), (784, 212, 352, 655))
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", self.desktop.prop(online, "_NET_WM_STATE"))
        self.desktop.screenshot("frontdual-online")

        link = self.compose(online, ONLINE_CONTROLS, "编辑框8", "按钮4", "编辑框7", "abc")
        self.check_link(link, "https", "quanx", "abc", "&sort=false")
        source = "https://example.com/s?a=1&b=2#x"
        link = self.compose(online, ONLINE_CONTROLS, "编辑框1", "按钮1", "编辑框2", source)
        self.check_link(link, "https", "clash", source, "&new_name=true")

        # Closing the conversion window never ends the program; closing the mode window does.
        self.desktop.request_close(online)
        self.desktop.wait_active(MODE)
        self.assertTrue(self.still_running_after())
        self.desktop.request_close(mode)
        self.assertEqual(self.program.wait(10), 0)


if __name__ == "__main__":
    unittest.main()
