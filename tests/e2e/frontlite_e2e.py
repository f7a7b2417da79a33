"""frontlite in a real X server with a window manager: the window as a person sees and uses it."""
import os
import unittest
from urllib.parse import parse_qs, urlsplit

from desktop import ProgramTest, centre

PROGRAM = os.environ.get("PROGRAM", "frontlite")
TITLE = "简易订阅转换前端"

# Edit boxes and buttons of the front-end window: left, top, width, height in the client area.
BOXES = {
    "编辑框1": (8, 24, 304, 32),
    "编辑框2": (8, 128, 304, 32),
    "编辑框3": (8, 192, 304, 32),
    "编辑框4": (8, 280, 304, 32),
}
BUTTONS = {"按钮1": (96, 72, 120, 40), "按钮2": (104, 232, 120, 40)}
ROWS = [  # source, button, result, target
    ("编辑框1", "按钮1", "编辑框2", "clash"),
    ("编辑框3", "按钮2", "编辑框4", "mixed"),
]
LOCAL_PREFIX = "http://127.0.0.1:25500/sub?target={}&url="


class Frontlite(ProgramTest):
    PROGRAM = PROGRAM
    FIRST_WINDOW = TITLE

    def setUp(self):
        super().setUp()
        self.window = self.first_window

    def ended_with(self, code):
        self.assertEqual(self.program.wait(10), code)
        self.assertEqual(self.desktop.visible_windows(TITLE), [])

    def read(self, box, timeout=30):
        text = self.desktop.read_box(self.window, BOXES[box], timeout)
        return None if text is None else text.decode()

    def click(self, button):
        self.desktop.click_in(self.window, *centre(BUTTONS[button]))

    def test_opens_centred_at_its_outer_size_not_resizable(self):
        frame = self.desktop.frame(self.window)
        self.assertEqual(self.desktop.geometry(frame), (797, 275, 325, 530))
        self.assertIn(f'"{TITLE}"', self.desktop.prop(self.window, "_NET_WM_NAME"))
        actions = self.desktop.prop(self.window, "_NET_WM_ALLOWED_ACTIONS")
        self.assertIn("_NET_WM_ACTION_MINIMIZE", actions)
        self.assertIn("_NET_WM_ACTION_CLOSE", actions)
        self.assertNotIn("MAXIMIZE", actions)
        self.assertNotIn("RESIZE", actions)
        self.assertIn("_NET_WM_ICON", self.desktop.run("xprop", "-id", str(self.window)))

    def test_focus_starts_in_the_clash_source_and_enter_composes_nothing(self):
        self.desktop.type("typed-first")
        self.desktop.key("Return", "KP_Enter")
        self.desktop.type("-still-here")
        self.assertEqual(self.desktop.copy_focused_box(), b"typed-first-still-here")
        self.assertIsNone(self.read("编辑框2", timeout=1))

    def test_each_row_composes_its_link_into_its_own_result_box_only(self):
        sources = {
            "编辑框1": "https://example.com/sub?token=abc&flag=clash#top 1+1=%41",
            "编辑框3": "https://例子.测试/订阅?名=值&x=1",
        }
        for source, button, result, target in ROWS:
            with self.subTest(button=button):
                self.desktop.click_in(self.window, *centre(BOXES[source]))
                self.desktop.set_clipboard(sources[source].encode())
                self.desktop.key("ctrl+a", "ctrl+v")
                self.click(button)
                link = self.read(result)
                self.assertTrue(link.startswith(LOCAL_PREFIX.format(target)), link)
                self.assertTrue(link.endswith("&insert=false"), link)
                query = parse_qs(urlsplit(link).query, keep_blank_values=True)
                self.assertEqual(query, {"target": [target], "url": [sources[source]],
                                         "insert": ["false"]})
                self.assertEqual(self.read(source), sources[source])
        # The Base64 click left the Clash result as the Clash click wrote it.
        self.assertTrue(self.read("编辑框2").startswith(LOCAL_PREFIX.format("clash")))

    def test_a_click_with_an_empty_source_writes_prefix_and_suffix(self):
        self.click("按钮1")
        self.assertEqual(self.read("编辑框2"), LOCAL_PREFIX.format("clash") + "&insert=false")
        self.assertIsNone(self.read("编辑框4", timeout=1))

    def test_a_ten_megabyte_link_survives_a_click_whole(self):
        source = "https://example.com/" + "a" * (10 * 1024 * 1024)
        self.desktop.set_clipboard(source.encode())
        self.desktop.key("ctrl+v")
        self.click("按钮1")
        link = self.read("编辑框2", timeout=120)
        self.assertEqual(link, LOCAL_PREFIX.format("clash") + source + "&insert=false")

    def test_the_picture_is_tiled_behind_the_labels(self):
        left, top, width, height = self.desktop.geometry(self.window)
        # Taken once the window shows the white of the picture instead of an unpainted black.
        shot = self.desktop.screenshot_when(
            "frontlite-window", lambda shot: min(shot.pixel(left + 1, top + 1)) > 230)
        black = lambda x, y: max(shot.pixel(left + x, top + y)) < 60
        white = lambda x, y: min(shot.pixel(left + x, top + y)) > 230
        # The dots and the smile of the first tile, and of the tiles to the right and below,
        # under the terms label beside its heading.
        for x, y in [(36, 65), (102, 61), (72, 103), (36 + 139, 65), (36 + 139, 65 + 264)]:
            self.assertTrue(black(x, y), (x, y))
        # Between the separator's hyphens, and around the row headings, the white of the picture.
        for x, y in [(1, 170), (300, 182), (137, 9), (255, 190)]:
            self.assertTrue(white(x, y), (x, y))
        # The terms heading is red.
        red = [shot.pixel(left + x, top + y) for x in range(8, 120) for y in range(328, 344)]
        self.assertTrue(any(r > 200 and g < 80 and b < 80 for r, g, b in red))

    def test_scaling_settings_change_no_pixel(self):
        self.program.kill()
        self.program.wait()
        self.desktop.run("xrdb", "-merge", input=b"Xft.dpi: 192\n")
        try:
            self.program = self.desktop.launch(PROGRAM, {
                "QT_SCALE_FACTOR": "2", "QT_SCREEN_SCALE_FACTORS": "2", "QT_FONT_DPI": "192",
                "QT_ENABLE_HIGHDPI_SCALING": "1", "QT_AUTO_SCREEN_SCALE_FACTOR": "1"})
            self.window = self.desktop.wait_active(TITLE)
            frame = self.desktop.frame(self.window)
            self.assertEqual(self.desktop.geometry(frame), (797, 275, 325, 530))
            self.test_the_picture_is_tiled_behind_the_labels()
        finally:
            self.desktop.run("xrdb", "-remove")

    def test_esc_ends_the_program_with_zero(self):
        self.desktop.key("Escape")
        self.ended_with(0)

    def test_close_box_ends_the_program_with_zero(self):
        left, top, width, _ = self.desktop.geometry(self.desktop.frame(self.window))
        self.desktop.click(left + width - 13, top + 10)
        self.ended_with(0)

    def test_close_request_ends_the_program_with_zero(self):
        self.desktop.request_close(self.window)
        self.ended_with(0)


if __name__ == "__main__":
    unittest.main()
