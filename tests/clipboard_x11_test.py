"""An X client reads the selection that the tool put on the clipboard, as an ordinary image."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from e2e import box, clipboard, picture  # noqa: E402
from e2e.cases import ToolTestCase, main  # noqa: E402


class X11Consumer(ToolTestCase):
    # The painter stays up throughout, a live Wine process that keeps the bridge to X running.
    def test_x_client_reads_the_selection_as_bmp(self):
        corner, other = (333, 222), (588, 478)
        run = self.start_tool()
        self.select(corner, other)
        self.close_box_and_exit(run, box.read_box())
        self.assertIn("image/bmp", clipboard.x_targets())
        image = picture.decode_with_imagemagick(clipboard.x_read("image/bmp"), "bmp")
        self.assertEqual("", self.selection(corner, other).differences(image))


if __name__ == "__main__":
    main()
