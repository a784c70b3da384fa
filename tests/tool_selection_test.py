"""Selecting with the pointer: the outline while dragging, and the pixels that each kind of
selection exports to the file and the clipboard."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from e2e import box, clipboard, picture, xinput  # noqa: E402
from e2e.cases import ON_CLIPBOARD, ToolTestCase, main, report, size_line  # noqa: E402
from e2e.session import WINDOW_MANAGER, run_helper  # noqa: E402


class Selection(ToolTestCase):
    def export(self, start, end, cwd=None, before=lambda: None):
        """One whole run selecting from start to end, after calling before() once the tool shows
        its photograph; returns the file and the CF_DIB it left."""
        cwd = cwd or self.cwd
        run = self.start_tool(cwd)
        before()
        self.select(start, end)
        shown = box.read_box()
        width, height = abs(end[0] - start[0]) + 1, abs(end[1] - start[1]) + 1
        self.assert_box(shown, report(ON_CLIPBOARD, size_line(width, height)), "information")
        self.close_box_and_exit(run, shown)
        return (cwd / "Retazo.bmp").read_bytes(), clipboard.dib()

    def test_outline_follows_the_pointer_over_the_frozen_photograph(self):
        run = self.start_tool()
        xinput.glide((20, 30), (500, 380))
        self.assertEqual("", self.screen.differences(picture.screenshot()), "drawn before a press")
        anchor = (700, 500)
        self.press_at(anchor)
        self.drag_to(anchor, (301, 203))
        self.drag_to(anchor, (1000, 740), start=(301, 203))
        self.release()
        self.close_box_and_exit(run, box.read_box())

    def test_drags_in_opposite_directions_export_the_same(self):
        corner, other = (250, 120), (600, 400)
        down_right = self.export(corner, other, self.work.sub("down_right"))
        up_left = self.export(other, corner, self.work.sub("up_left"))
        expected = self.selection(corner, other)
        self.assert_bitmap_file(down_right[0], expected)
        self.assert_clipboard_dib(down_right[1], expected)
        self.assertEqual(up_left[0], down_right[0], "the files differ")
        self.assertEqual(up_left[1], down_right[1], "the clipboard blocks differ")

    def test_click_selects_one_pixel(self):
        point = (517, 301)
        data, block = self.export(point, point)
        expected = self.selection(point, point)
        self.assertEqual(len(data), 58)
        self.assert_bitmap_file(data, expected)
        self.assert_clipboard_dib(block, expected)

    def test_whole_screen(self):
        corner, other = (0, 0), (self.width - 1, self.height - 1)
        data, block = self.export(corner, other)
        self.assert_bitmap_file(data, self.screen)
        self.assert_clipboard_dib(block, self.screen)

    def test_hurried_drag_keeps_the_corners_where_the_button_went_down_and_up(self):
        # One command queues every event before the tool handles the first, so the pointer has
        # moved on by the time the press and the release are handled. A window manager's click
        # grab freezes the pointer from the press until it lets the click through, and the X
        # server compresses what was queued meanwhile: the release would reach Wine at the
        # pointer's last position. There the press is waited for, as a person's would be.
        corner, other = (100, 100), (300, 250)
        run = self.start_tool()
        rest = ["mousemove", 140, 130, "mousemove", 180, 160, "mousemove", *other, "mouseup", 1,
                "mousemove", 400, 400]
        if WINDOW_MANAGER == "none":
            xinput.move(*corner)
            xinput.xdotool("mousedown", 1, *rest)
        else:
            self.press_at(corner)
            xinput.xdotool(*rest)
            self.button_down = False
        shown = box.read_box()
        self.assert_box(shown, report(ON_CLIPBOARD, size_line(201, 151)), "information")
        self.close_box_and_exit(run, shown)
        expected = self.selection(corner, other)
        self.assert_bitmap_file((self.cwd / "Retazo.bmp").read_bytes(), expected)
        self.assert_clipboard_dib(clipboard.dib(), expected)

    def test_release_without_a_press_is_ignored(self):
        # On Windows a release whose press went to another window, before the tool appeared,
        # reaches the window under the pointer. X leaves it with the window that had the press,
        # so a peer posts it to the tool, at its point, as Windows would deliver it.
        def stray_release():
            code, _, _ = run_helper("post_release", 300, 250)
            self.assertEqual(code, 0, f"no dialog took the release (exit {code})")

        corner, other = (150, 120), (420, 330)
        data, block = self.export(corner, other, before=stray_release)
        expected = self.selection(corner, other)
        self.assert_bitmap_file(data, expected)
        self.assert_clipboard_dib(block, expected)


if __name__ == "__main__":
    main()
