#!/usr/bin/env python3
"""Books whose chapters folivane-cli finds at heading lines: the table of contents (labels and
nesting), the text line for line, the language, and every checker's approval.

Usage: cli_chapters_test.py FOLIVANE_CLI TEST_DATA_FOLDER
"""
import os
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
import zipfile

CLI, DATA = (os.path.abspath(p) for p in sys.argv[1:3])
sys.path.insert(0, DATA)
import cli_suite  # noqa: E402  (found through DATA)
from kept_books import KeptBooks, per_epub_version  # noqa: E402
from check_book import NCX, OPS, XHTML, nav_tree, ncx_tree  # noqa: E402

KEPT = KeptBooks()
del sys.argv[1:3]

INDENT = " \t\u3000"


def page_lines(text):
    """The headings and paragraphs a text of one paragraph per line gives: its non-blank
    lines without their indentation."""
    lines = text.replace("\r\n", "\n").split("\n")
    return [line.lstrip(INDENT) for line in lines if line.strip(INDENT)]


def prose(sentences, count):
    return [f"\u3000\u3000{sentences[i % len(sentences)]}" for i in range(count)]


ZH = ["天刚亮，我们就从城里出发，沿着河边一直走到中午。", "河上起了雾，渡口的船家还没有醒。",
      "他说这是最后一次，我却不信。"]
JA = ["ある日のこと、私は古い町を歩いていた。", "雨が降り始めたので、小さな喫茶店に入った。",
      "そこで出会ったのは、昔の友人だった。"]
EN = ["The lamp was lit at dusk, as it had been for forty years.",
      "Nobody in the village remembered who had lit it first.", "She closed the door behind her."]

# Each case: sources (file name, text, encoding), the table of contents, the language. The
# text before the first heading is labelled with the book's title (None in the table).
CASES = {
    "gbk-volumes": (
        [("长安旧事.txt", "\n".join(["长安旧事", "", "第一卷 风起", "第一章 渡口", *prose(ZH, 6),
                                   "第二章　夜色", *prose(ZH, 5), "第二卷 云涌", "",
                                   "第三章 归来", *prose(ZH, 4)]) + "\n", "gbk")],
        [[None, []],
         ["第一卷 风起", [["第一章 渡口", []], ["第二章 夜色", []]]],
         ["第二卷 云涌", [["第三章 归来", []]]]],
        "zh-CN"),
    "english-contents-and-foreword": (
        [("lamplighter.txt", "\n".join(["The Lamplighter", "", "Foreword", *prose(EN, 3), "",
                                        "Contents", "Chapter 1", "Chapter 2", "Chapter 3", "",
                                        "Chapter 1", *prose(EN, 5), "Chapter 2", *prose(EN, 4),
                                        "Chapter 3: The Return", *prose(EN, 4)]), "utf-8")],
        [[None, []], ["Chapter 1", []], ["Chapter 2", []],
         ["Chapter 3: The Return", []]],
        "en"),
    "japanese": (
        [("旅.txt", "\n".join(["第一章 旅立ち", *prose(JA, 5), "第二章 雨の町", *prose(JA, 5),
                              "終章", *prose(JA, 3)]), "utf-8-sig")],
        [["第一章 旅立ち", []], ["第二章 雨の町", []], ["終章", []]],
        "ja"),
    "files-opening-with-headings": (
        [("01.txt", "\n".join(["Prologue", *prose(EN, 3)]), "utf-8"),
         ("02.txt", "\n".join(["CHAPTER ONE", *prose(EN, 4)]), "utf-16"),
         ("03.txt", "\n".join(["Chapter Two - The Road", *prose(EN, 4)]), "utf-8")],
        [["Prologue", []], ["CHAPTER ONE", []], ["Chapter Two - The Road", []]],
        "en"),
    "no-headings": (  # the one page of a book of one source is labelled by its title
        [("plain.txt", "\n".join(prose(EN, 6)), "utf-8")],
        [[None, []]],
        "en"),
}


def write_sources(folder, name):
    """Writes the sources of a case into `folder`; returns their paths and the lines of text
    their pages show."""
    paths, text = [], []
    for file_name, content, encoding in CASES[name][0]:
        path = os.path.join(folder, file_name)
        with open(path, "wb") as f:
            f.write(content.encode(encoding))
        paths.append(path)
        text += page_lines(content)
    return paths, text


class CliChaptersTest(unittest.TestCase):
    """load_tests makes one copy per EPUB version."""
    epub_version = 2

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.addCleanup(self.tmp.cleanup)
        self.dir = self.tmp.name
        # The language of Latin-script text comes from the locale; "C" means English.
        self.env = dict(os.environ, TMPDIR=self.dir, LC_ALL="C.UTF-8")

    def cli(self, *args, timeout=None):
        return subprocess.run([CLI, "-q", "--epub-version", str(self.epub_version), *args],
                              capture_output=True, text=True, env=self.env, timeout=timeout)

    def keep(self, book, **expected):
        KEPT.keep(book, move=True, epub=self.epub_version, **expected)

    def convert(self, name, *options):
        _, toc, language = CASES[name]
        paths, text = write_sources(self.dir, name)
        book = os.path.join(self.dir, name + ".epub")
        result = self.cli("--title", name, "-o", book, *options, *paths, timeout=300)
        self.assertEqual(result.returncode, 0, result.stderr)
        toc = with_title(toc, name)
        self.keep(book, title=name, toc=toc, text=text, language=language)

    def test_each_book_has_its_chapters_text_and_language(self):
        for name in CASES:
            with self.subTest(name):
                self.convert(name)

    def test_chapters_by_file_and_a_named_language(self):
        sources, _, _ = CASES["gbk-volumes"]
        path = os.path.join(self.dir, "novel.txt")
        with open(path, "wb") as f:
            f.write(sources[0][1].encode("gbk"))
        book = os.path.join(self.dir, "files.epub")
        result = self.cli("--chapters", "files", "--language", "zh-hant-tw", "-o", book, path)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.keep(book, toc=[["novel", []]], language="zh-Hant-TW")

    def test_own_patterns_and_their_mistakes(self):
        path = os.path.join(self.dir, "own.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(["== One ==", *prose(EN, 3), "== Two ==", *prose(EN, 3)]))
        book = os.path.join(self.dir, "own.epub")
        result = self.cli("--chapter-pattern", r"^== \w+ ==$", "-o", book, path)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.keep(book, toc=[["== One ==", []], ["== Two ==", []]])
        for args, said in ((["--chapter-pattern", "第("], "missing closing parenthesis"),
                           (["--volume-pattern", "[z-a]"], "range out of order"),
                           (["--chapters", "some"], "--chapters"),
                           (["--language", "zh CN"], "is not a language tag")):
            with self.subTest(args):
                result = self.cli(*args, "-o", book, path)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertIn(said, result.stderr)


    def test_heading_length_takes_1_to_1000(self):
        long_heading = "第一章 " + "渡" * 40  # longer than the 40 characters of the default
        path = os.path.join(self.dir, "lengths.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(["序", *prose(ZH, 2), long_heading, *prose(ZH, 2)]))
        for length, toc in (("1", [["序", []]]), ("1000", [["序", []], [long_heading, []]])):
            with self.subTest(length):
                book = os.path.join(self.dir, f"length-{length}.epub")
                result = self.cli("--max-heading-length", length, "-o", book, path)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.keep(book, toc=toc)
        for length in ("0", "1001"):
            with self.subTest(length):
                book = os.path.join(self.dir, f"length-{length}.epub")
                result = self.cli("--max-heading-length", length, "-o", book, path)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertIn("--max-heading-length takes a number from 1 to 1000", result.stderr)
                self.assertFalse(os.path.exists(book))


class NavigationDocumentTest(unittest.TestCase):

    def test_contents_nest_as_in_toc_ncx(self):
        # Volumes holding chapters, and chapters only.
        for name in ("gbk-volumes", "japanese"):
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                paths, _ = write_sources(folder, name)
                book = os.path.join(folder, "book.epub")
                result = subprocess.run([CLI, "-q", "--epub-version", "3", "-o", book, *paths],
                                        capture_output=True, text=True,
                                        env=dict(os.environ, TMPDIR=folder, LC_ALL="C.UTF-8"))
                self.assertEqual(result.returncode, 0, result.stderr)
                with zipfile.ZipFile(book) as archive:
                    nav = ET.fromstring(archive.read("OEBPS/nav.xhtml"))
                    ncx = ET.fromstring(archive.read("OEBPS/toc.ncx"))
                toc = next(e for e in nav.iter(XHTML + "nav") if e.get(OPS + "type") == "toc")
                found = nav_tree(toc.find(XHTML + "ol"))
                self.assertEqual(found, ncx_tree(ncx.find(NCX + "navMap")))
                # Without --title the book is named after its first file.
                title = os.path.splitext(CASES[name][0][0][0])[0]
                self.assertEqual(labels(found), with_title(CASES[name][1], title))
                pages = [target for entry in found for target in targets(entry)]
                self.assertEqual(pages, [f"{i}.xhtml" for i in range(len(pages))])


def with_title(toc, title):
    """The table of contents with the book's title where it names the opening page."""
    return [[title if label is None else label, inner] for label, inner in toc]


def labels(entries):
    """[label, [entries within]] of each (label, target, entries within)."""
    return [[label, labels(within)] for label, _, within in entries]


def targets(entry):
    """The targets of an entry and of those within it, in reading order."""
    return [entry[1]] + [target for inner in entry[2] for target in targets(inner)]


def load_tests(loader, tests, pattern):
    suite = unittest.TestSuite()
    for case in per_epub_version(CliChaptersTest):
        suite.addTests(loader.loadTestsFromTestCase(case))
    suite.addTests(loader.loadTestsFromTestCase(NavigationDocumentTest))
    return suite


if __name__ == "__main__":
    cli_suite.main(KEPT)
