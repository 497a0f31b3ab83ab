#!/usr/bin/env python3
"""folivane-cli never reports success over garbled or lost text and never destroys a file of
the user's: decoding that keeps the text (a short source read as the book's others are, a
named code page obeyed), usage checked before any work, an output that is one of the inputs
refused, signals and closed pipes, too little memory.

Usage: cli_trust_test.py FOLIVANE_CLI TEST_DATA_FOLDER
"""
import os
import resource
import shutil
import signal
import subprocess
import sys
import time
import unittest
import zipfile

CLI, DATA = (os.path.abspath(p) for p in sys.argv[1:3])
sys.path.insert(0, DATA)
import cli_suite  # noqa: E402  (found through DATA)
from cli_suite import NOBODY, write  # noqa: E402
from kept_books import KeptBooks  # noqa: E402

KEPT = KeptBooks()
del sys.argv[1:3]

# The sanitizers reserve address space of their own: a limit on it says nothing there.
SANITIZED = cli_suite.sanitized(CLI)

CHINESE = "第一章　天刚亮，我们就从城里出发，沿着河边一直走到中午。"
NOVEL = "\n".join([CHINESE] * 120)  # about 3,500 characters
TRADITIONAL = "天剛亮，我們就從城裡出發，沿著河邊一直走到中午。這是一個簡單的故事。"
CANTONESE = "佢哋食咗飯未？我哋啲嘢喺度嘅。係咪㗎？"


def read_so_far(pid):
    """Bytes the process has read so far (rchar of /proc/PID/io); 0 once it is gone."""
    try:
        with open(f"/proc/{pid}/io") as f:
            for line in f:
                if line.startswith("rchar:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def read(path):
    with open(path, "rb") as f:
        return f.read()


class CliTrustCase(cli_suite.OutputFoldersCase):
    """Runs folivane-cli in a case's own folders; the groups of cases follow."""

    def run_cli(self, *args, **options):
        return subprocess.run([CLI, "-q", *args], capture_output=True, text=True, env=self.env,
                              timeout=300, **options)


class DecodingTest(CliTrustCase):
    """Text decoded as what it is."""

    def test_text_is_decoded_as_what_it_is(self):
        cases = [
            # UTF-8 with one stray Latin-1 byte near its start, or cut out of a larger file.
            ("stray-byte", b"Caf\xe9 " + NOVEL.encode(), ["Caf\ufffd " + CHINESE]),
            ("cut-piece", "中文".encode()[1:] + NOVEL.encode()[:-1],
             ["\ufffd\ufffd文" + CHINESE] + [CHINESE] * 118 + [CHINESE[:-1] + "\ufffd"]),
            ("overlong", b"\xc0\xaf" + NOVEL.encode(), ["\ufffd\ufffd" + CHINESE]),
            ("utf16be", b"\xfe\xff" + "大\n\0小".encode("utf-16-be"), ["大", "小"]),
            ("utf32le", b"\xff\xfe\0\0" + "大\n😀".encode("utf-32-le"), ["大", "😀"]),
            ("utf32be", b"\0\0\xfe\xff" + "大\n小".encode("utf-32-be"), ["大", "小"]),
            ("ligature-first", "ﻻ لا\nsecond".encode(), ["ﻻ لا", "second"]),
            # Traditional text with Hong Kong characters, which plain Big5 lacks.
            ("hong-kong", "\n".join([TRADITIONAL] * 30 + [CANTONESE]).encode("big5hkscs"),
             [TRADITIONAL] * 30 + [CANTONESE]),
        ]
        sources = [self.source(name + ".txt", data) for name, data, _ in cases]
        book = os.path.join(self.out, "decoded.epub")
        # One chapter per file: the lines of these texts are not headings' business here.
        result = self.run_cli("--chapters", "files", "-o", book, *sources)
        self.assertEqual(result.returncode, 0, result.stderr)
        chapters = []
        for name, _, lines in cases:
            chapter = {"name": name}
            if name in ("stray-byte", "overlong"):
                lines = lines + [CHINESE] * 119
            chapter["lines"] = lines
            chapters.append(chapter)
        KEPT.keep(book, move=True, chapters=chapters)

    def test_a_short_legacy_source_is_read_as_the_book_and_the_user_is_told(self):
        line = "天刚亮，我们就从城里出发，沿着河边一直走到中午。"
        chapter = self.source("01.txt", ("第一章 渡口\n" + "\n".join([line] * 30)).encode("gbk"))
        after = self.source("02.txt", "后记\n谢谢。".encode("gbk"))
        book = os.path.join(self.out, "afterword.epub")
        told = subprocess.run([CLI, "-o", book, chapter, after], capture_output=True, text=True,
                              env=self.env, timeout=300)
        self.assertEqual(told.returncode, 0, told.stderr)
        notes = [note for note in told.stderr.splitlines() if after in note]
        self.assertEqual(len(notes), 1, told.stderr)
        self.assertIn("read as GB18030, the code page of the book's other sources", notes[0])
        self.assertNotIn(chapter, told.stderr)
        quiet = self.run_cli("-o", book, chapter, after)
        self.assertEqual(quiet.returncode, 0, quiet.stderr)
        self.assertNotIn(after, quiet.stderr)
        KEPT.keep(book, move=True, chapters=[{"name": "第一章 渡口"},
                                             {"name": "后记", "lines": ["后记", "谢谢。"]}])

    def test_a_named_code_page_is_obeyed_even_for_bytes_that_are_utf8(self):
        hello = self.source("hello.txt", "你好".encode("utf-16-le"))  # "`O}Y" as UTF-8
        book = os.path.join(self.out, "named.epub")
        result = self.run_cli("--encoding", "UTF-16LE", "-o", book, hello)
        self.assertEqual(result.returncode, 0, result.stderr)
        KEPT.keep(book, move=True, chapters=[{"name": "hello", "lines": ["你好"]}])


class RefusalsTest(CliTrustCase):
    """Usage and outputs refused before any work, and books kept that the user could not write."""

    def test_usage_is_checked_before_any_work(self):
        text = self.source("a.txt", b"text")
        latin1 = "Café".encode("latin-1")
        cases = {  # the arguments, and what the message names
            "empty code page": (["--encoding", "", text], "--encoding"),
            "empty code page inline": (["--encoding=", text], "--encoding"),
            "a slash for a code page": (["--encoding", "/", text], "code page"),
            "a title too long for a file name": (["--title", "x" * 300, text], "title"),
            "an empty heading length": (["--max-heading-length", "", text],
                                        "--max-heading-length"),
            "an empty heading length inline": (["--max-heading-length=", text],
                                               "--max-heading-length"),
            # Text in another encoding than UTF-8 would lose its letters without a word.
            "a Latin-1 title": (["--title", latin1, text], "--title is not UTF-8"),
            "a Latin-1 author inline": ([b"--author=" + latin1, text], "--author is not UTF-8"),
            "a Latin-1 publisher": (["--publisher", latin1, text], "--publisher is not UTF-8"),
            "a Latin-1 language": (["--language", b"\xe9n", text], "--language is not UTF-8"),
            "a GBK chapter pattern": (["--chapter-pattern", "第.章".encode("gbk"), text],
                                      "--chapter-pattern is not UTF-8"),
            "a cut volume pattern": (["--volume-pattern", "卷".encode()[:2], text],
                                     "--volume-pattern is not UTF-8"),
        }
        for name, (args, named) in cases.items():
            with self.subTest(name):
                result = self.run_cli(*args, cwd=self.out)
                self.assertEqual(result.returncode, 2, result.stderr)
                self.assertIn("folivane-cli: ", result.stderr)
                self.assertIn(named, result.stderr)
                self.assertEqual(os.listdir(self.out), [])
                self.assertEqual(os.listdir(self.temp), [])

    def test_an_output_that_is_an_input_or_no_file_is_refused(self):
        ch1 = self.source("ch1.txt", "第一章\n".encode())
        ch2 = self.source("ch2.txt", b"two")
        cover = self.source("cover.gif", b"GIF89a" + bytes(20))
        os.symlink(ch2, os.path.join(self.out, "link.epub"))
        os.link(ch2, os.path.join(self.out, "hard.epub"))
        cases = {
            "the book's name forgotten": (["-o", ch1, ch2], ch1),
            "a source": (["-o", ch2, ch1, ch2], ch2),
            "a link to a source": (["-o", os.path.join(self.out, "link.epub"), ch2], ch2),
            "a hard link to a source": (["-o", os.path.join(self.out, "hard.epub"), ch2], ch2),
            "the cover": (["--cover", cover, "-o", cover, ch1], cover),
            # Usable paths, but no files a book may take the place of: the conversion fails.
            "a device": (["-o", "/dev/null", ch1], "/dev/null"),
            "standard output": (["-o", "/dev/stdout", ch1], "/dev/stdout"),
        }
        # What /dev/stdout is differs between systems (a link, a device); it stays what it was.
        stdout_kind = os.lstat("/dev/stdout").st_mode
        for name, (args, named) in cases.items():
            usage = not named.startswith("/dev/")
            with self.subTest(name):
                before = {p: read(p) for p in (ch1, ch2, cover)}
                with open(os.path.join(self.dir, "stdout"), "w") as stdout:
                    result = subprocess.run([CLI, "-q", *args], stdout=stdout,
                                            stderr=subprocess.PIPE, text=True, env=self.env)
                self.assertEqual(result.returncode, 2 if usage else 1, result.stderr)
                self.assertIn(named, result.stderr)
                # A usage error points to the help, as every other one does.
                self.assertEqual("folivane-cli --help" in result.stderr, usage, result.stderr)
                self.assertEqual({p: read(p) for p in before}, before)
                self.assertEqual(os.listdir(self.temp), [])
        self.assertEqual(os.lstat("/dev/stdout").st_mode, stdout_kind)
        self.assertEqual(sorted(os.listdir(self.out)), ["hard.epub", "link.epub"])

    def test_a_book_the_user_could_not_write_is_refused_and_kept(self):
        if os.geteuid() != 0:
            self.skipTest("needs root to run folivane-cli as the user nobody")
        os.chmod(self.dir, 0o755)
        program = os.path.join(self.dir, "folivane-cli")  # where nobody may run it
        shutil.copy(CLI, program)
        os.chown(self.temp, NOBODY, NOBODY)
        text = self.source("a.txt", b"text")
        book = write(os.path.join(self.out, "book.epub"), b"an earlier book")
        os.chown(book, NOBODY, NOBODY)
        os.chmod(book, 0o444)
        os.chown(self.out, NOBODY, NOBODY)
        result = subprocess.run([program, "-q", "-o", book, text], capture_output=True,
                                text=True, env=self.env, user=NOBODY, group=NOBODY,
                                extra_groups=[])
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn(f'Cannot replace the write-protected file "{book}". Permission denied',
                      result.stderr)
        self.assertEqual(read(book), b"an earlier book")
        self.assertEqual(os.listdir(self.out), ["book.epub"])
        self.assertEqual(os.listdir(self.temp), [])


class InterruptionsTest(CliTrustCase):
    """Signals, closed pipes, odd working folders and too little memory."""

    def test_signals_stop_the_job_which_removes_what_it_made(self):
        # Long enough to be still at work a while after its first source was read.
        text = (("A line of a long novel. " * 4) + "\n").encode() * 150000
        large = self.source("large.txt", text)
        book = write(os.path.join(self.out, "book.epub"), b"an earlier book")

        def interrupted(sig, ignored=None):
            def before():
                if ignored:
                    signal.signal(ignored, signal.SIG_IGN)
            # Eight sources: after the first, reading the other seven alone takes the job far
            # longer than the moment this waits, however fast the machine.
            job = subprocess.Popen([CLI, "-q", "-o", book, *[large] * 8], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                   preexec_fn=before)
            # The book is made in memory: the job is at work once it has read the first
            # source (it makes no working folder to watch for).
            while read_so_far(job.pid) < len(text) and job.poll() is None:
                time.sleep(0.005)
            time.sleep(0.02)
            job.send_signal(sig)
            job.wait(timeout=60)
            job.stderr.close()
            self.assertEqual(os.listdir(self.temp), [])
            self.assertEqual(os.listdir(self.out), ["book.epub"])
            return job.returncode

        # Ctrl+C, kill, a closed terminal, Ctrl+\, and the signals scripts send.
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT, signal.SIGALRM,
                    signal.SIGUSR1, signal.SIGUSR2):
            with self.subTest(sig.name):
                self.assertEqual(interrupted(sig), 128 + sig)
                self.assertEqual(read(book), b"an earlier book")
        # Under nohup a closed terminal must not stop the conversion.
        self.assertEqual(interrupted(signal.SIGHUP, ignored=signal.SIGHUP), 0)
        with zipfile.ZipFile(book) as archive:  # too large a book for every checker
            self.assertEqual(archive.namelist()[0], "mimetype")
            self.assertIsNone(archive.testzip())

    def test_a_reader_of_the_progress_that_goes_away_does_not_stop_the_book(self):
        sources = [self.source(f"{i:02}.txt", f"part {i} of the story".encode()) for i in range(40)]
        book = os.path.join(self.out, "piped.epub")
        pipeline = subprocess.run(
            ["bash", "-c", '"$@" 2>&1 | head -1 >/dev/null; exit "${PIPESTATUS[0]}"', "run",
             CLI, "-o", book, *sources], env=self.env, timeout=300)
        self.assertEqual(pipeline.returncode, 0)
        KEPT.keep(book, move=True, chapters=[{"name": f"{i:02}"} for i in range(40)])

    def test_a_working_folder_named_like_masks_gives_the_whole_book(self):
        temp = os.path.join(self.dir, "a<b>c|d*e?f")
        os.makedirs(temp)
        book = write(os.path.join(self.out, "masks.epub"), b"an earlier book")
        result = subprocess.run([CLI, "-q", "-o", book, self.source("one.txt", b"one"),
                                 self.source("two.txt", b"two")],
                                capture_output=True, text=True, env=dict(self.env, TMPDIR=temp))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(os.listdir(temp), [])
        KEPT.keep(book, chapters=[{"name": "one", "lines": ["one"]},
                                  {"name": "two", "lines": ["two"]}])

    @unittest.skipIf(SANITIZED, "the sanitizers need address space of their own")
    def test_too_little_memory_ends_with_a_reason_never_with_a_crash(self):
        source = self.source("novel.txt", NOVEL.encode() * 300)
        book = os.path.join(self.out, "limited.epub")
        # Short of memory, fontconfig may take the font folders for empty and cache that: the
        # cache it writes is this case's own, not the one the other tests read.
        fonts = self.source("fonts.conf", '<?xml version="1.0"?><fontconfig><cachedir>'
                            f'{self.dir}/font-cache</cachedir><include>'
                            f'{os.environ.get("FONTCONFIG_FILE", "/etc/fonts/fonts.conf")}'
                            '</include></fontconfig>'.encode())
        env = dict(self.env, FONTCONFIG_FILE=fonts)
        for megabytes in range(8, 41):
            limit = megabytes << 20

            def limited():
                resource.setrlimit(resource.RLIMIT_AS, (limit, limit))

            result = subprocess.run([CLI, "-q", "-o", book, source, source], capture_output=True,
                                    text=True, env=env, preexec_fn=limited, timeout=120)
            # Below some limit the loader cannot even map the program: it never ran. The program
            # itself never exits 127, and everything it says begins with its own words; the
            # loader's wording differs between systems and is not looked at.
            if result.returncode == 127 and "Convert" not in result.stderr:
                continue
            with self.subTest(megabytes=megabytes):
                self.assertIn(result.returncode, (0, 1), result.stderr)
                if result.returncode == 1:
                    self.assertRegex(result.stderr, "Convert Unsuccessful!\n.*memory")
                self.assertEqual(os.listdir(self.temp), [])


if __name__ == "__main__":
    cli_suite.main(KEPT)
