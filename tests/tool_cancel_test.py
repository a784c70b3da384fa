"""Escape and Alt+F4, before or during a drag, end the tool without a trace: exit code 0, no
report, the clipboard and an existing Retazo.bmp untouched, no request to the shell."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from e2e import clipboard, xinput  # noqa: E402
from e2e.cases import ToolTestCase, main  # noqa: E402


class Cancel(ToolTestCase):
    def cancel(self, keys, during_drag):
        target = self.cwd / "Retazo.bmp"
        target.write_bytes(b"an older Retazo.bmp")
        marker = f"before {self._testMethodName}"
        clipboard.mark(marker)
        run = self.start_tool()
        anchor = (320, 240)
        if during_drag:
            self.press_at(anchor)
            self.drag_to(anchor, (610, 430))
        else:
            xinput.move(*anchor)
        xinput.key(keys)
        # A report would keep the tool waiting, so ending on its own means none was shown.
        self.assert_clean_exit(run)
        if self.button_down:
            self.release()
        self.assertEqual(clipboard.text(), marker)
        self.assertIsNone(clipboard.dib())
        self.assertEqual(target.read_bytes(), b"an older Retazo.bmp")
        self.assertEqual(self.recorder.requests(), [])

    def test_escape_before_a_drag(self):
        self.cancel("Escape", during_drag=False)

    def test_escape_during_a_drag(self):
        self.cancel("Escape", during_drag=True)

    def test_alt_f4_before_a_drag(self):
        self.cancel("alt+F4", during_drag=False)

    def test_alt_f4_during_a_drag(self):
        self.cancel("alt+F4", during_drag=True)


if __name__ == "__main__":
    main()
