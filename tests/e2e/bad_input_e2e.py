"""Awkward text pasted into the real windows: line breaks, tabs, control bytes, invalid UTF-8, ten
megabytes, emoji. Whatever the edit box makes of a paste (a single-line box may turn or drop line
breaks, invalid UTF-8 arrives as replacement characters), the convert button must compose a link
whose url value, decoded, is exactly what the source box holds, and the program must keep running
and answering. frontlite's two rows take the cases in turn, the mixed row of frontdual's online
window takes them all."""
import time
import unittest

from sessions import (FRONTDUAL, FRONTLITE, LITE, LITE_ROWS, ONLINE, ONLINE_ROWS, FrontdualWalk,
                      convert, launch, DesktopTest)

START = b"https://example.com/sub?token="
CASES = [  # name, pasted bytes
    ("line breaks", START + b"a\nb\r\nc\rd\n"),
    ("tabs", START + b"\ta\t\tb\t"),
    ("control bytes", START + bytes(range(1, 32)) + b"end"),
    # A paste ends at a zero byte, as the text it becomes does.
    ("zero byte", START + b"abc\x00def"),
    ("invalid UTF-8", START + b"\xff\xfe\xc3\x28 \xa0\xa1 \xe2\x82 \xf0\x90\x80 \xed\xa0\x80 end"),
    ("emoji", START + "😀👍🏽🇨🇳👨‍👩‍👧 &#+%41".encode()),
    # Every sixteenth byte is escaped, so the link is an eighth longer than the source.
    ("ten megabytes", START + b"abcdefghijklmno&" * (10 * 1024 * 1024 // 16)),
]


class BadInput(DesktopTest):
    def check_cases(self, process, window, rows):
        for index, (name, pasted) in enumerate(CASES):
            row = rows[index % len(rows)]
            with self.subTest(name):
                started = time.monotonic()
                held, link = convert(self.desktop, window, row, pasted, timeout=120)
                self.assertIsNotNone(held, "the source box is empty")
                self.assertIsNotNone(link, "no link in the result box")
                row.check_link(self, link, held)
                self.assertIsNone(process.poll(), "the program ended")
                shown = held[len(START):len(START) + 40]
                print(f"\n{name}: {len(pasted)} bytes pasted, box holds {len(held)} characters "
                      f"{shown!r}..., {time.monotonic() - started:.1f} s")

    def test_frontlite_rows_link_whatever_the_box_holds(self):
        process = launch(self.desktop, [FRONTLITE])
        window = self.desktop.wait_active(LITE)
        self.check_cases(process, window, LITE_ROWS)
        self.desktop.key("Escape")
        self.assertEqual(process.wait(10), 0)

    def test_frontdual_online_mixed_row_links_whatever_the_box_holds(self):
        process = launch(self.desktop, [FRONTDUAL])
        walk = FrontdualWalk(self.desktop)
        try:
            walk.greet()
            walk.x.press("Tab")
            window = walk.open(ONLINE)
            self.check_cases(process, window, ONLINE_ROWS[1:2])
            walk.close_window()
            walk.end()
        finally:
            walk.close()
        self.assertEqual(process.wait(10), 0)


if __name__ == "__main__":
    unittest.main()
