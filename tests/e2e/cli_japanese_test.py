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


LEGEND = ["-" * 55, "【テキスト中に現れる記号について】", "", "《》：ルビ", "（例）便《たよ》り", "",
          "｜：ルビの付く文字列の始まりを特定する記号", "（例）古い｜手紙《てがみ》", "",
          "［＃］：入力者注　主に外字の説明や、傍点の位置の指定",
          "　　　（数字は、JIS X 0213の面区点番号、または底本のページと行数）",
          "（例）※［＃「條の木に代えて栩のつくり」、第3水準1-90-31］", "-" * 55]
DOTS = (("いろは", "傍点"), ("にほへ", "白ゴマ傍点"), ("とちり", "丸傍点"), ("ぬるを", "白丸傍点"),
        ("わかよ", "黒三角傍点"), ("たれそ", "白三角傍点"), ("つねな", "二重丸傍点"),
        ("らむう", "蛇の目傍点"), ("ゐのお", "ばつ傍点"))
LINES = (("くやま", "傍線"), ("けふこ", "二重傍線"), ("えてあ", "鎖線"), ("さきゆ", "破線"),
         ("めみし", "点線"), ("ゑひも", "波線"))
UNKNOWN = "［＃挿絵（fig01.png）入る］"


def archive_story(version):
    """A short story as the archive publishes it, with every construct of the notation this
    program reads: the source's lines, and the headings and paragraphs the book shows."""
    lines = []

    def line(source, *shown):
        lines.append((source, list(shown)))

    def r(base, reading):
        return ruby(base, reading, version)

    line("風の便り", "風の便り")
    line("架空　花子", "架空　花子")
    line("")
    for source in LEGEND:
        line(source)
    line("")
    for source in ("［＃ここから大見出し］", "上　春の章", "［＃ここで大見出し終わり］"):
        line(source, *(["上　春の章"] if source == "上　春の章" else []))
    line("［＃５字下げ］一［＃「一」は中見出し］", "一")
    line("　朝の便《たよ》りは①から③まで、㈱架空商会のⅠ号とⅡ号に届いた。",
         f"朝の{r('便', 'たよ')}りは①から③まで、㈱架空商会のⅠ号とⅡ号に届いた。")
    line("　髙橋さんと山﨑さんは「～∥－￢」と書いた。", "髙橋さんと山﨑さんは「～∥－￢」と書いた。")
    line("　葉を※［＃「てへん＋宛」、U+6365、12-3］《も》ぎ取って、"
         "※［＃「條の木に代えて栩のつくり」、第3水準1-90-31］然《ゆうぜん》と歩く。",
         f"葉を{r('捥', 'も')}ぎ取って、{r('翛然', 'ゆうぜん')}と歩く。")
    line("　池の水は※［＃「さんずい＋艶」、第4水準2-79-53］として光る。", "池の水は灔として光る。")
    line("　※［＃「口＋世」、第4水準2-2-1］という字は出ない。", "〔口＋世〕という字は出ない。")
    line("　古い書に｜入［＃レ］道《みちにいる》とあり、学［＃二］而時習［＃一］之と続く。",
         f"古い書に{r('入レ道', 'みちにいる')}とあり、学二而時習一之と続く。")
    line("　" + "、".join(f"{word}［＃「{word}」に{kind}］" for word, kind in DOTS) + "。",
         "、".join(word for word, _ in DOTS) + "。")
    line("　" + "、".join(f"{word}［＃「{word}」に{kind}］" for word, kind in LINES)
         + "、せす［＃「せす」の左に傍点］。", "、".join(word for word, _ in LINES) + "、せす。")
    line("　［＃傍点］ちりぬる［＃傍点終わり］を読む。", "ちりぬるを読む。")
    line("　強い［＃「強い」は太字］風と斜め［＃「斜め」は斜体］の雨。", "強い風と斜めの雨。")
    line("　「《くも》」と彼は言った。", "「（くも）」と彼は言った。")
    line("　第12章は1920年に書かれ、3人が読んだ。", "第12章は1920年に書かれ、3人が読んだ。")
    line("　昭和１０年の100［＃「100」は縦中横］号。", "昭和１０年の100号。")
    line("［＃ここから２字下げ］")
    line("　拝啓、お元気ですか。", "　拝啓、お元気ですか。")  # an indented line keeps its spaces
    line("　手紙の二行目です。", "　手紙の二行目です。")
    line("［＃ここで字下げ終わり］")
    line("［＃ここから改行天付き、折り返して１字下げ］")
    line("朝は早く起きること、夜は早く寝ること。", "朝は早く起きること、夜は早く寝ること。")
    line("［＃ここで字下げ終わり］")
    line("［＃地付き］花子より", "花子より")
    line("［＃地から２字上げ］三月十日", "三月十日")
    line("［＃３字下げ］短い歌の一行", "短い歌の一行")
    line("［＃ここから地付き］")
    line("署名", "署名")
    line("［＃ここで地付き終わり］")
    line("本文の終わり［＃地付き］（完）", "本文の終わり", "（完）")
    line("［＃５字下げ］その一［＃「その一」は小見出し］", "その一")
    line("　小見出しの後の文。", "小見出しの後の文。")
    line(UNKNOWN)
    line("吃［＃「吃」は底本では「喫」］驚《びっくり》した。", f"吃{r('驚', 'びっくり')}した。")
    line("［＃改ページ］")
    line("［＃５字下げ］二［＃「二」は中見出し］", "二")
    line("　二章の本文《ほんぶん》。", f"二章の{r('本文', 'ほんぶん')}。")
    line("")
    line("［＃５字下げ］三　※［＃「木＋越」、U+6A3E］の森"
         "［＃「三　※［＃「木＋越」、U+6A3E］の森」は中見出し］", "三　樾の森")
    line("　森の話。", "森の話。")
    for source in ("［＃ここから中見出し］", "四", "終わりの章", "［＃ここで中見出し終わり］"):
        line(source)
    lines[-3][1].append("四終わりの章")  # one heading of two lines
    line("　最後の文。", "最後の文。")
    line("")
    for source in ("底本：「風の便り」架空文庫、架空書房", "　　　2020（令和2）年1月1日第1刷発行",
                   "入力：架空"):
        line(source, source.lstrip("\u3000"))
    return "\r\n".join(s for s, _ in lines) + "\r\n", [p for _, shown in lines for p in shown]


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

    def test_archive_story_with_every_construct(self):
        text, shown = archive_story(self.epub_version)
        # Written on Windows: Shift_JIS as CP932 has it, with CR LF.
        path = self.source("kaze.txt", text.encode("cp932"))
        book = os.path.join(self.dir, "kaze.epub")
        result = subprocess.run([CLI, "--epub-version", str(self.epub_version), "-o", book, path],
                                capture_output=True, text=True, env=self.env, timeout=300)
        self.assertEqual(result.returncode, 0, result.stderr)
        # What was left out is said; nothing else is.
        self.assertIn(f"1 annotation not understood: {UNKNOWN}", result.stderr)
        self.assertNotIn("U+FFFD", result.stderr)
        with zipfile.ZipFile(book) as archive:
            pages = "".join(archive.read(name).decode("utf-8") for name in archive.namelist()
                            if name.endswith("html"))
        for mark in ("《", "》", "｜", "［＃", "※", "\ufffd"):
            self.assertNotIn(mark, pages)
        KEPT.keep(book, move=True, epub=self.epub_version, language="ja", text=shown)

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
