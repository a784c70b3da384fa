"""The release zip that scripts/package.sh leaves: the shipped executable, the licence and a
read-me with Windows line ends, and SHA-256 sums that match them."""
import hashlib
import os
import re
import unittest
import zipfile
from pathlib import Path

SOURCE = Path(os.environ["RETAZO_SOURCE"])
PRODUCT = Path(os.environ["RETAZO_PRODUCT"])
ZIP = SOURCE / "dist" / f"Retazo-{os.environ['RETAZO_VERSION']}-win32.zip"
TEXTS = ("LICENSE.txt", "README.txt")


def sha256(data):
    return hashlib.sha256(data).hexdigest()


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not ZIP.exists():
            raise RuntimeError(f"{ZIP} is missing: scripts/package.sh makes it")
        with zipfile.ZipFile(ZIP) as archive:
            cls.members = {name: archive.read(name) for name in archive.namelist()}

    def test_holds_the_executable_the_licence_the_read_me_and_the_sums(self):
        self.assertEqual(sorted(self.members), sorted(["Retazo.exe", *TEXTS, "SHA256SUMS"]))

    def test_executable_is_the_shipped_one(self):
        self.assertEqual(sha256(PRODUCT.read_bytes()), sha256(self.members["Retazo.exe"]))

    def test_sums_match_every_other_file(self):
        listed = dict(re.fullmatch(r"([0-9a-f]{64})  (\S+)", line).group(2, 1)
                      for line in self.members["SHA256SUMS"].decode("ascii").splitlines())
        self.assertEqual({name: sha256(data) for name, data in self.members.items()
                          if name != "SHA256SUMS"}, listed)

    def test_texts_have_windows_line_ends_and_the_licence_is_ours(self):
        for name in TEXTS:
            text = self.members[name]
            self.assertEqual([], re.findall(rb".{0,20}(?<!\r)\n", text), f"bare line ends in {name}")
        licence = (SOURCE / "LICENSE").read_bytes().replace(b"\n", b"\r\n")
        self.assertEqual(licence, self.members["LICENSE.txt"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
