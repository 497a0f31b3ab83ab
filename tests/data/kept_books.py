"""Books that a command-line test suite keeps as it goes, checked together at its end: the
validator is slow to start, so one run of check_book.py serves a whole suite."""
import json
import os
import shutil
import subprocess
import sys
import tempfile

# Every book a suite makes is made once in each EPUB version the converter writes.
EPUB_VERSIONS = (2, 3)


def per_epub_version(case):
    """Copies of the TestCase class `case`, one for each EPUB version, named for it and with
    its `epub_version` set."""
    return [type(f"{case.__name__}Epub{v}", (case,), {"epub_version": v}) for v in EPUB_VERSIONS]

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
