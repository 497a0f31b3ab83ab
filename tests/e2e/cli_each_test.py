#!/usr/bin/env python3
"""folivane-cli --each (one book per source) and --chinese-script, from the command line.

Usage: cli_each_test.py FOLIVANE_CLI TEST_DATA_FOLDER
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

CLI, DATA = (os.path.abspath(p) for p in sys.argv[1:3])
sys.path.insert(0, DATA)
import cli_suite  # noqa: E402  (found through DATA)

del sys.argv[1:3]


def run(*args, cwd=None):
    return subprocess.run([CLI, *args], capture_output=True, text=True, cwd=cwd)


def book_text(path):
    with zipfile.ZipFile(path) as book:
        return "".join(book.read(name).decode() for name in sorted(book.namelist())
                       if name.endswith(".xhtml") or name.endswith(".html"))


class EachTest(unittest.TestCase):

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)
        self.dir = self.tmp.name
        self.novels = os.path.join(self.dir, "novels")
        self.out = os.path.join(self.dir, "books")
        os.mkdir(self.novels)
        os.mkdir(self.out)

    def write(self, path, text):
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def shelf(self):
        """Five texts in a folder, two of one title, and a sixth source that cannot be read
        (a pipe: not a regular file, whoever runs the test)."""
        for name, text in [("1.txt", "Title: One\nChapter 1\nText.\n"),
                           ("10.txt", "Title: Ten\nChapter 1\nText.\n"),
                           ("2.txt", "Title: Two\nChapter 1\nText.\n"),
                           ("same-a.txt", "Title: Same\nChapter 1\nA.\n"),
                           ("same-b.txt", "Title: Same\nChapter 1\nB.\n")]:
            self.write(os.path.join(self.novels, name), text)
        broken = os.path.join(self.dir, "broken.txt")
        os.mkfifo(broken)
        # An earlier run's book, which --skip-existing leaves.
        self.write(os.path.join(self.out, "Two.epub"), "old")
        return broken

    def test_each_source_its_book_and_the_failure_named(self):
        broken = self.shelf()
        result = run("--each", "-o", self.out, self.novels, broken)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertEqual(sorted(os.listdir(self.out)),
                         ["One.epub", "Ten.epub", "Two.epub", "same-a.epub", "same-b.epub"])
        for name in os.listdir(self.out):
            with zipfile.ZipFile(os.path.join(self.out, name)) as book:
                self.assertIsNone(book.testzip())
        self.assertEqual(len(re.findall(r"^Made ", result.stdout, re.M)), 5)
        self.assertIn("broken.txt", result.stderr)
        self.assertIn("Not a regular file", result.stderr)
        self.assertIn("5 made, 0 skipped, 1 failed", result.stdout)

    def test_skip_existing_leaves_the_book_there(self):
        broken = self.shelf()
        result = run("--each", "--skip-existing", "--jobs", "1", "-o", self.out, self.novels,
                     broken)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn("4 made, 1 skipped, 1 failed", result.stdout)
        with open(os.path.join(self.out, "Two.epub")) as old:
            self.assertEqual(old.read(), "old")
        # In natural order, one at a time: 1, 2, 10.
        made = re.findall(r'from "[^"\n]*/([^/"\n]*)"', result.stdout)
        self.assertEqual(made, ["1.txt", "10.txt", "same-a.txt", "same-b.txt"])

    def test_every_book_made_exits_zero(self):
        self.write(os.path.join(self.novels, "a.txt"), "Chapter 1\nText.\n")
        result = run("--each", self.novels, cwd=self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(os.path.isfile(os.path.join(self.dir, "a.epub")))

    def test_ctrl_c_leaves_only_finished_books(self):
        line = "这里没有后来的头发，网络很慢。" * 20 + "\n"
        for i in range(40):
            self.write(os.path.join(self.novels, f"n{i}.txt"),
                       "".join(f"第{c}章 山路\n" + line * 40 for c in range(1, 60)))
        process = subprocess.Popen([CLI, "--each", "--jobs", "2", "--chinese-script", "taiwan",
                                    "-o", self.out, self.novels],
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        first = process.stdout.readline()
        process.send_signal(signal.SIGINT)
        process.communicate(timeout=120)
        self.assertEqual(process.returncode, 128 + signal.SIGINT, first)
        books = os.listdir(self.out)
        self.assertGreaterEqual(len(books), 1)
        self.assertLess(len(books), 40)
        for name in books:
            self.assertTrue(name.endswith(".epub"), name)
            with zipfile.ZipFile(os.path.join(self.out, name)) as book:
                self.assertIsNone(book.testzip())

    def test_usage_errors(self):
        for args, words in [(["--jobs", "2", "a.txt"], "--jobs needs --each"),
                            (["--each", "--jobs", "0", "a"], "--jobs takes"),
                            (["--each", "--list", "a"], "--list"),
                            (["--chinese-script", "kanji", "a.txt"], "--chinese-script takes"),
                            (["folder"], "not a .txt file")]:
            result = run(*args, cwd=self.dir)
            self.assertEqual(result.returncode, 2, args)
            self.assertIn(words, result.stderr)


@unittest.skipUnless(shutil.which("opencc"), "OpenCC's command is not installed")
class ScriptTest(unittest.TestCase):

    def test_book_text_is_what_openccs_command_makes(self):
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "软件.txt")
            lines = "这里没有后来的头发。\n鼠标和打印机的软件在网络上。\n"
            with open(source, "w", encoding="utf-8") as f:
                f.write("第一章 软件\n" + lines)
            expected = subprocess.run(["opencc", "-c", "s2twp"], input=lines, text=True,
                                      capture_output=True, check=True).stdout.split("\n")
            book = os.path.join(folder, "book.epub")
            result = run("--chinese-script", "taiwan", "-o", book, source)
            self.assertEqual(result.returncode, 0, result.stderr)
            text = book_text(book)
            for line in filter(None, expected):
                self.assertIn(line, text)
            self.assertIn("第一章 軟體", text)
            with zipfile.ZipFile(book) as epub:
                opf = next(epub.read(n).decode() for n in epub.namelist() if n.endswith(".opf"))
            self.assertIn("<dc:language>zh-TW</dc:language>", opf)


if __name__ == "__main__":
    cli_suite.main()
