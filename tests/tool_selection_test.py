"""Selecting with the pointer: the outline while dragging, and the pixels that each kind of
selection exports to the file and the clipboard."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from e2e import box, clipboard, picture, xinput  # noqa: E402
from e2e.cases import ON_CLIPBOARD, ToolTestCase, main, report, size_line  # noqa: E402
from e2e.session import WINDOW_MANAGER  # noqa: E402


class Selection(ToolTestCase):
    def export(self, start, end, cwd=None):
        """One whole run selecting from start to end; returns the file and the CF_DIB it left."""
        cwd = cwd or self.cwd
        run = self.start_tool(cwd)
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
        # moved on by the time the press and the release are handled.
        corner, other = (100, 100), (300, 250)
        run = self.start_tool()
        xinput.move(*corner)
        xinput.xdotool("mousedown", 1, "mousemove", 140, 130, "mousemove", 180, 160,
                       "mousemove", *other, "mouseup", 1, "mousemove", 400, 400)
        shown = box.read_box()
        self.assert_box(shown, report(ON_CLIPBOARD, size_line(201, 151)), "information")
        self.close_box_and_exit(run, shown)
        expected = self.selection(corner, other)
        self.assert_bitmap_file((self.cwd / "Retazo.bmp").read_bytes(), expected)
        self.assert_clipboard_dib(clipboard.dib(), expected)


class ReleaseWithoutPress(ToolTestCase):
    # The pattern leaves the lower right of the screen bare, so that the button can go down
    # there on the X root window, where no window takes it, before the tool starts.
    painter_area = (0, 0, 639, 479)

    @unittest.skipIf(WINDOW_MANAGER != "none", "a window manager grabs the pointer for a press on "
                     "the root window, so no other window sees the release")
    def test_release_selects_from_the_origin(self):
        xinput.move(900, 700)
        xinput.press()  # no window is there to take it
        self.button_down = True
        run = self.start_tool()
        end = (400, 300)
        xinput.glide((900, 700), end)
        self.release()
        shown = box.read_box()
        self.assert_box(shown, report(ON_CLIPBOARD, size_line(401, 301)), "information")
        self.close_box_and_exit(run, shown)
        expected = self.selection((0, 0), end)
        self.assert_bitmap_file((self.cwd / "Retazo.bmp").read_bytes(), expected)
        self.assert_clipboard_dib(clipboard.dib(), expected)


if __name__ == "__main__":
    main()
