"""On a platform that reports itself as Windows 98 the tool refuses to run: one box saying so,
then exit code 255 and nothing else."""

import shutil
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from e2e import box  # noqa: E402
from e2e.programs import ToolRun  # noqa: E402
from e2e.session import TOOL, WorkDir, import_registry  # noqa: E402

COPY = "RetazoOnWin98.exe"


class PlatformRefusal(unittest.TestCase):
    def test_win98_is_refused(self):
        work = WorkDir(type(self).__name__)
        # The platform is chosen per executable name, so only this copy sees Windows 98.
        copy = work.path / COPY
        shutil.copyfile(TOOL, copy)
        import_registry({rf"HKEY_CURRENT_USER\Software\Wine\AppDefaults\{COPY}": {"Version": "win98"}},
                        work.path)
        cwd = work.sub("run")
        run = ToolRun(cwd, product=copy)
        try:
            shown = box.read_box()
            self.assertEqual((shown.title, shown.text, shown.icon), ("Error", "Win98 No Support", "none"))
            self.assertEqual([button[0] for button in shown.buttons], ["OK"])
            box.close_box(shown)
            self.assertEqual(run.wait_exit(), 255)
        finally:
            run.kill()
        self.assertEqual(run.seh_errors(), [])
        self.assertEqual(sorted(path.name for path in cwd.iterdir()), ["tool.stderr", "tool.stdout"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
