#!/usr/bin/env python3
"""Books of the shapes classics come in, through folivane-cli: a Japanese novel in the
archives' notation (Shift_JIS, legend, parts, kanji-numeral chapters, ruby, annotations,
colophon), an English novel headed "I." to "XII.", Chinese book-title marks, vertical books.

Usage: cli_japanese_test.py FOLIVANE_CLI TEST_DATA_FOLDER
"""
import os
import subprocess
import sys
import tempfile
import unittest
import zipfile

CLI, DATA = (os.path.abspath(p) for p in sys.argv[1:3])
sys.path.insert(0, DATA)
import cli_suite  # noqa: E402  (found through DATA)
from kept_books import KeptBooks, ScratchCliCase, per_epub_version  # noqa: E402

KEPT = KeptBooks()
del sys.argv[1:3]

KANJI = "一二三四五六七八九"


def kanji(n):
    tens, units = divmod(n, 10)
    return ((KANJI[tens - 1] if tens > 1 else "") + ("十" if tens else "")
            + (KANJI[units - 1] if units else ""))


def ruby(base, reading, version):
    return base + reading if version == 3 else f"{base}（{reading}）"


def japanese_novel(version):
    """The source's lines, and the paragraphs and headings the book shows in `version` (None
    for a line it leaves out), and the contents tree."""
    lines = []

    def line(source, shown=""):
        lines.append((source, shown))

    line("月見の庭", "月見の庭")
    line("架空　太郎", "架空　太郎")
    line("", None)
    for source in ["-" * 55, "【テキスト中に現れる記号について】", "", "《》：ルビ",
                   "（例）蜘蛛《くも》", "", "｜：ルビの付く文字列の始まりを特定する記号",
                   "（例）一番｜獰悪《どうあく》", "", "［＃］：入力者注　主に外字の説明や、傍点の位置の指定",
                   "（例）［＃「一」は中見出し］", "-" * 55, ""]:
        line(source, None)
    toc = [["月見の庭", []]]
    parts = (("上", "庭と私", "annotated"), ("中", "川と父", "bare"), ("下", "山と手紙", "annotated"))
    for number, (part, title, headings) in enumerate(parts):
        if number:
            line("［＃改ページ］", None)
        heading = f"{part}　{title}"
        line(f"［＃８字下げ］{heading}［＃「{heading}」は大見出し］", heading)
        line("", None)
        chapters = []
        for chapter in range(1, 13 if number == 0 else 4):
            name = kanji(chapter)
            if headings == "annotated":
                line(f"［＃５字下げ］{name}［＃「{name}」は中見出し］", name)
            else:
                line(f"\u3000\u3000\u3000{name}", name)
            line("", None)
            line(f"　私《わたくし》は庭の隅で蜘蛛《くも》の巣を眺めていた。{title}の{chapter}。",
                 f"{ruby('私', 'わたくし', version)}は庭の隅で{ruby('蜘蛛', 'くも', version)}"
                 f"の巣を眺めていた。{title}の{chapter}。")
            if chapter == 2:
                line("［＃改ページ］", None)  # a page of its own, not in the contents
            line("　それは一番｜獰悪《どうあく》な夏の日で、｜と書いた札が揺れていた。",
                 f"それは一番{ruby('獰悪', 'どうあく', version)}な夏の日で、｜と書いた札が揺れていた。")
            line("　「一」［＃「一」に傍点］", "「一」")
            line("　と彼は言った。《史記》を読む。", "と彼は言った。《史記》を読む。")
            line("", None)
            chapters.append([name, []])
        toc.append([f"{part} {title}", chapters])
    for source in ("底本：「月見の庭」架空文庫、架空書房", "　　　2020（令和2）年1月1日第1刷発行",
                   "入力：架空"):
        line(source, source.lstrip("\u3000"))
    toc.append(["底本", []])
    source = "\r\n".join(s for s, _ in lines) + "\r\n"
    return source, [shown for _, shown in lines if shown is not None], toc


def roman(n):
    return ["I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"][n - 1]


def english_novel():
    """An English classic's shape: numbered chapters, a list and a lone "I" in the text."""
    lines = ["THE LIGHTHOUSE", "", "by A. Keeper", ""]
    toc = [["lighthouse", []]]
    for n in range(1, 13):
        heading = f"{roman(n)}." if n % 3 else f"{roman(n)}. The Storm"
        lines += [heading, "", f"The lamp was lit at dusk on day {n}, as it always was.",
                  "I", "said the keeper, and nobody answered.", ""]
        if n == 5:
            lines += ["1. Oil", "2. Wicks", "3. Matches", ""]
        toc.append([heading, []])
    return "\n".join(lines) + "\n", lines, toc


class CliJapaneseTest(ScratchCliCase):
    """load_tests makes one copy per EPUB version."""
    cli_program = CLI

    def test_japanese_novel_in_the_notation(self):
        text, shown, toc = japanese_novel(self.epub_version)
        path = self.source("月見の庭.txt", text.encode("shift_jis"))
        book = os.path.join(self.dir, "tsuki.epub")
        result = self.cli("-o", book, path)
        self.assertEqual(result.returncode, 0, result.stderr)
        with zipfile.ZipFile(book) as archive:
            pages = b"".join(archive.read(name) for name in archive.namelist()
                             if name.endswith("html")).decode("utf-8")
        self.assertNotIn("［＃", pages)
        self.assertNotIn("テキスト中に現れる記号", pages)
        self.assertEqual(pages.count("<ruby>"), 0 if self.epub_version == 2 else 3 * 18)
        # The title and author come from the text's first lines.
        KEPT.keep(book, move=True, epub=self.epub_version, title="月見の庭", author="架空　太郎",
                  language="ja", toc=toc, text=shown)

    def test_given_title_and_author_win_over_the_text(self):
        text, _, _ = japanese_novel(self.epub_version)
        path = self.source("tsuki.txt", text.encode("shift_jis"))
        book = os.path.join(self.dir, "named.epub")
        result = self.cli("--title", "庭", "--author", "某", "-o", book, path)
        self.assertEqual(result.returncode, 0, result.stderr)
        KEPT.keep(book, move=True, title="庭", author="某")

    def test_english_novel_with_roman_numbered_chapters(self):
        text, lines, toc = english_novel()
        path = self.source("lighthouse.txt", text.encode("utf-8"))
        book = os.path.join(self.dir, "lighthouse.epub")
        result = self.cli("--title", "The Lighthouse", "-o", book, path)
        self.assertEqual(result.returncode, 0, result.stderr)
        # Blank lines are spacing, no paragraphs; the opening takes the book's title.
        toc[0][0] = "The Lighthouse"
        KEPT.keep(book, move=True, epub=self.epub_version, language="en", toc=toc,
                  text=[line for line in lines if line])

    def test_chinese_book_titles_stay_as_written(self):
        lines = ["第一章 读书", "他在灯下讀《史記》，一直读到天亮。", "《红楼梦》第一回写得最好。",
                 "注［＃这不是注释］", "第二章 下山", "雨停了。"]
        path = self.source("读书.txt", "\n".join(lines).encode("gb18030"))
        book = os.path.join(self.dir, "du.epub")
        result = self.cli("-o", book, path)
        self.assertEqual(result.returncode, 0, result.stderr)
        KEPT.keep(book, move=True, language="zh-CN", text=lines,
                  toc=[["第一章 读书", []], ["第二章 下山", []]])

    def test_chapter_pattern_turns_the_number_rule_off(self):
        text, _, _ = english_novel()
        path = self.source("lighthouse.txt", text.encode("utf-8"))
        book = os.path.join(self.dir, "pattern.epub")
        result = self.cli("--chapter-pattern", "^THE ", "-o", book, path)
        self.assertEqual(result.returncode, 0, result.stderr)
        KEPT.keep(book, move=True, toc=[["THE LIGHTHOUSE", []]])


class VerticalTest(unittest.TestCase):

    def test_vertical_book_is_epub3_read_right_to_left(self):
        with tempfile.TemporaryDirectory() as folder:
            text, shown, toc = japanese_novel(3)
            path = os.path.join(folder, "月見の庭.txt")
            with open(path, "wb") as f:
                f.write(text.encode("utf-8-sig"))
            book = os.path.join(folder, "vertical.epub")
            env = dict(os.environ, TMPDIR=folder)
            result = subprocess.run([CLI, "-q", "--vertical", "-o", book, path],
                                    capture_output=True, text=True, env=env)
            self.assertEqual(result.returncode, 0, result.stderr)
            with zipfile.ZipFile(book) as archive:
                opf = archive.read("OEBPS/content.opf").decode("utf-8")
                css = archive.read("OEBPS/css/main.css").decode("utf-8")
            self.assertIn('<spine toc="ncx" page-progression-direction="rtl">', opf)
            self.assertIn('<meta name="primary-writing-mode" content="vertical-rl"/>', opf)
            self.assertIn("writing-mode:vertical-rl", css)
            KEPT.keep(book, move=True, epub=3, toc=toc, text=shown)

            plain = os.path.join(folder, "plain.epub")
            result = subprocess.run([CLI, "-q", "--epub-version", "3", "-o", plain, path],
                                    capture_output=True, text=True, env=env)
            self.assertEqual(result.returncode, 0, result.stderr)
            with zipfile.ZipFile(plain) as archive:
                self.assertNotIn("rtl", archive.read("OEBPS/content.opf").decode("utf-8"))
                self.assertNotIn("vertical", archive.read("OEBPS/css/main.css").decode("utf-8"))

    def test_vertical_epub2_is_a_usage_error_naming_the_reason(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "a.txt")
            with open(path, "w", encoding="utf-8") as f:
                f.write("縦書き\n")
            book = os.path.join(folder, "a.epub")
            result = subprocess.run([CLI, "--vertical", "--epub-version", "2", "-o", book, path],
                                    capture_output=True, text=True)
            self.assertEqual(result.returncode, 2)
            self.assertIn("--vertical needs EPUB 3", result.stderr)
            self.assertFalse(os.path.exists(book))


def load_tests(loader, tests, pattern):
    suite = unittest.TestSuite()
    for case in per_epub_version(CliJapaneseTest):
        suite.addTests(loader.loadTestsFromTestCase(case))
    suite.addTests(loader.loadTestsFromTestCase(VerticalTest))
    return suite


if __name__ == "__main__":
    cli_suite.main(KEPT)
