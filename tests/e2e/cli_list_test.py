#!/usr/bin/env python3
"""folivane-cli --list: the book's plan printed as text or JSON, agreeing with the book made.

Usage: cli_list_test.py FOLIVANE_CLI TEST_DATA_FOLDER
"""
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest
import zipfile

CLI, DATA = (os.path.abspath(p) for p in sys.argv[1:3])
sys.path.insert(0, DATA)
import cli_suite  # noqa: E402  (found through DATA)

del sys.argv[1:3]

VOLUMES = "第一卷 开始\n第一章 渡口\n雨后的石板路还湿着。\n第二章 山路\n他走了很久。\n" \
          "第二卷 结束\n第三章 回家\n终于到了。\n"


def run(*args, cwd=None):
    return subprocess.run([CLI, *args], capture_output=True, cwd=cwd)


def outline(entries, depth=0):
    lines = []
    for entry in entries:
        lines.append("  " * depth + entry["label"])
        lines += outline(entry["children"], depth + 1)
    return lines


class ListTest(unittest.TestCase):

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.dir = self.tmp.name
        self.addCleanup(self.tmp.cleanup)
        self.volumes = self.source("volumes.txt", VOLUMES.encode("gb18030"))
        # 300 KiB without headings: cut into pieces named apart from their numbers.
        self.big = self.source("big9.txt", "".join(
            f"Line {i} of a long source that is cut into pieces.\n" for i in range(6000)).encode())

    def source(self, name, data):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def test_json_plan_is_the_books_contents_and_nothing_is_written(self):
        result = run("--list", "--list-format", "json", self.volumes, self.big, cwd=self.dir)
        self.assertEqual(result.returncode, 0, result.stderr)
        plan = json.loads(result.stdout)
        self.assertEqual(sorted(os.listdir(self.dir)), ["big9.txt", "volumes.txt"])
        self.assertEqual(outline(plan["contents"]),
                         ["第一卷 开始", "  第一章 渡口", "  第二章 山路", "第二卷 结束",
                          "  第三章 回家", "  big9 (1)", "  big9 (2)", "  big9 (3)", "  big9 (4)"])
        self.assertEqual([s["encoding"] for s in plan["sources"]], ["GB18030", "UTF-8"])
        self.assertEqual([s["basis"] for s in plan["sources"]], ["text", "text"])
        self.assertEqual([s["pages"] for s in plan["sources"]], [5, 4])
        self.assertEqual(plan["pages"], 9)
        self.assertEqual(plan["contents"][0]["kind"], "volume")
        self.assertEqual(plan["contents"][0]["children"][0]["kind"], "chapter")
        self.assertEqual(sum(s["bytes"] for s in plan["sources"]),
                         len(VOLUMES.encode()) + os.path.getsize(self.big))

        # The book made from the same sources lists the same entries in the same order.
        book = os.path.join(self.dir, "book.epub")
        made = run("-q", "-o", book, self.volumes, self.big)
        self.assertEqual(made.returncode, 0, made.stderr)
        with zipfile.ZipFile(book) as archive:
            ncx = archive.read("OEBPS/toc.ncx").decode()
        labels = re.findall(r"<navLabel>\s*<text>(.*?)</text>", ncx)
        self.assertEqual(labels, [line.strip() for line in outline(plan["contents"])])

    def test_names_that_are_not_utf8_are_listed_as_the_book_shows_them(self):
        # A name in the code page of its text reads as that; bytes of no code page as U+FFFD.
        sources = [os.path.join(os.fsencode(self.dir), "第一部".encode("gbk") + b".txt"),
                   os.path.join(os.fsencode(self.dir), b"n\xe9.txt")]
        # Long enough for its text alone to tell its code page, whatever the locale.
        chinese = VOLUMES * 20
        for path, text in zip(sources, (chinese.encode("gbk"), b"plain")):
            with open(path, "wb") as f:
                f.write(text)
        result = run("--list", "--list-format", "json", "--chapters", "files", *sources)
        self.assertEqual(result.returncode, 0, result.stderr)
        plan = json.loads(result.stdout)
        self.assertEqual(plan["version"], 1)
        self.assertEqual([s["name"] for s in plan["sources"]], ["第一部", "n\ufffd"])
        book = os.path.join(self.dir, "names.epub")
        made = run("-q", "--chapters", "files", "-o", book, *sources)
        self.assertEqual(made.returncode, 0, made.stderr)
        with zipfile.ZipFile(book) as archive:
            ncx = archive.read("OEBPS/toc.ncx").decode()
        labels = re.findall(r"<navLabel>\s*<text>(.*?)</text>", ncx)
        self.assertEqual(labels, [line.strip() for line in outline(plan["contents"])])
        self.assertEqual(labels, ["第一部", "n\ufffd"])

    def test_text_plan_per_chapter_choice(self):
        for args, expected in (([], "    第一章 渡口  ("), (["--chapters", "files"], "  volumes  (")):
            with self.subTest(args):
                result = run("--list", *args, self.volumes)
                self.assertEqual(result.returncode, 0, result.stderr)
                text = result.stdout.decode()
                self.assertIn("GB18030 (text)", text)
                self.assertIn(expected, text)

    def test_numbered_chapters_gaps_and_the_paragraph_judgement_are_told(self):
        story = "".join(f"{n}\n\nThe lamp burned.\nNobody came.\nThe keeper watched the sea.\n\n"
                        for n in (1, 2, 3, 5))
        path = self.source("story.txt", story.encode())
        plan = json.loads(run("--list", "--list-format", "json", path).stdout)
        self.assertEqual([(e["label"], e["numbered"]) for e in plan["contents"]],
                         [("1", True), ("2", True), ("3", True), ("5", True)])
        self.assertEqual(plan["notices"], [{"source": 0, "kind": "number-missing", "number": 4}])
        self.assertEqual(plan["sources"][0]["paragraphs"]["style"], "lines")
        explained = run("--explain", path)
        self.assertEqual(explained.returncode, 0, explained.stderr)
        text = explained.stdout.decode()
        self.assertIn("paragraphs lines", text)
        self.assertIn("why: ", text)
        self.assertIn("story.txt: chapter 4 missing", text)
        made = run("-o", os.path.join(self.dir, "story.epub"), path)
        self.assertIn(b"chapter 4 missing", made.stderr)

    def test_bytes_the_code_page_cannot_read_are_told_in_the_plan_and_the_run(self):
        # Windows' Shift_JIS with two bytes no page of it holds.
        text = "　吾輩は猫である。名前はまだ無い。①②③と髙﨑。\r\n" * 20
        data = text.encode("cp932")
        path = self.source("neko.txt", data[:40] + b"\x85\x40" + data[40:])
        plan = json.loads(run("--list", "--list-format", "json", path).stdout)
        self.assertEqual(plan["sources"][0]["encoding"], "CP932")
        notices = [n for n in plan["notices"] if n["kind"] == "bytes-not-decoded"]
        self.assertEqual([(n["source"], n["encoding"]) for n in notices], [(0, "CP932")])
        self.assertGreater(notices[0]["count"], 0)
        made = run("-o", os.path.join(self.dir, "neko.epub"), path)
        self.assertEqual(made.returncode, 0, made.stderr)
        self.assertIn("neko.txt".encode(), made.stderr)
        self.assertIn(b"not CP932 text", made.stderr)

    def test_problems_are_said_and_nothing_is_listed(self):
        for args, code, said in (
                (["--list-format", "xml", self.volumes], 2, "--list-format takes text or json"),
                ([os.path.join(self.dir, "missing.txt")], 1, "missing.txt"),
                (["--chapter-pattern", "第(", self.volumes], 2, "missing closing parenthesis")):
            with self.subTest(args):
                result = run("--list", *args)
                self.assertEqual(result.returncode, code, result.stderr)
                self.assertIn(said, result.stderr.decode())
                self.assertEqual(result.stdout, b"")


if __name__ == "__main__":
    cli_suite.main()
