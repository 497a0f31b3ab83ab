#!/usr/bin/env python3
"""folivane-cli from the outside: arguments, exit codes, messages, and the books it writes.

Usage: cli_test.py FOLIVANE_CLI TEST_DATA_FOLDER SAMPLES_FOLDER
"""
import glob
import os
import re
import pty
import subprocess
import sys
import tempfile
import unittest
import zipfile

CLI, DATA, SAMPLES = (os.path.abspath(p) for p in sys.argv[1:4])
sys.path.insert(0, DATA)
import cli_suite  # noqa: E402  (found through DATA)
from kept_books import KeptBooks, per_epub_version  # noqa: E402

KEPT = KeptBooks()
del sys.argv[1:4]


def run(*args, cwd=None):
    return subprocess.run([CLI, *args], capture_output=True, text=True, cwd=cwd)


class ScratchTest(unittest.TestCase):

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.dir = self.tmp.name
        self.addCleanup(self.tmp.cleanup)

    def source(self, name, data):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(data)
        return path


class CliTest(ScratchTest):

    def test_help_and_version(self):
        help_run = run("--help")
        self.assertEqual(help_run.returncode, 0)
        self.assertIn("Usage: folivane-cli", help_run.stdout)
        self.assertIn("--epub-version 2|3", help_run.stdout)
        version = run("--version")
        self.assertEqual(version.returncode, 0)
        self.assertIn("1.0", version.stdout)

    def test_usage_errors_exit_2_with_the_reason_and_a_pointer_to_help(self):
        cases = {
            "no sources": [],
            "not a text file": ["book.pdf"],
            "unknown option": ["--colour", "a.txt"],
            "option without value": ["a.txt", "--title"],
            "unknown code page": ["--encoding", "NO-SUCH-CODEPAGE", "a.txt"],
            "empty output": ["-o", "", "a.txt"],
        }
        for name, args in cases.items():
            with self.subTest(name):
                result = run(*args, cwd=self.dir)
                self.assertEqual(result.returncode, 2, result.stderr)
                # The reason stays on screen: two lines, not the whole help.
                lines = result.stderr.splitlines()
                self.assertEqual(len(lines), 2, result.stderr)
                self.assertTrue(lines[0].startswith("folivane-cli: "), result.stderr)
                self.assertIn("--help", lines[1])
                self.assertEqual(os.listdir(self.dir), [])

    def test_epub_version_takes_2_or_3(self):
        text = self.source("a.txt", b"text")
        out = os.path.join(self.dir, "out.epub")
        for value in ("4", "x", "", "2.0", " 3", "03"):
            for args in (["--epub-version", value], ["--epub-version=" + value]):
                with self.subTest(args):
                    result = run(*args, "-o", out, text)
                    self.assertEqual(result.returncode, 2, result.stderr)
                    self.assertIn(f'--epub-version takes 2 or 3, not "{value}"', result.stderr)
                    self.assertFalse(os.path.exists(out))
        # Accepted in either form; without it the book is EPUB 2.
        for args, version in (([], 2), (["--epub-version=3"], 3), (["--epub-version", "2"], 2)):
            with self.subTest(args):
                result = run("-q", *args, "-o", out, text)
                self.assertEqual(result.returncode, 0, result.stderr)
                KEPT.keep(out, move=True, epub=version, chapters=[{"name": "a", "lines": ["text"]}])

    def test_failure_exits_1_with_the_reason_and_writes_nothing(self):
        out = os.path.join(self.dir, "never.epub")
        missing = os.path.join(self.dir, "missing.txt")
        result = run("-o", out, missing)
        self.assertEqual(result.returncode, 1)
        self.assertIn("Convert Unsuccessful!", result.stderr)
        self.assertIn("missing.txt", result.stderr)
        self.assertFalse(os.path.exists(out))

    def test_progress_on_a_terminal_ends_with_the_whole_book_packed(self):
        sources = [self.source(f"{name}.txt", b"text") for name in ("one", "two", "three")]
        out = os.path.join(self.dir, "terminal.epub")
        screen, terminal = pty.openpty()
        with subprocess.Popen([CLI, "-o", out, *sources], stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=terminal) as program:
            os.close(terminal)
            shown = b""
            while True:
                try:
                    chunk = os.read(screen, 4096)
                except OSError:  # EIO: the program has closed its end
                    break
                if not chunk:
                    break
                shown += chunk
            program.communicate()
        os.close(screen)
        self.assertEqual(program.returncode, 0, shown)
        with zipfile.ZipFile(out) as book:
            files = len(book.namelist())
        # One bar over the whole job, drawn over itself from the start, never going back; the
        # last drawing stays on the screen, on a line of its own.
        text = shown.decode()
        self.assertTrue(text.endswith("\r\n"), repr(text[-80:]))
        drawings = [d for d in text[:-2].split("\r") if d]
        self.assertIn("Reading the files...", drawings[0])
        shares = [int(re.search(r"\] +(\d+)% ", d).group(1)) for d in drawings]
        self.assertEqual(shares, sorted(shares))
        self.assertIn("100% Checking the book...", drawings[-1])
        self.assertIn(f"Packing the book... {files}/{files}", text)
        self.assertIn('3/3 "three" is building', text)
        KEPT.keep(out, move=True, chapters=[{"name": n} for n in ("one", "two", "three")])


class CliBookTest(ScratchTest):
    """The books folivane-cli writes; load_tests makes one copy per EPUB version."""
    epub_version = 2

    def cli(self, *args, cwd=None):
        return run("--epub-version", str(self.epub_version), *args, cwd=cwd)

    def keep_book(self, path, **expected):
        KEPT.keep(path, move=True, epub=self.epub_version, **expected)

    def test_samples_become_a_valid_book(self):
        out = os.path.join(self.dir, "demo.epub")
        samples = sorted(glob.glob(os.path.join(SAMPLES, "*.txt")))
        result = self.cli("--title", "Samples", "--author", "Q", "-o", out, *samples)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout, "Convert Succeeded!\n")
        # The first sample opens with its title, the others with a chapter heading.
        names = ["01-The Lamplighter", "第二章 园中", "Chapter Three: Letters < and > Numbers"]
        for name in names:
            self.assertIn(f'"{name}" is building, Please wait...', result.stderr)
        self.keep_book(out, title="Samples", author="Q",
                       chapters=[{"name": name} for name in names])

    def test_default_output_is_the_title_or_myepub(self):
        text = self.source("story.TXT", "Once.\n".encode())
        result = self.cli("--quiet", "--title", "My/Story", text, cwd=self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr, "")
        # The page of a book of one source is labelled by the book's title.
        self.keep_book(os.path.join(self.dir, "My_Story.epub"), title="My/Story",
                       chapters=[{"name": "My/Story", "lines": ["Once."]}])
        result = self.cli("-q", text, cwd=self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.keep_book(os.path.join(self.dir, "myepub.epub"), title="story")  # named after its file

    def test_double_dash_allows_a_source_that_begins_with_a_dash(self):
        self.source("-dash.txt", b"dash")
        result = self.cli("-q", "-o", "out.epub", "--", "-dash.txt", cwd=self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.keep_book(os.path.join(self.dir, "out.epub"),
                       chapters=[{"name": "-dash", "lines": ["dash"]}])

    def test_forced_code_page_decodes_sources_that_are_not_utf8(self):
        text = "第一章\r\n山高水长".encode("gbk")
        source = self.source("gbk.txt", text)
        out = os.path.join(self.dir, "gbk.epub")
        result = self.cli("-q", "--encoding", "GB18030", "-o", out, source)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.keep_book(out, chapters=[{"name": "第一章", "lines": ["第一章", "山高水长"]}])


def load_tests(loader, tests, pattern):
    suite = unittest.TestSuite()
    for case in per_epub_version(CliBookTest):
        suite.addTests(loader.loadTestsFromTestCase(case))
    suite.addTests(loader.loadTestsFromTestCase(CliTest))
    return suite


if __name__ == "__main__":
    cli_suite.main(KEPT)
