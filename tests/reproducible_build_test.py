"""The product built again from a copy of the sources in another directory is the same file,
byte for byte, as the shipped Retazo.exe: no build path and no build time inside it."""
import hashlib
import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

SOURCE = Path(os.environ["RETAZO_SOURCE"])
PRODUCT = Path(os.environ["RETAZO_PRODUCT"])


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


class ReproducibleBuild(unittest.TestCase):
    def test_a_build_elsewhere_makes_the_same_executable(self):
        with tempfile.TemporaryDirectory(prefix="retazo-elsewhere-") as work:
            source, build = Path(work) / "sources", Path(work) / "b"
            shutil.copytree(SOURCE, source, ignore=shutil.ignore_patterns(
                ".git", "build", "build-*", "dist", "__pycache__"))
            for command in (["cmake", "-S", source, "-B", build, "-G", "Ninja", "-DBUILD_TESTING=OFF",
                             f"-DCMAKE_TOOLCHAIN_FILE={source}/cmake/mingw-i686.cmake"],
                            ["cmake", "--build", build, "--target", "Retazo"]):
                done = subprocess.run(command, capture_output=True, text=True)
                self.assertEqual(0, done.returncode, f"{command}:\n{done.stdout}{done.stderr}")
            self.assertEqual(sha256(PRODUCT), sha256(build / "Retazo.exe"),
                             f"{PRODUCT} and the build in {build} differ")


if __name__ == "__main__":
    unittest.main(verbosity=2)
