"""What the command-line suites share: the scratch folders a case runs folivane-cli in, and a
runner that runs a suite whole or group by group.

A group is the cases of one TestCase class, as the suite's load_tests (when it has one) hands
them out. ctest asks a suite for its groups (`SUITE ARGS... --groups`) and runs each as a test
of its own (`SUITE ARGS... GROUP`), so that a long suite is spread over the cores and a case
added to a suite runs without a change to the build. The books a run kept are checked together
after its cases: the validator is slow to start, so it starts once a run.
"""
import os
import subprocess
import sys
import tempfile
import unittest

NOBODY = 65534


def sanitized(program):
    """Whether `program` was built with AddressSanitizer or ThreadSanitizer, which need
    descriptors and address space of their own."""
    linked = subprocess.run(["ldd", program], capture_output=True, text=True).stdout
    return any(name in linked for name in ("libasan", "libtsan"))


def write(path, data):
    """Writes bytes to `path` (str or bytes), making its folders; returns the path."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    return path


class OutputFoldersCase(unittest.TestCase):
    """A case with a scratch folder of its own holding "tmp", the runs' private TMPDIR, and
    "out", where their books go; sources go under "in"."""

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)
        self.dir = self.tmp.name
        self.temp = os.path.join(self.dir, "tmp")
        self.out = os.path.join(self.dir, "out")
        os.makedirs(self.temp)
        os.makedirs(self.out)
        self.env = dict(os.environ, TMPDIR=self.temp, LC_ALL="C.UTF-8")

    def source(self, name, data):
        """Writes a source under "in"; a name in bytes gives a path in bytes."""
        folder = os.fsencode(self.dir) if isinstance(name, bytes) else self.dir
        return write(os.path.join(folder, b"in" if isinstance(name, bytes) else "in", name),
                     data)


class KeptBooksCheck(unittest.TestCase):
    """The books the run's cases kept, checked by every checker in one go."""
    kept = None

    def test_books_kept_pass_every_checker(self):
        if not self.kept.books:
            self.skipTest("no case kept a book")
        self.assertEqual(self.kept.check(), "")


def cases(suite):
    for test in suite:
        if isinstance(test, unittest.TestSuite):
            yield from cases(test)
        else:
            yield test


def main(kept=None):
    """Runs the cases of the __main__ module (through its load_tests, when it has one): all,
    or those of the groups named on the command line; `--groups` lists the groups instead.
    `kept` (a KeptBooks) is checked after the cases."""
    module = sys.modules["__main__"]
    found = list(cases(unittest.TestLoader().loadTestsFromModule(module)))
    groups = list(dict.fromkeys(type(test).__name__ for test in found))
    asked = sys.argv[1:]
    if asked == ["--groups"]:
        print("\n".join(groups))
        return
    unknown = sorted(set(asked) - set(groups))
    if unknown:
        sys.exit(f"{sys.argv[0]}: no group {', '.join(unknown)} (groups: {', '.join(groups)})")
    suite = unittest.TestSuite(test for test in found
                               if not asked or type(test).__name__ in asked)
    if kept is not None:
        check = type("KeptBooksCheck", (KeptBooksCheck,), {"kept": kept})
        suite.addTest(check("test_books_kept_pass_every_checker"))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)
