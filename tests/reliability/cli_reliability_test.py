#!/usr/bin/env python3
"""folivane-cli under bad inputs and faults: every run ends with a valid book, or with
"Convert Unsuccessful!" and a reason naming the file and the cause; it never crashes or hangs,
never leaves a partial file at the output or changes an earlier one on failure, and never
leaves its working folder behind.

Usage: cli_reliability_test.py FOLIVANE_CLI TEST_DATA_FOLDER
"""
import ctypes
import os
import random
import re
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

# The sanitizers need descriptors of their own (UBSan checks a virtual call through a pipe).
SANITIZED = cli_suite.sanitized(CLI)
# Pictures are made at test time with the same library the engine decodes them with.
STB = ctypes.CDLL("libstb.so.0")


def picture(path, kind, width=16, height=8, channels=3):
    pixels = bytes((x * 16 + y * 32 + c * 64) & 0xFF
                   for y in range(height) for x in range(width) for c in range(channels))
    name = os.fsencode(path)
    if kind == "jpg":
        STB.stbi_write_jpg(name, width, height, channels, pixels, 90)
    elif kind == "png":
        STB.stbi_write_png(name, width, height, channels, pixels, width * channels)
    else:
        STB.stbi_write_bmp(name, width, height, channels, pixels)
    with open(path, "rb") as f:
        return f.read()


def grey_jpeg(path, width, height):
    STB.stbi_write_jpg(os.fsencode(path), width, height, 1, bytes([128]) * (width * height), 50)


def readers_accept(path):
    """Python's zipfile (every CRC) and Info-ZIP's unzip -t accept the archive."""
    try:
        with zipfile.ZipFile(path) as archive:
            if archive.testzip() is not None or archive.namelist()[0] != "mimetype":
                return False
    except zipfile.BadZipFile:
        return False
    return subprocess.run(["unzip", "-tqq", path], capture_output=True).returncode == 0


# The hidden name of a replacement a killed run left beside "book.epub".
HIDDEN_BOOK = re.compile(r"\.book\.epub\.folivane-[A-Za-z0-9]{6}")


def unstarted_folders(temp):
    """Working folders whose lock was never taken: their jobs were killed while starting."""
    names = []
    for name in os.listdir(temp):
        lock = os.path.join(temp, name, ".lock")
        if not os.path.exists(lock) or os.path.getsize(lock) == 0:
            names.append(name)
    return sorted(names)


def describe(folder):
    """Everything under a folder, to show that nothing in it changed."""
    found = []
    for root, dirs, files in os.walk(folder):
        for name in sorted(dirs + files):
            path = os.path.join(root, name)
            if os.path.islink(path):
                found.append((path, "->", os.readlink(path)))
            elif os.path.isfile(path):
                with open(path, "rb") as f:
                    found.append((path, f.read()))
    return sorted(found)


def odd_sources():
    rng = random.Random(1)
    return {
        "EmptyFile": b"",
        "OneByte": b"x",
        "OneByteAbove7F": b"\xe9",
        "RandomBytes": rng.randbytes(64 << 10),
        "RandomBytesLargeEnoughToSplit": rng.randbytes(300 << 10),
        "RandomBytesAfterAUtf8Mark": b"\xef\xbb\xbf" + rng.randbytes(64 << 10),
        "RandomBytesAfterAUtf16Mark": b"\xff\xfe" + rng.randbytes(300 << 10),
        "NulBytesInTheMiddle": b"before\0after\r\n\0\0next",
        "MalformedUtf8": b"\xef\xbb\xbfok \xc0\xaf \xed\xa0\x80 \xf8\x88\x80\x80\x80 end",
        "MalformedUtf8WithoutAMark": b"ok \xc3\x28 \xa0\xa1 end",
        "TruncatedUtf8": b"\xef\xbb\xbf" + "中文".encode() + b"\xe4\xb8",
        "TruncatedUtf8WithoutAMark": "中文中文中文".encode() + b"\xe4\xb8",
        "MalformedUtf16": b"\xff\xfe\x00\xdc\x41\x00\x00\xd8\x42\x00",
        "TruncatedUtf16": b"\xff\xfe\x41\x00\x42",
        "LoneUtf8Mark": b"\xef\xbb\xbf",
        "LoneUtf16Mark": b"\xff\xfe",
        "HalfAUtf8Mark": b"\xef\xbb",
    }


class CliReliabilityCase(cli_suite.OutputFoldersCase):
    """Runs folivane-cli and checks its promise; the groups of cases follow."""

    def source(self, name, data):
        return super().source(os.fsencode(name), data)

    def run_cli(self, *args, limit=None, descriptors=None, as_nobody=False, timeout=300,
                cwd=None):
        def limited():
            # SIGXFSZ as a shell leaves it, ending the process by default: the program itself
            # must make the write beyond the limit fail with EFBIG instead.
            signal.signal(signal.SIGXFSZ, signal.SIG_DFL)
            if limit is not None:
                resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
            if descriptors is not None:
                resource.setrlimit(resource.RLIMIT_NOFILE, (descriptors, descriptors))

        program, extra = CLI, {}
        if as_nobody:
            # The build folder may lie where nobody cannot reach (root's home): nobody runs a
            # copy in the test's own folder.
            program = os.path.join(self.dir, "folivane-cli")
            if not os.path.exists(program):
                shutil.copy(CLI, program)
            extra = dict(user=NOBODY, group=NOBODY, extra_groups=[])
        return subprocess.run([program, "-q", *args], capture_output=True, env=self.env, cwd=cwd,
                              timeout=timeout, preexec_fn=limited, **extra)

    def convert(self, output, *args, fails_naming=None, **options):
        """Runs folivane-cli and checks the promise. With `fails_naming` (the file and the
        cause) the run must fail and say them."""
        folder = os.path.dirname(output) or "."
        names = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
        before = None
        if os.path.isfile(output) and not os.path.islink(output):
            with open(output, "rb") as f:
                before = f.read()
        kind = os.lstat(output).st_mode if os.path.lexists(output) else None
        result = self.run_cli("-o", output, *args, **options)
        report = result.stderr.decode(errors="replace")
        self.assertIn(result.returncode, (0, 1), report)
        self.assertEqual(os.listdir(self.temp), [], "a working folder was left behind")
        now = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
        if result.returncode == 0:
            self.assertIsNone(fails_naming, f"{output} was written")
            self.assertEqual(result.stdout, b"Convert Succeeded!\n")
            self.assertTrue(os.path.isfile(output) and not os.path.islink(output))
            self.assertEqual(now, sorted(set(names) | {os.path.basename(output)}))
        else:
            self.assertIn(b"Convert Unsuccessful!", result.stderr)
            for part in fails_naming or []:
                self.assertIn(os.fsencode(part), result.stderr)
            self.assertEqual(now, names, "names beside the output changed")
            self.assertEqual(os.lstat(output).st_mode if os.path.lexists(output) else None, kind)
            if before is not None:
                with open(output, "rb") as f:
                    self.assertEqual(f.read(), before, "the earlier file changed")
        return result

    def keep_book(self, path, **expected):
        KEPT.keep(path, move=False, **expected)


class InputsTest(CliReliabilityCase):
    """Sources, names, covers and book information of every odd kind."""

    def test_odd_source_bytes_give_a_valid_book(self):
        sources = [self.source(name + ".txt", data) for name, data in odd_sources().items()]
        sources.append(self.source("PngRenamedToTxt.txt", b""))
        picture(sources[-1].decode(), "png")
        out = os.path.join(self.out, "odd.epub")
        self.convert(out, *sources)
        self.keep_book(out)

    def test_awkward_names_and_long_paths_give_valid_books(self):
        names = {
            b"with  two spaces .txt": "with  two spaces ",
            b"\"double\" 'single'.txt": "\"double\" 'single'",
            b"Tom & Jerry.txt": "Tom & Jerry",
            b"a<b>c.txt": "a<b>c",
            b"100% %s %n.txt": "100% %s %n",
            "第一章 Ünïcødé.txt".encode(): "第一章 Ünïcødé",
            b"-leading dash.txt": "-leading dash",
            b"n" * 251 + b".txt": "n" * 251,
            b"control\x01\x1f.txt": "control",
            # A name in no code page the text tells: its bad byte shows as U+FFFD.
            b"caf\xe9.txt": "caf\ufffd",
        }
        sources = [self.source(name, b"text") for name in names]
        deep = os.path.join(self.dir, "in", *(c * 100 for c in "def"), "deep.txt")
        sources.append(write(deep, b"deep text"))
        write(os.path.join(self.dir, "in", "real", "target.txt"), b"linked text")
        os.symlink(os.path.join(self.dir, "in", "real", "target.txt"),
                   os.path.join(self.dir, "in", "link.txt"))
        sources.append(os.path.join(self.dir, "in", "link.txt"))
        chapters = [{"name": n, "lines": ["text"]} for n in names.values()]
        chapters += [{"name": "deep", "lines": ["deep text"]},
                     {"name": "link", "lines": ["linked text"]}]
        out = os.path.join(self.out, "-Book & <x> \"q\" 100% 书.epub")
        self.convert(out, "--", *sources)
        self.keep_book(out, chapters=chapters)

        for out in (os.path.join(self.out, "o" * 245 + ".epub"),
                    os.path.join(self.out, *(c * 100 for c in "pqr"), "deep.epub")):
            os.makedirs(os.path.dirname(out), exist_ok=True)
            self.convert(out, sources[0])
            self.keep_book(out)

    def test_sources_that_are_no_text_files_fail_naming_them(self):
        out = write(os.path.join(self.out, "book.epub"), b"an earlier file")
        ok = self.source("ok.txt", b"fine")
        inside = os.path.join(self.dir, "in")
        os.mkdir(os.path.join(inside, "folder.txt"))
        os.symlink(os.path.join(inside, "nowhere"), os.path.join(inside, "dangling.txt"))
        os.mkfifo(os.path.join(inside, "fifo.txt"))
        os.symlink("/dev/zero", os.path.join(inside, "zero.txt"))
        for name, cause in [("folder.txt", "Is a directory"),
                            ("dangling.txt", "No such file or directory"),
                            ("fifo.txt", "Not a regular file"),
                            ("zero.txt", "Not a regular file"),
                            ("missing.txt", "No such file or directory")]:
            with self.subTest(name):
                path = os.path.join(inside, name)
                self.convert(out, ok, path, fails_naming=[path, cause], timeout=60)

    def test_covers_that_are_no_pictures_fail_and_damaged_or_huge_ones_never_harm(self):
        chapter = self.source("chapter.txt", b"text")
        inside = os.path.join(self.dir, "in")
        jpeg = picture(os.path.join(inside, "good.jpg"), "jpg")
        bmp = bytearray(picture(os.path.join(inside, "good.bmp"), "bmp"))
        bmp[18:26] = (10000).to_bytes(4, "little") * 2
        png = bytearray(picture(os.path.join(inside, "good.png"), "png"))
        png[16:24] = (20000).to_bytes(4, "big") * 2
        grey_jpeg(os.path.join(inside, "huge.jpg"), 7000, 6000)
        os.mkdir(os.path.join(inside, "folder.jpg"))
        os.mkfifo(os.path.join(inside, "fifo.jpg"))
        rows = [("missing.jpg", None, "No such file or directory"),
                ("folder.jpg", None, "Is a directory"),
                ("fifo.jpg", None, "Not a regular file"),
                ("not-a-picture.jpg", b"plain text", "is not a JPEG, PNG, GIF or BMP picture"),
                ("two-bytes.jpg", jpeg[:2], "is not a JPEG, PNG, GIF or BMP picture"),
                ("header-only.jpg", jpeg[:20], None),
                ("half.jpg", jpeg[:len(jpeg) // 2], None),
                ("without-end.jpg", jpeg[:-2], None),
                ("huge.jpg", None, "too large"),
                ("huge-claim.bmp", bytes(bmp), "too large"),
                ("huge-claim.png", bytes(png), "too large")]
        for name, data, cause in rows:
            with self.subTest(name):
                cover = os.path.join(inside, name)
                if data is not None:
                    write(cover, data)
                out = os.path.join(self.out, name + ".epub")
                result = self.convert(out, "--cover", cover, chapter,
                                      fails_naming=[cover, cause] if cause else None)
                if result.returncode == 0:
                    self.keep_book(out)
                elif cause is None:
                    self.assertIn(b"the picture is damaged", result.stderr)

    def test_book_information_that_looks_like_xml_or_holds_controls_stays_text(self):
        text = self.source("a.txt", b"a")
        lookalikes = ("</dc:title><dc:title>Second</dc:title><meta name=\"x\"/>"
                      "<![CDATA[ x ]]> <!-- c --> <?pi x?> &amp; &#0; &#x1;")
        title = lookalikes.encode() + b" \x01\x02\x1f|\x7f|\xc2\x85|\xef\xbf\xbe|\x1b[0m end"
        out = os.path.join(self.out, "info.epub")
        self.convert(out, "--title", title, "--author", "Writer\twith a tab\nand a line",
                     "--publisher", "]]> \x0b\x0c\x08 <publisher>", text)
        self.keep_book(out, title=lookalikes + " |\x7f|\x85||[0m end",
                       author="Writer\twith a tab\nand a line", publisher="]]>  <publisher>")
        for name, title in [("controls", b"\x01\x02\x03"), ("blank", b" \x0b ")]:
            out = os.path.join(self.out, f"Named {name}.epub")
            self.convert(out, "--title", title, text)
            # A title of nothing XML can hold: the book is named after its first file.
            self.keep_book(out, title="a")
        # Bytes that are not UTF-8 are no title: refused before any work.
        refused = self.run_cli("-o", os.path.join(self.out, "bytes.epub"), "--title", b"\xff\xfe",
                               text)
        self.assertEqual(refused.returncode, 2)
        self.assertIn(b"--title is not UTF-8", refused.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.out, "bytes.epub")))


class LargeSourcesTest(CliReliabilityCase):
    """Sources of huge lines and sizes, and many sources."""

    def test_huge_lines_sources_and_source_counts_give_valid_books(self):
        line = ("一行很长的文字 and a very long line without end, " * 19000).encode()  # 1 MiB
        out = os.path.join(self.out, "line.epub")
        self.convert(out, self.source("line.txt", line))
        self.keep_book(out, pandoc=False)  # cut into pages after sentences and spaces

        lines, size = [], 0
        while size < 6 << 20:
            lines.append(f"Line {len(lines)}, 第{len(lines) % 97}段: the quick brown fox.\r\n")
            size += len(lines[-1].encode())
        out = os.path.join(self.out, "huge.epub")
        self.convert(out, self.source("huge.txt", "".join(lines).encode()))
        self.keep_book(out, pandoc=False)

        many = [self.source(f"many/{i:04}.txt", f"Chapter {i:04}".encode()) for i in range(1000)]
        out = os.path.join(self.out, "many.epub")
        self.convert(out, *many)
        self.keep_book(out, chapters=[{"name": f"Chapter {i:04}", "lines": [f"Chapter {i:04}"]}
                                      for i in range(1000)])


class OutputsTest(CliReliabilityCase):
    """Outputs and limits of the system: permissions, file sizes, descriptors."""

    def test_unreadable_sources_and_read_only_output_folders_fail_as_nobody(self):
        if os.geteuid() != 0:
            self.skipTest("needs root to run folivane-cli as the user nobody")
        os.chmod(self.dir, 0o755)
        os.chown(self.temp, NOBODY, NOBODY)
        os.chown(self.out, NOBODY, NOBODY)
        ok = self.source("ok.txt", b"fine").decode()
        locked = self.source("locked.txt", b"no one may read this").decode()
        os.chmod(locked, 0)
        self.convert(os.path.join(self.out, "book.epub"), ok, locked, as_nobody=True,
                     fails_naming=[locked, "Permission denied"])
        readonly = os.path.join(self.dir, "readonly")
        os.mkdir(readonly, 0o755)
        write(os.path.join(readonly, "book.epub"), b"an earlier file")
        for name in ("new.epub", "book.epub"):
            out = os.path.join(readonly, name)
            self.convert(out, ok, as_nobody=True, fails_naming=[out, "Permission denied"])

    def test_outputs_that_cannot_take_a_book_fail_and_others_are_replaced(self):
        ok = self.source("ok.txt", b"fine")
        os.mkdir(os.path.join(self.out, "folder.epub"))
        os.mkfifo(os.path.join(self.out, "fifo.epub"))
        for name, cause in [("no/such/folder/book.epub", "No such file or directory"),
                            ("folder.epub", "Is a directory"),
                            ("fifo.epub", "Not a regular file")]:
            with self.subTest(name):
                out = os.path.join(self.out, name)
                self.convert(out, ok, fails_naming=[out, cause])
        # A blank path names no file: the writer would write nothing and call it done.
        blank = self.run_cli("-o", " ", ok, cwd=self.out)
        self.assertEqual(blank.returncode, 1)
        self.assertIn(b"no output file is named", blank.stderr)
        self.assertEqual(sorted(os.listdir(self.out)), ["fifo.epub", "folder.epub"])
        self.assertEqual(os.listdir(self.temp), [])
        out = write(os.path.join(self.out, "notes.epub"), b"plain text where the book goes")
        self.convert(out, ok)
        self.keep_book(out, chapters=[{"name": "ok", "lines": ["fine"]}])
        out = os.path.join(self.out, "earlier.epub")
        other = self.source("other.txt", b"other")
        self.convert(out, "--title", "Earlier", other, ok, other)
        self.convert(out, "--title", "Later", ok)
        # The one page of a book of one source is named by the book's title.
        self.keep_book(out, title="Later", chapters=[{"name": "Later", "lines": ["fine"]}])

    def test_file_size_limits_end_in_a_named_failure_or_a_whole_book(self):
        cover = os.path.join(self.dir, "in", "cover.png")
        os.makedirs(os.path.dirname(cover))
        picture(cover, "png")
        args = ["--cover", cover, self.source("a.txt", b"first"), self.source("b.txt", b"second")]
        out = os.path.join(self.out, "b.epub")
        self.convert(out, *args)
        size = os.path.getsize(out)
        write(out, b"an earlier file")

        def run(limit):
            result = self.convert(out, *args, limit=limit)
            if result.returncode == 1:
                self.assertIn(b"File too large", result.stderr)
                self.assertIn(os.fsencode(self.dir), result.stderr)
            return result.returncode

        # The identifier is random: only limits clearly below or above the size are sure.
        sure = [0, 1, 100, 1000, size // 2, size + 64, size * 4]
        self.assertEqual([run(limit) for limit in sure], [1, 1, 1, 1, 1, 0, 0])
        for limit in (size - 1, size, size + 1):
            run(limit)
        self.keep_book(out)

        # A large source: its pages are made in memory, the archive is the only file written.
        lines = "".join(f"Line {i} of a source that is cut into pages.\n"
                        for i in range(80000))
        large = self.source("large.txt", lines.encode())
        out = os.path.join(self.out, "large.epub")
        self.convert(out, large, limit=50000, fails_naming=[out, "File too large"])
        self.convert(out, large, limit=120000, fails_naming=[out, "File too large"])

    @unittest.skipIf(SANITIZED, "the sanitizers need descriptors of their own")
    def test_running_out_of_descriptors_ends_in_a_named_failure_and_leaves_nothing(self):
        cover = os.path.join(self.dir, "in", "cover.png")
        os.makedirs(os.path.dirname(cover))
        picture(cover, "png")
        args = ["--cover", cover, self.source("a.txt", b"first"), self.source("b.txt", b"second")]
        out = write(os.path.join(self.out, "book.epub"), b"an earlier file")
        codes = []
        # From too few for any work to enough for the whole book.
        for n in range(4, 24):
            result = self.convert(out, *args, descriptors=n)
            if result.returncode == 1:
                self.assertIn(b"Too many open files", result.stderr)
            codes.append(result.returncode)
        self.assertEqual((codes[0], codes[-1]), (1, 0))
        self.keep_book(out)


class KilledRunsTest(CliReliabilityCase):
    """Runs killed at any moment."""

    def test_killed_at_random_moments_leaves_the_earlier_file_or_a_whole_book(self):
        text = "".join(f"Line {i} 雨后的石板路还湿着 of the long source.\n" for i in range(20000))
        sources = [self.source("long.txt", text.encode())]
        sources += [self.source(f"small{i}.txt", b"small " + text[:3000].encode())
                    for i in range(30)]
        cover = os.path.join(self.dir, "in", "cover.jpg")
        picture(cover, "jpg")
        out = os.path.join(self.out, "book.epub")
        start = time.monotonic()
        self.convert(out, "--cover", cover, *sources)
        whole = time.monotonic() - start
        with open(out, "rb") as f:
            earlier = f.read()
        rng = random.Random(20240611)
        kept = replaced = left = 0
        hidden = []
        for i in range(30):
            folders = set(os.listdir(self.temp))
            job = subprocess.Popen([CLI, "-q", "--title", f"Book {i}", "--cover", cover,
                                    "-o", out, *sources], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(rng.uniform(0, whole * 1.2))
            job.kill()
            job.wait()
            # A kill between naming the finished book and renaming it over the old one (or,
            # where the file system has no unnamed files, at any time) leaves a hidden book.
            names = os.listdir(self.out)
            hidden += [name for name in names if HIDDEN_BOOK.fullmatch(name)]
            self.assertEqual([name for name in names if not HIDDEN_BOOK.fullmatch(name)],
                             ["book.epub"], f"kill {i}")
            with open(out, "rb") as f:
                now = f.read()
            if now == earlier:
                kept += 1
            else:
                self.assertTrue(readers_accept(out), f"kill {i}")
                if replaced % 8 == 0:
                    self.keep_book(out, title=f"Book {i}")
                replaced += 1
                earlier = now
            left += len(set(os.listdir(self.temp)) - folders)  # the killed run's own
        # The next start sweeps the working folders that no running job owns, and the next
        # conversion to the same book the hidden books of killed ones, but for those too short
        # to tell from a file just begun.
        self.assertEqual(self.run_cli("-o", os.path.join(self.dir, "next.epub"),
                                      sources[1]).returncode, 0)
        self.assertEqual(sorted(os.listdir(self.temp)), unstarted_folders(self.temp))
        self.assertEqual(self.run_cli("-o", out, sources[1]).returncode, 0)
        for name in os.listdir(self.out):
            if name != "book.epub":
                self.assertLess(os.path.getsize(os.path.join(self.out, name)), 64, name)
        print(f"\n[  figures ] folivane-cli killed 30 times over a {whole * 1000:.0f} ms run: "
              f"earlier file kept {kept}, new book {replaced}, hidden books {len(hidden)}; "
              f"working folders left {left}, "
              f"left after the next start {len(os.listdir(self.temp))}", file=sys.stderr)
        self.assertGreater(kept, 0)


class OtherRunsTest(CliReliabilityCase):
    """Other runs and other users' files beside a run."""

    def test_two_at_once_to_two_outputs_and_to_one(self):
        text = "".join(f"Line {i} of a source long enough to overlap.\n" for i in range(20000))
        sources = [self.source("long.txt", text.encode()), self.source("short.txt", b"short")]

        def two(first, second):
            # Started together, so that they overlap on any machine (ConcurrencyTest starts the
            # second once the first has a working folder, which its sweep must leave alone).
            one = subprocess.Popen([CLI, "-q", "--title", "First", "-o", first, *sources],
                                   env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE)
            other = subprocess.Popen([CLI, "-q", "--title", "Second", "-o", second, *sources],
                                     env=self.env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE)
            for job in (one, other):
                _, err = job.communicate(timeout=300)
                self.assertEqual(job.returncode, 0, err)
            self.assertEqual(os.listdir(self.temp), [])

        a, b = os.path.join(self.out, "a.epub"), os.path.join(self.out, "b.epub")
        two(a, b)
        self.keep_book(a, title="First")
        self.keep_book(b, title="Second")
        same = write(os.path.join(self.out, "same.epub"), b"an earlier file")
        two(same, same)
        self.assertEqual(sorted(os.listdir(self.out)), ["a.epub", "b.epub", "same.epub"])
        with zipfile.ZipFile(same) as archive:
            opf = archive.read("OEBPS/content.opf").decode()
        self.assertTrue("<dc:title>First<" in opf or "<dc:title>Second<" in opf)
        self.keep_book(same)

    def test_links_planted_where_working_folders_or_the_book_go_are_never_followed(self):
        victim = os.path.join(self.dir, "victim")
        write(os.path.join(victim, ".lock"), b"1")
        write(os.path.join(victim, "EPUB", "mimetype"), b"precious")
        precious = write(os.path.join(self.dir, "keep", "precious.txt"), b"precious")
        os.symlink(victim, os.path.join(self.temp, "folivane-LinkDr"))
        os.symlink(precious, os.path.join(self.temp, "folivane-LinkFi"))
        stale = os.path.join(self.temp, "folivane-Stale1")
        write(os.path.join(stale, ".lock"), b"1")
        os.symlink(os.path.join(victim, "EPUB"), os.path.join(stale, "EPUB"))
        # A folder of the user's that happens to match the name of a working folder.
        backup = os.path.join(self.temp, "folivane-backup")
        write(os.path.join(backup, "thesis.txt"), b"years of work")
        os.utime(backup, (time.time() - 3600, time.time() - 3600))
        before = describe(victim), describe(os.path.dirname(precious)), describe(backup)
        # An output linked to a text file is refused, naming it: the link and the file stay.
        linked = os.path.join(self.out, "linked.epub")
        os.symlink(precious, linked)
        source = self.source("a.txt", b"text")
        result = self.run_cli("-o", linked, source)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn(precious.encode(), result.stdout + result.stderr)
        self.assertTrue(os.path.islink(linked))

        out = os.path.join(self.out, "book.epub")
        result = self.run_cli("-o", out, source)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(sorted(os.listdir(self.temp)),
                         ["folivane-LinkDr", "folivane-LinkFi", "folivane-backup"])
        self.assertEqual((describe(victim), describe(os.path.dirname(precious)), describe(backup)),
                         before)
        self.keep_book(out, chapters=[{"name": "a", "lines": ["text"]}])


if __name__ == "__main__":
    cli_suite.main(KEPT)
