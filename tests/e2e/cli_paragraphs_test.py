#!/usr/bin/env python3
"""Paragraphs through folivane-cli: a hard-wrapped English novel with an archive's header and
licence, a one-paragraph-per-line Chinese novel, the user's style sheet and indent; every book
in both EPUB versions, checked by epubcheck and pandoc at the end.

Usage: cli_paragraphs_test.py FOLIVANE_CLI TEST_DATA_FOLDER
"""
import os
import random
import re
import struct
import sys
import textwrap
import unittest
import xml.etree.ElementTree as ET
import zipfile
import zlib

CLI, DATA = (os.path.abspath(p) for p in sys.argv[1:3])
sys.path.insert(0, DATA)
import cli_suite  # noqa: E402  (found through DATA)
from kept_books import KeptBooks, ScratchCliCase, per_epub_version  # noqa: E402
from check_book import OPF, XHTML  # noqa: E402

KEPT = KeptBooks()
del sys.argv[1:3]

WORDS = ("the river was slow and brown she remembered an evening when lanterns burned over "
         "water quietly nobody in village knew who had lit them first").split()
HAN = "江水慢慢地流着她记得那个夜晚灯笼在水面上静静燃烧没有人知道是谁先点亮了它们，。"


def sentence(rng, count):
    words = [rng.choice(WORDS) for _ in range(count)]
    return " ".join(words).capitalize() + "."


def png_picture():
    """A one-pixel PNG, made here rather than kept as a file."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"\0\xff\0\0")) + chunk(b"IEND", b""))


def english_novel(rng):
    """The text of a hard-wrapped novel in an archive's shape, and the paragraphs (headings
    left out) its pages must show: [kind, text]."""
    blocks, shown = [], []

    def paragraph(text, kind="p"):
        blocks.append(textwrap.fill(text, 70))
        shown.append(kind)

    for line in ("The Project Gutenberg eBook of The River Lanterns", "Title: The River Lanterns",
                 "Author: Mara Quill", "Release date: June 1, 2004 [eBook #12345]",
                 "*** START OF THE PROJECT GUTENBERG EBOOK THE RIVER LANTERNS ***"):
        paragraph(line)
    for chapter in ("I", "II", "III"):
        blocks.append(f"CHAPTER {chapter}.")
        for n in range(12):
            paragraph(" ".join(sentence(rng, rng.randint(6, 20)) for _ in range(rng.randint(1, 6))))
            if n == 5:
                blocks.append("Lanterns burn upon the water,\nand the river keeps its word;\n"
                              "  nobody lit them, nobody\n  tells.")
                shown.append("verse")
            if n == 8:
                blocks.append("* * *")
                shown.append("break")
            if n == 10 and chapter == "II":
                blocks.append("")  # three blank lines where one parts paragraphs: a break
                shown.append("gap")
    paragraph("*** END OF THE PROJECT GUTENBERG EBOOK THE RIVER LANTERNS ***")
    for _ in range(4):
        paragraph(" ".join(sentence(rng, rng.randint(8, 16)) for _ in range(4)))
    return "\n\n".join(blocks) + "\n", shown


def chinese_novel(rng):
    """A web novel: a heading line per chapter, one indented paragraph per line."""
    lines, paragraphs = [], 0
    for chapter in ("第一章 渡口", "第二章 夜色", "第三章 归来"):
        lines.append(chapter)
        for _ in range(60):
            lines.append("\u3000\u3000" + "".join(rng.choice(HAN) for _ in range(rng.randint(15, 300))))
            paragraphs += 1
    return "\r\n".join(lines) + "\r\n", paragraphs


def pages(book):
    """The chapter pages of a book in spine order, parsed."""
    with zipfile.ZipFile(book) as archive:
        opf = archive.read("OEBPS/content.opf").decode()
        # The manifest's pages only: the guide names the first one again.
        hrefs = re.findall(r'<item id="txt[0-9]+" href="([0-9]+\.x?html)"', opf)
        return [ET.fromstring(archive.read("OEBPS/" + href)) for href in hrefs]


def paragraph_kinds(book):
    kinds = []
    for page in pages(book):
        for element in page.iter():
            if element.tag == XHTML + "hr":
                kinds.append("gap")
            if element.tag == XHTML + "p":
                verse = element.find(XHTML + "br") is not None
                kinds.append("break" if element.get("class") == "break" else
                             "verse" if verse else "p")
    return kinds


def css_rules(css):
    """The rules of a plain style sheet: selector -> property -> value."""
    css = re.sub(r"/\*.*?\*/", "", css, flags=re.S)
    return {selector.strip(): {name.strip(): value.strip() for name, _, value in
                               (d.partition(":") for d in body.split(";") if d.strip())}
            for selector, body in re.findall(r"([^{}]+)\{([^}]*)\}", css)}


def box_sides(value):
    """The sides a margin or padding shorthand of one to four values gives, by name: a side
    left out repeats the one across from it (right the top, bottom the top, left the right)."""
    parts = value.split()
    while len(parts) < 4:
        parts.append(parts[{1: 0, 2: 0, 3: 1}[len(parts)]])
    return dict(zip(("top", "right", "bottom", "left"), parts))


def without_space(text):
    return re.sub(r"\s+", "", text)


def book_text(book):
    return "".join("".join(page.find(XHTML + "body").itertext()) for page in pages(book))


class CliParagraphsTest(ScratchCliCase):
    """load_tests makes one copy per EPUB version."""
    cli_program = CLI

    def test_wrapped_english_novel_reads_as_its_paragraphs(self):
        text, shown = english_novel(random.Random(1))
        path = self.source("pg12345.txt", text)
        book = os.path.join(self.dir, "river.epub")
        result = self.cli("-o", book, path)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(paragraph_kinds(book), shown)
        self.assertEqual(without_space(book_text(book)), without_space(text))
        with zipfile.ZipFile(book) as archive:
            ncx = archive.read("OEBPS/toc.ncx").decode()
        labels = re.findall(r"<text>([^<]*)</text>", ncx)
        # The book's title, the header page named by its first line (not the title again), the
        # chapters, the licence page.
        self.assertEqual(labels, ["The River Lanterns",
                                  "The Project Gutenberg eBook of The River Lanterns", "CHAPTER I.",
                                  "CHAPTER II.", "CHAPTER III.",
                                  "END OF THE PROJECT GUTENBERG EBOOK THE RIVER LANTERNS"])
        KEPT.keep(book, epub=self.epub_version, title="The River Lanterns", author="Mara Quill",
                  language="en")

    def test_chinese_novel_keeps_one_paragraph_per_line(self):
        text, count = chinese_novel(random.Random(2))
        path = self.source("《渡口》作者：李四.txt", text)
        books = {}
        for style in ("auto", "lines"):
            books[style] = os.path.join(self.dir, style + ".epub")
            result = self.cli("--paragraphs", style, "-o", books[style], path)
            self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(paragraph_kinds(books["auto"]), ["p"] * count)
        self.assertEqual([ET.tostring(p) for p in pages(books["auto"])],
                         [ET.tostring(p) for p in pages(books["lines"])])
        self.assertEqual(without_space(book_text(books["auto"])), without_space(text))
        KEPT.keep(books["auto"], move=True, epub=self.epub_version, title="渡口", author="李四",
                  language="zh-CN")

    def test_own_style_sheet_and_no_indent(self):
        text, _ = english_novel(random.Random(3))
        path = self.source("river.txt", text)
        css = self.source("mine.css", "p { font-size: 1.1em; }\n/* ünïcode */\n")
        book = os.path.join(self.dir, "styled.epub")
        result = self.cli("--css", css, "--indent", "0", "--paragraph-spacing", "0.5",
                          "--title", "Styled", "-o", book, path)
        self.assertEqual(result.returncode, 0, result.stderr)
        with zipfile.ZipFile(book) as archive:
            self.assertEqual(archive.read("OEBPS/css/user.css").decode(),
                             "p { font-size: 1.1em; }\n/* ünïcode */\n")
            main = archive.read("OEBPS/css/main.css").decode()
            opf = ET.fromstring(archive.read("OEBPS/content.opf"))
        self.assertIn("text/css", [item.get("media-type") for item in opf.iter(OPF + "item")
                                   if item.get("href") == "css/user.css"])
        paragraph = css_rules(main)["p"]
        self.assertIn(paragraph["text-indent"], ("0", "0em"))
        self.assertEqual(box_sides(paragraph["margin"])["bottom"], "0.5em")
        for page in pages(book):
            links = [link.get("href") for link in page.iter(XHTML + "link")]
            self.assertEqual(links, ["css/main.css", "css/user.css"])
        KEPT.keep(book, move=True, epub=self.epub_version, title="Styled")

    def test_style_sheet_brings_its_font_and_picture(self):
        text, _ = english_novel(random.Random(4))
        path = self.source("river.txt", text)
        os.makedirs(os.path.join(self.dir, "look", "fonts"))
        for name, data in (("fonts/River Serif.ttf", b"\0\1\0\0" + bytes(64)),
                           ("paper.png", png_picture())):
            with open(os.path.join(self.dir, "look", name), "wb") as f:
                f.write(data)
        css = self.source("look/river.css", "@font-face { font-family: River; "
                          "src: url('fonts/River%20Serif.ttf'); }\n"
                          "body { background: url(paper.png); font-family: River; }\n")
        book = os.path.join(self.dir, "fonts.epub")
        result = self.cli("--css", css, "--title", "Fonts", "-o", book, path)
        self.assertEqual(result.returncode, 0, result.stderr)
        with zipfile.ZipFile(book) as archive:
            user = archive.read("OEBPS/css/user.css").decode()
            self.assertEqual(archive.read("OEBPS/css/files/paper.png"), png_picture())
            self.assertIn("OEBPS/css/files/River_Serif.ttf", archive.namelist())
        self.assertIn('url("files/River_Serif.ttf")', user)
        # epubcheck finds every file the sheet names in the book and in its manifest.
        KEPT.keep(book, move=True, epub=self.epub_version, title="Fonts")

    def test_paragraph_options_refused_with_the_reason(self):
        path = self.source("a.txt", "text\n")
        remote = self.source("remote.css", "@font-face { src: url(https://fonts.example/a.woff2) }")
        latin1 = os.path.join(self.dir, "latin1.css")
        with open(latin1, "wb") as f:
            f.write("p { content: 'é' }".encode("latin-1"))
        for args, said in ((["--paragraphs", "words"], "--paragraphs takes auto, lines"),
                           (["--indent", "-1"], "--indent takes a length in em"),
                           (["--indent", "11"], "--indent takes a length in em"),
                           (["--paragraph-spacing", "1,5"], "--paragraph-spacing takes"),
                           (["--css", latin1], "is not UTF-8 text"),
                           (["--css", remote], "on the network"),
                           (["--css", os.path.join(self.dir, "none.css")], "none.css")):
            with self.subTest(args):
                book = os.path.join(self.dir, "refused.epub")
                result = self.cli(*args, "-o", book, path)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertIn(said, result.stderr)
                self.assertFalse(os.path.exists(book))

    def test_style_sheet_is_never_the_output(self):
        path = self.source("a.txt", "text\n")
        css = self.source("mine.css", "p { margin: 0 }")
        result = self.cli("--css", css, "-o", css, path)
        self.assertEqual(result.returncode, 2, result.stderr)
        self.assertIn("would replace its style sheet", result.stderr)
        with open(css) as f:
            self.assertEqual(f.read(), "p { margin: 0 }")


def load_tests(loader, tests, pattern):
    suite = unittest.TestSuite()
    for case in per_epub_version(CliParagraphsTest):
        suite.addTests(loader.loadTestsFromTestCase(case))
    return suite


if __name__ == "__main__":
    cli_suite.main(KEPT)
