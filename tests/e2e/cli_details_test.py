#!/usr/bin/env python3
"""The book's details and its cover through folivane-cli: a table of options read back from
the package document in both EPUB versions, refusals with their reasons, the cover made from
the title or none (with one line) when no font has its characters; every book checked by
epubcheck at the end.

Usage: cli_details_test.py FOLIVANE_CLI TEST_DATA_FOLDER
"""
import os
import sys
import unittest
import xml.etree.ElementTree as ET
import zipfile

CLI, DATA = (os.path.abspath(p) for p in sys.argv[1:3])
sys.path.insert(0, DATA)
from kept_books import KeptBooks, ScratchCliCase, per_epub_version  # noqa: E402  (found through DATA)

KEPT = KeptBooks()
del sys.argv[1:3]

NS = {"opf": "http://www.idpf.org/2007/opf", "dc": "http://purl.org/dc/elements/1.1/"}
OPF_ROLE = "{http://www.idpf.org/2007/opf}role"


def package(book):
    with zipfile.ZipFile(book) as archive:
        return ET.fromstring(archive.read("OEBPS/content.opf"))


def texts(opf, path):
    return [e.text for e in opf.findall(path, NS)]


class CliDetailsTest(ScratchCliCase):
    cli_program = CLI

    def book(self, *options, text="Chapter 1\n\nIt was night.\n"):
        source = self.source("story.txt", text)
        out = os.path.join(self.dir, "story.epub")
        result = self.cli("-o", out, *options, source)
        self.assertEqual(result.returncode, 0, result.stderr)
        return out, result

    def test_options_are_read_back_from_the_package(self):
        description = self.source("about.txt", "\ufeffTwo friends & a river.\nSecond line.")
        # option values -> (XPath, the values it must select)
        rows = {
            "description from a file": (["--description", "@" + description],
                                        ".//dc:description",
                                        ["Two friends & a river.\nSecond line."]),
            "subjects repeated": (["--subject", "Fiction", "--subject=Rivers, lakes"],
                                  ".//dc:subject", ["Fiction", "Rivers, lakes"]),
            "isbn with hyphens": (["--identifier", "ISBN 978-0-306-40615-7"],
                                  ".//dc:identifier[@id='isbn']", ["urn:isbn:9780306406157"]),
            "date": (["--date", "1887-05-01"], ".//dc:date", ["1887-05-01"]),
            "rights": (["--rights", "Public domain"], ".//dc:rights", ["Public domain"]),
            "translator and contributor": (["--translator", "Ann", "--contributor", "Bob"],
                                           ".//dc:contributor", ["Ann", "Bob"]),
            "calibre series": (["--series", "Rivers", "--series-index", "3"],
                               ".//opf:meta[@name='calibre:series_index']", [None]),
        }
        for row, (options, path, values) in rows.items():
            with self.subTest(row):
                out, _ = self.book(*options)
                opf = package(out)
                self.assertEqual(texts(opf, path), values)
                KEPT.keep(out, epub=self.epub_version)
        out, _ = self.book("--series", "Rivers", "--series-index", "3", "--translator", "Ann")
        opf = package(out)
        self.assertEqual(opf.find(".//opf:meta[@name='calibre:series_index']", NS).get("content"),
                         "3")
        if self.epub_version == 3:
            self.assertEqual(texts(opf, ".//opf:meta[@refines='#series']"), ["series", "3"])
            self.assertEqual(texts(opf, ".//opf:meta[@refines='#translator']"), ["trl"])
        else:
            self.assertEqual(opf.find(".//dc:contributor", NS).get(OPF_ROLE), "trl")

    def test_values_the_book_cannot_take_are_refused_with_the_reason(self):
        source = self.source("a.txt", "text")
        rows = {
            "wrong check digit": (["--identifier", "978-0-306-40615-8"], "check digit"),
            "not an isbn": (["--identifier", "B00ABC1234"], "not an ISBN"),
            "no such day": (["--date", "2023-02-29"], "--date"),
            "index without series": (["--series-index", "2"], "--series"),
            "index not a number": (["--series", "S", "--series-index", "two"], "number"),
            "missing description file": (["--description", "@nowhere.txt"], "nowhere.txt"),
            "no-cover with a value": (["--no-cover=yes"], "no value"),
        }
        for row, (options, reason) in rows.items():
            with self.subTest(row):
                result = self.cli(*options, "-o", os.path.join(self.dir, "x.epub"), source)
                self.assertEqual(result.returncode, 2)
                self.assertIn(reason, result.stderr)
                self.assertFalse(os.path.exists(os.path.join(self.dir, "x.epub")))

    def test_cover_is_made_from_the_title_unless_turned_off(self):
        out, result = self.book("--title", "Night River", "--author", "A. Writer")
        self.assertEqual(result.stderr, "")
        with zipfile.ZipFile(out) as archive:
            self.assertEqual(archive.read("OEBPS/cover.png")[:8], b"\x89PNG\r\n\x1a\n")
        KEPT.keep(out, epub=self.epub_version, title="Night River", cover="image/png")
        out, _ = self.book("--no-cover")
        self.assertIsNone(package(out).find(".//opf:item[@id='cover']", NS))

    def test_without_a_font_for_the_title_the_book_has_no_cover_and_one_line(self):
        config = self.source("fonts.conf", '<?xml version="1.0"?><fontconfig><dir>'
                             f'{self.dir}/none</dir><cachedir>{self.dir}/cache</cachedir>'
                             '</fontconfig>')
        self.env["FONTCONFIG_FILE"] = config
        out, result = self.book("--title", "Night River")
        self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
        self.assertIn("no cover", result.stderr)
        self.assertIsNone(package(out).find(".//opf:item[@id='cover']", NS))

    def test_header_gives_date_translator_and_language(self):
        header = ("Title: Le Horla\nAuthor: Guy de Maupassant\nTranslator: Ann Smith\n"
                  "Release date: March 1, 2004 [eBook #11522]\nLanguage: French\n\n"
                  "*** START OF THE PROJECT GUTENBERG EBOOK LE HORLA ***\n\nJe suis ici.\n")
        out, _ = self.book(text=header)
        opf = package(out)
        self.assertEqual(texts(opf, ".//dc:date"), ["2004-03-01"])
        self.assertEqual(texts(opf, ".//dc:contributor"), ["Ann Smith"])
        self.assertEqual(texts(opf, ".//dc:language"), ["fr"])
        # The user's values win.
        out, _ = self.book("--date", "1887", "--translator", "Bob", "--language", "en",
                           text=header)
        opf = package(out)
        self.assertEqual(texts(opf, ".//dc:date") + texts(opf, ".//dc:contributor") +
                         texts(opf, ".//dc:language"), ["1887", "Bob", "en"])


class KeptBooksTest(unittest.TestCase):

    def test_books_pass_every_checker(self):
        self.assertEqual(KEPT.check(), "")


def load_tests(loader, tests, pattern):
    suite = unittest.TestSuite()
    for case in per_epub_version(CliDetailsTest):
        suite.addTests(loader.loadTestsFromTestCase(case))
    suite.addTests(loader.loadTestsFromTestCase(KeptBooksTest))
    return suite


if __name__ == "__main__":
    unittest.main()
