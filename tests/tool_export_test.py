"""What a finished selection leaves behind, in order: the file and the clipboard first, then the
report, and the shell's open request only after the report is closed; what the report says when
the file or the clipboard cannot be had, the clipboard's old contents then left in place; that
it says it the same under any ANSI code page; and that a DLL planted beside the tool never runs."""

import os
import shutil
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from e2e import box, clipboard, picture  # noqa: E402
from e2e.cases import (NOT_ON_CLIPBOARD, NOT_SAVED, ON_CLIPBOARD, TITLE, ToolTestCase,  # noqa: E402
                       main, report, size_line)
from e2e.programs import Peer  # noqa: E402
from e2e.session import BUILD, TOOL, import_registry, run_helper, windows_path  # noqa: E402

# Locales whose ANSI code page is not Windows-1252 (made by scripts/setup.sh --tests), with that
# code page.
OTHER_CODE_PAGES = (("ru_RU.UTF-8", 1251), ("hi_IN", 65001))


# A uxtheme.dll whose DllMain leaves a file named "planted-dll-ran" beside itself.
PLANTED_DLL = BUILD / "planted" / "uxtheme.dll"
PLANTED_MARKER = "planted-dll-ran"

# Clipboard formats: the DIB that the export offers, and what the system makes from it on request.
CF_DIB = 8
MADE_FROM_A_DIB = {2, 9, 17}  # CF_BITMAP, CF_PALETTE, CF_DIBV5


class Export(ToolTestCase):
    def event_prefix(self):
        return f"retazo-e2e-{os.getpid()}-{self._testMethodName}"

    def files(self):
        """What the run directory holds; a half-written or temporary file would show here."""
        return sorted(path.name for path in self.cwd.iterdir())

    def test_report_comes_after_the_export_and_the_open_request_after_the_report(self):
        corner, other = (130, 470), (385, 560)
        expected = self.selection(corner, other)
        run = self.start_tool()
        self.select(corner, other)
        shown = box.read_box()
        self.assert_box(shown, report(ON_CLIPBOARD, size_line(256, 91)), "information")
        self.assertEqual(self.files(), ["Retazo.bmp", "tool.stderr", "tool.stdout"])
        self.assert_bitmap_file((self.cwd / "Retazo.bmp").read_bytes(), expected)
        self.assert_clipboard_dib(clipboard.dib(), expected)
        self.assertEqual(self.recorder.requests(), [], "the shell was asked before the box closed")
        self.close_box_and_exit(run, shown)
        self.assert_opened(self.cwd)

    def test_each_run_replaces_the_file(self):
        target = self.cwd / "Retazo.bmp"
        target.write_bytes(b"\xaa" * 3_000_000)
        for corner, other in (((10, 10), (60, 40)), ((702, 501), (700, 500))):
            run = self.start_tool()
            self.select(corner, other)
            self.close_box_and_exit(run, box.read_box())
            self.assert_bitmap_file(target.read_bytes(), self.selection(corner, other))

    def test_report_reads_the_same_whatever_the_ansi_code_page(self):
        corner, other = (300, 200), (500, 350)
        for locale, code_page in OTHER_CODE_PAGES:
            with self.subTest(locale=locale):
                code, out, _ = run_helper("code_page", locale=locale)
                self.assertEqual((code, out.strip()), (0, str(code_page)), f"the code page under {locale}")
                run = self.start_tool(locale=locale)
                self.select(corner, other)
                shown = box.read_box()
                box.click_only_button(shown)  # its text follows the locale's language
                self.assert_clean_exit(run)
                self.assertEqual((shown.title, shown.text, shown.icon),
                                 (TITLE, report(ON_CLIPBOARD, size_line(201, 151)), "information"))

    def test_a_dll_planted_beside_the_tool_never_runs(self):
        """A uxtheme.dll beside Retazo.exe, with Wine searching the program's folder first as
        Windows does, is never loaded: not with the Windows version of the prefix, where the start
        asks the system to search system32 only, nor as Vista, where it loads the system DLLs that
        are loaded by name from system32 first. The tool still exports, reports and opens."""
        corner, other = (40, 600), (140, 650)
        for name, version in (("Retazo.exe", None), ("RetazoOnVista.exe", "vista")):
            with self.subTest(windows=version or "the prefix's"):
                self.recorder.clear()
                folder = self.cwd / Path(name).stem
                folder.mkdir()
                shutil.copyfile(TOOL, folder / name)
                shutil.copyfile(PLANTED_DLL, folder / PLANTED_DLL.name)
                if version:
                    # The version is chosen per executable name, so only this copy sees it.
                    import_registry({rf"HKEY_CURRENT_USER\Software\Wine\AppDefaults\{name}":
                                     {"Version": version}}, self.cwd)
                try:
                    run = self.start_tool(cwd=folder, product=folder / name, native_dlls=("uxtheme",))
                    self.select(corner, other)
                    shown = box.read_box()
                    self.assert_box(shown, report(ON_CLIPBOARD, size_line(101, 51)), "information")
                    self.close_box_and_exit(run, shown)
                finally:
                    self.assertFalse((folder / PLANTED_MARKER).exists(), "the planted DLL ran in the tool")
                self.assertEqual(sorted(path.name for path in folder.iterdir()),
                                 sorted([name, "Retazo.bmp", "tool.stderr", "tool.stdout", PLANTED_DLL.name]))
                self.assert_bitmap_file((folder / "Retazo.bmp").read_bytes(), self.selection(corner, other))
                self.assert_opened(folder)

    def test_file_held_open_elsewhere_is_reported_and_left_alone(self):
        target = self.cwd / "Retazo.bmp"
        old = picture.bitmap_file(self.selection((0, 0), (4, 2)))
        target.write_bytes(old)
        holder = Peer("file_holder", windows_path(target), self.event_prefix(), 600_000,
                      prefix=self.event_prefix())
        holder.wait_holding()
        try:
            corner, other = (600, 100), (640, 180)
            run = self.start_tool()
            self.select(corner, other)
            shown = box.read_box()
            self.assert_box(shown, report(ON_CLIPBOARD, size_line(41, 81), NOT_SAVED), "warning")
            self.assert_clipboard_dib(clipboard.dib(), self.selection(corner, other))
            self.close_box_and_exit(run, shown)
        finally:
            self.assertEqual(holder.finish(), 0)
        self.assertEqual(target.read_bytes(), old)
        self.assertEqual(self.files(), ["Retazo.bmp", "tool.stderr", "tool.stdout"])
        self.assertEqual(self.recorder.requests(), [])

    def test_clipboard_held_elsewhere_is_reported_and_left_alone(self):
        marker = f"held by another program {os.getpid()}"
        clipboard.mark(marker)
        holder = Peer("clipboard_holder", self.event_prefix(), 600_000, prefix=self.event_prefix())
        holder.wait_holding()
        try:
            corner, other = (900, 20), (1000, 60)
            run = self.start_tool()
            self.select(corner, other)
            shown = box.read_box()
            self.assert_box(shown, report(NOT_ON_CLIPBOARD, size_line(101, 41)), "warning")
            self.close_box_and_exit(run, shown)
        finally:
            self.assertEqual(holder.finish(), 0)
        self.assertEqual(clipboard.text(), marker)
        self.assertIsNone(clipboard.dib())
        self.assert_bitmap_file((self.cwd / "Retazo.bmp").read_bytes(), self.selection(corner, other))
        self.assert_opened(self.cwd)

    def test_clipboard_manager_gets_either_the_old_contents_or_the_selection_alone(self):
        """A clipboard manager opens the clipboard right after every change, holds it longer than
        the tool waits and puts its text back on an empty clipboard. Holding since the change
        before the run, it keeps the tool out and the old text stays; told of the export's
        change, it finds the selection alone, never its text mixed in."""
        cases = (
            # (name, holds since before the run, corner, other, (width, height), first line, icon)
            ("held since an earlier change", True, (200, 300), (260, 330), (61, 31), NOT_ON_CLIPBOARD,
             "warning"),
            ("holding after the export's change", False, (470, 350), (400, 300), (71, 51), ON_CLIPBOARD,
             "information"),
        )
        for name, held_before, corner, other, (width, height), line, icon in cases:
            with self.subTest(name):
                self.recorder.clear()
                marker = f"kept by the manager {os.getpid()}: {name}"
                prefix = f"{self.event_prefix()}-{int(held_before)}"
                if not held_before:
                    clipboard.mark(marker)
                listener = Peer("clipboard_listener", prefix, 600_000, prefix=prefix)
                try:
                    listener.wait_for("listening")
                    if held_before:
                        clipboard.mark(marker)
                        listener.wait_for("holding")
                    run = self.start_tool()
                    self.select(corner, other)
                    shown = box.read_box()
                    self.assert_box(shown, report(line, size_line(width, height)), icon)
                    listener.wait_for("holding")
                    self.close_box_and_exit(run, shown)
                finally:
                    self.assertEqual(listener.finish(), 0)
                if held_before:
                    self.assertEqual(clipboard.text(), marker)
                    self.assertIsNone(clipboard.dib())
                else:
                    self.assertIsNone(clipboard.text(), "the manager's text is mixed with the selection")
                    formats = clipboard.formats()
                    self.assertEqual(set(formats) - MADE_FROM_A_DIB, {CF_DIB}, f"formats {formats}")
                    self.assert_clipboard_dib(clipboard.dib(), self.selection(corner, other))
                self.assert_opened(self.cwd)


if __name__ == "__main__":
    main()
