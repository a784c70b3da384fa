"""The common ground of the end-to-end test cases: a painted screen, a registered open recorder,
runs of the tool driven by the pointer, and checks of what a run leaves behind."""

import unittest

from . import box, clipboard, picture, xinput
from .programs import Painter, ToolRun
from .session import TOOL, WorkDir, run_helper, screen_size, windows_path
from .shell import OpenRecorder

TITLE = "Programador"
ON_CLIPBOARD = "Selección posicionada en clipboard."
NOT_ON_CLIPBOARD = "No se pudo poner la selección en el clipboard."
NOT_SAVED = "No se pudo guardar Retazo.bmp."


def size_line(width, height):
    return f"Dimensión:  {width} x {height}"


def report(*lines):
    return "\r\n".join(lines)


def bounds(corner, other):
    """(left, top, right, bottom) of the rectangle between two points, both included."""
    return (min(corner[0], other[0]), min(corner[1], other[1]),
            max(corner[0], other[0]), max(corner[1], other[1]))


class ToolTestCase(unittest.TestCase):
    # The part of the screen that the pattern covers, (left, top, right, bottom); None: all of it.
    painter_area = None

    @classmethod
    def setUpClass(cls):
        cls.work = WorkDir(cls.__name__)
        cls.width, cls.height = screen_size()
        if cls.width < 1024 or cls.height < 768:
            raise unittest.SkipTest("the points of these tests need a screen of 1024 x 768 at least")
        cls.painter = Painter(cls.painter_area)
        cls.addClassCleanup(cls.painter.stop)
        cls.recorder = OpenRecorder(cls.work)
        cls.screen = picture.screenshot()

    def setUp(self):
        self.cwd = self.work.sub(self._testMethodName)
        self.recorder.clear()
        self.runs = []
        self.button_down = False

    def tearDown(self):
        if self.button_down:
            xinput.release()
        for run in self.runs:
            run.kill()

    # Driving the tool.

    def start_tool(self, cwd=None, locale=None, product=TOOL, native_dlls=()):
        """Starts the tool on the plain picture, once whatever an earlier run started has gone,
        and waits until it shows its photograph of the screen. `locale` sets Wine's ANSI code
        page for the run, `native_dlls` the DLLs looked for beside the product first."""
        self.recorder.wait_finished()
        picture.wait_for_screen(self.screen, "the plain picture", keep=self.cwd / "screen.ppm")
        run = ToolRun(cwd or self.cwd, product, locale, native_dlls)
        self.runs.append(run)
        run.wait_shown(self.screen)
        return run

    def press_at(self, point):
        """Presses the left button at point and waits until the window system has seen the press,
        so that what the test does next happens with the button down."""
        xinput.move(*point)
        xinput.press()
        self.button_down = True
        code, _, _ = run_helper("button_watch", "down", 30_000, timeout=90)
        self.assertEqual(code, 0, "the window system never saw the button go down")

    def release(self):
        xinput.release()
        self.button_down = False

    def drag_to(self, anchor, end, start=None):
        """With the button down since anchor, glides from start (the anchor unless given) to end
        and waits for the outline between anchor and end. Seeing that outline also proves that
        the tool took the press position as its anchor point."""
        xinput.glide(start or anchor, end)
        picture.wait_for_screen(picture.with_outline(self.screen, anchor, end),
                                f"the outline from {anchor} to {end}", keep=self.cwd / "screen.ppm")

    def select(self, start, end):
        """A whole selection: press at start, drag to end, release there."""
        self.press_at(start)
        if end != start:
            self.drag_to(start, end)
        self.release()

    def close_box_and_exit(self, run, shown):
        box.close_box(shown)
        self.assert_clean_exit(run)

    def assert_box(self, shown, text, icon):
        self.assertEqual((shown.title, shown.text, shown.icon), (TITLE, text, icon))
        self.assertEqual([button[0] for button in shown.buttons], ["OK"])

    def assert_clean_exit(self, run, code=0):
        self.assertEqual(run.wait_exit(), code)
        self.assertEqual(run.seh_errors(), [])

    # What a run leaves behind.

    def selection(self, corner, other):
        return self.screen.crop(*bounds(corner, other))

    def assert_bitmap_file(self, data, image):
        """data is the 24-bit bitmap file of image; the rows' filler bytes are not looked at."""
        expected = picture.bitmap_file(image)
        self.assertEqual(data[:54], expected[:54], "file and information headers")
        self.assertEqual(len(data), len(expected), "file length")
        self.assertEqual("", image.differences(picture.parse_bitmap_file(data)), "pixels of the file")

    def assert_clipboard_dib(self, block, image):
        self.assertIsNotNone(block, "no CF_DIB on the clipboard")
        dib = picture.parse_dib(block)
        self.assertEqual(dib.header[:6], (40, image.width, image.height, 1, 32, 0))
        self.assertEqual(dib.size, 40 + image.width * image.height * 4, "size of the block")
        self.assertEqual("", image.differences(dib.image), "pixels of the CF_DIB")
        self.assertEqual(dib.fourth_bytes, {255}, "fourth bytes of the pixels")

    def assert_opened(self, cwd):
        """The shell was asked once to open cwd's Retazo.bmp, shown normally, from cwd."""
        folder = windows_path(cwd).lower()
        self.assertEqual([(file.lower(), directory.lower(), show)
                          for file, directory, show in self.recorder.requests()],
                         [(folder + "\\retazo.bmp", folder, "1")])


def main():
    unittest.main(verbosity=2)

