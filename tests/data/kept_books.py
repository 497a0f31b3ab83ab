"""Books that a command-line test suite keeps as it goes, checked together at its end: the
validator is slow to start, so one run of check_book.py serves a whole suite."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

# Every book a suite makes is made once in each EPUB version the converter writes.
EPUB_VERSIONS = (2, 3)


def per_epub_version(case):
    """Copies of the TestCase class `case`, one for each EPUB version, named for it and with
    its `epub_version` set."""
    return [type(f"{case.__name__}Epub{v}", (case,), {"epub_version": v}) for v in EPUB_VERSIONS]


class ScratchCliCase(unittest.TestCase):
    """A case that runs folivane-cli (`cli_program`, set by its suite) in a scratch folder of
    its own, which is also the conversions' TMPDIR, in the case's `epub_version`."""
    cli_program = None
    epub_version = 2

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)
        self.dir = self.tmp.name
        self.env = dict(os.environ, TMPDIR=self.dir, LC_ALL="C.UTF-8")

    def cli(self, *args):
        return subprocess.run([self.cli_program, "-q", "--epub-version", str(self.epub_version),
                               *args], capture_output=True, text=True, env=self.env, timeout=300)

    def source(self, name, data):
        """Writes a source into the scratch folder: bytes as they are, text as UTF-8."""
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(data.encode("utf-8") if isinstance(data, str) else data)
        return path


CHECKER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_book.py")


class KeptBooks:
    def __init__(self):
        self._folder = tempfile.TemporaryDirectory()  # removed when the suite's process ends
        self.books = []

    def keep(self, path, move=False, **expected):
        """Keeps a copy of the book at `path` (or the book itself, moved) with what
        check_book.py should find in it."""
        kept = os.path.join(self._folder.name, f"{len(self.books)}.epub")
        (os.replace if move else shutil.copyfile)(path, kept)
        self.books.append(dict(path=kept, **expected))

    def check(self):
        """Runs the checker over every kept book; returns its report, empty when all pass."""
        expectations = os.path.join(self._folder.name, "expectations.json")
        with open(expectations, "w", encoding="utf-8") as f:
            json.dump({"books": self.books}, f)
        check = subprocess.run([sys.executable, CHECKER, expectations],
                               capture_output=True, text=True)
        return "" if check.returncode == 0 else check.stdout + check.stderr or "check failed"
