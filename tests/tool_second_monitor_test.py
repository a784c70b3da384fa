"""A drag on a desktop with a second monitor, where the pointer can leave the photograph of the
primary one: the selection ends on the photograph at the release, wherever the pointer went.
Needs a session whose primary monitor is a part of the screen (tests/rig/session.sh
--primary-monitor 800x600)."""

import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from e2e import box, xinput  # noqa: E402
from e2e.cases import ON_CLIPBOARD, ToolTestCase, main, report, size_line  # noqa: E402
from e2e.session import primary_monitor_size, screen_size  # noqa: E402

SCREEN = screen_size()
MONITOR = primary_monitor_size()


class SecondMonitor(ToolTestCase):
    # A window manager fits a window to one monitor, so the pattern covers the primary one alone.
    painter_area = (0, 0, MONITOR[0] - 1, MONITOR[1] - 1)

    @classmethod
    def setUpClass(cls):
        if MONITOR[0] >= SCREEN[0]:
            raise unittest.SkipTest("needs a primary monitor narrower than the screen")
        super().setUpClass()

    def test_release_beside_the_photograph_ends_the_selection_on_its_edge(self):
        anchor, inside = (200, 200), (500, 250)
        edge = (MONITOR[0] - 1, 300)
        run = self.start_tool()
        self.press_at(anchor)
        self.drag_to(anchor, inside)
        # X stops the pointer at its screen's edge, beyond the primary monitor's.
        xinput.glide(inside, (SCREEN[0] + 276, edge[1]))
        self.release()
        shown = box.read_box()
        self.assert_box(shown, report(ON_CLIPBOARD, size_line(edge[0] - anchor[0] + 1, 101)),
                        "information")
        self.close_box_and_exit(run, shown)
        self.assert_bitmap_file((self.cwd / "Retazo.bmp").read_bytes(), self.selection(anchor, edge))
        self.assert_opened(self.cwd)


if __name__ == "__main__":
    main()
