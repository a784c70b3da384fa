"""The rig's runner of test programs fails a program that faulted inside a window-system callback
or ended before GoogleTest's final summary, though Wine carried on and the program exited with 0;
it passes one that ran all its tests."""
import os
import subprocess
import unittest
from pathlib import Path

RIG = Path(os.environ["RETAZO_SOURCE"]) / "tests" / "rig"
PROGRAM = Path(os.environ["RETAZO_BUILD"]) / "misbehaving_tests.exe"


def run(runner, test):
    done = subprocess.run([str(RIG / runner), str(PROGRAM), f"--gtest_filter=Misbehaving.{test}"],
                          stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=300)
    return done.returncode, done.stdout + done.stderr


class GoogleTestRunner(unittest.TestCase):
    def test_fails_a_program_that_did_not_run_cleanly_to_its_summary(self):
        cases = (
            # (test, what the runner says, or None where it passes the program)
            ("Passes", None),
            ("FaultsInsideAWindowProcedure", "gtest-run: an exception was reported"),
            ("EndsTheProcessBeforeTheSummary", "gtest-run: the program did not reach"),
        )
        for test, complaint in cases:
            with self.subTest(test):
                code, _ = run("wine-run", test)
                self.assertEqual(code, 0, "under Wine alone the program exits with 0")
                code, output = run("gtest-run", test)
                if complaint is None:
                    self.assertEqual(code, 0, output)
                else:
                    self.assertNotEqual(code, 0, output)
                    self.assertIn(complaint, output)


if __name__ == "__main__":
    unittest.main(verbosity=2)
