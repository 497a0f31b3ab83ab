#!/usr/bin/env python3
"""The Debian package as a user gets it: made by cpack from the build tree into a scratch
folder, unpacked with dpkg-deb and checked from the outside, lintian included.

Usage: package_test.py CPACK BUILD_FOLDER VERSION
Exits 77 (skipped) when a Debian packaging tool is missing.
"""
import glob
import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

CPACK, BUILD, VERSION = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
del sys.argv[1:4]
SKIPPED = 77


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


class PackageTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="folivane-package-test.")
        made = run(CPACK, "--config", os.path.join(BUILD, "CPackConfig.cmake"),
                   "-B", cls.scratch)
        if made.returncode != 0:
            shutil.rmtree(cls.scratch)
            raise AssertionError("cpack failed:\n" + made.stdout + made.stderr)
        cls.arch = run("dpkg", "--print-architecture").stdout.strip()
        cls.debs = sorted(os.path.basename(p) for p in glob.glob(cls.scratch + "/*.deb"))
        cls.deb = os.path.join(cls.scratch, f"folivane_{VERSION}_{cls.arch}.deb")
        cls.root = os.path.join(cls.scratch, "root")
        unpacked = run("dpkg-deb", "-x", cls.deb, cls.root)
        if unpacked.returncode != 0:
            shutil.rmtree(cls.scratch)
            raise AssertionError("dpkg-deb -x failed:\n" + unpacked.stderr)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch)

    def installed(self, path):
        return os.path.join(self.root, path.lstrip("/"))

    def field(self, name):
        return run("dpkg-deb", "-f", self.deb, name).stdout.strip()

    def test_one_package_named_by_debian_rules(self):
        self.assertEqual(self.debs, [f"folivane_{VERSION}_{self.arch}.deb"])
        self.assertEqual(self.field("Package"), "folivane")
        self.assertEqual(self.field("Version"), VERSION)
        self.assertEqual(self.field("Architecture"), self.arch)

    def test_files_are_where_the_system_looks_for_them(self):
        for program in ("/usr/bin/folivane", "/usr/bin/folivane-cli"):
            self.assertTrue(os.access(self.installed(program), os.X_OK), program)
        # The programs load them, from beside them, to draw a cover from the title and to
        # convert Chinese scripts.
        for module in ("title-cover.so", "chinese-script.so"):
            self.assertTrue(os.path.isfile(self.installed("/usr/lib/folivane/modules/" + module)))
        for path in ("/usr/share/applications/folivane.desktop",
                     "/usr/share/icons/hicolor/scalable/apps/folivane.svg",
                     "/usr/share/man/man1/folivane.1.gz",
                     "/usr/share/man/man1/folivane-cli.1.gz",
                     "/usr/share/bash-completion/completions/folivane-cli",
                     "/usr/share/doc/folivane/copyright",
                     "/usr/share/doc/folivane/changelog.gz"):
            self.assertTrue(os.path.isfile(self.installed(path)), path)

    def test_manual_pages_read_without_warnings(self):
        for name, summary in (("folivane", "in a window"),
                              ("folivane-cli", "convert plain-text files into one EPUB")):
            with self.subTest(name):
                page = self.installed(f"/usr/share/man/man1/{name}.1.gz")
                self.assertEqual(run("gzip", "-t", page).returncode, 0)
                if shutil.which("man") is None:
                    continue
                env = {k: v for k, v in os.environ.items() if k != "MAN_KEEP_FORMATTING"}
                shown = run("man", "--warnings", "-E", "UTF-8", "-l", page,
                            env=dict(env, MANWIDTH="80"))
                self.assertEqual(shown.returncode, 0, shown.stderr)
                self.assertEqual(shown.stderr, "")
                text = re.sub(".\x08", "", shown.stdout)  # bold and underline, if any
                self.assertIn(summary, text)
                for section in ("SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS",
                                "ENVIRONMENT", "FILES", "EXAMPLES", "SEE ALSO"):
                    self.assertIn(f"\n{section}\n", text)

    def test_changelog_names_this_version(self):
        with gzip.open(self.installed("/usr/share/doc/folivane/changelog.gz"), "rt") as f:
            self.assertTrue(f.readline().startswith(f"folivane ({VERSION}) "))

    def test_dependencies_come_from_the_programs(self):
        depends = [d.strip().split()[0] for d in self.field("Depends").split(",")]
        for library in ("libc6", "libstdc++6", "zlib1g", "libqt6core6", "libqt6widgets6",
                        "libuchardet0"):
            self.assertIn(library, depends)
        # Found by no tool: Qt loads it to draw the window's icons.
        self.assertIn("libqt6svg6", depends)

    def test_fonts_of_the_title_cover_are_recommended(self):
        recommends = [r.strip() for r in self.field("Recommends").split(",")]
        for font in ("fonts-dejavu-core", "fonts-noto-cjk"):
            self.assertIn(font, recommends)

    def test_unpacked_cli_converts_without_the_build_tree(self):
        cli = self.installed("/usr/bin/folivane-cli")
        env = {k: v for k, v in os.environ.items() if k != "LD_LIBRARY_PATH"}
        version = run(cli, "--version", env=env)
        self.assertEqual(version.returncode, 0, version.stderr)
        self.assertIn(VERSION, version.stdout)
        with tempfile.TemporaryDirectory() as work:
            source = os.path.join(work, "dawn.txt")
            with open(source, "w", encoding="utf-8") as f:
                f.write("Chapter 1\nThe ferry left at dawn.\n")
            book = os.path.join(work, "dawn.epub")
            converted = run(cli, "-q", "--title", "Dawn", "-o", book, source, env=env)
            self.assertEqual(converted.returncode, 0, converted.stderr)
            with zipfile.ZipFile(book) as archive:
                first = archive.infolist()[0]
                self.assertEqual(first.filename, "mimetype")
                self.assertEqual(first.compress_type, zipfile.ZIP_STORED)
                self.assertEqual(archive.read(first), b"application/epub+zip")
                # Drawn by the packaged module, which the program found beside it.
                self.assertEqual(archive.read("OEBPS/cover.png")[:4], b"\x89PNG",
                                 converted.stderr)

    def complete(self, *words, cwd=None):
        """What the packaged completion offers for the last of `words`."""
        script = self.installed("/usr/share/bash-completion/completions/folivane-cli")
        line = " ".join("'" + w + "'" for w in ("folivane-cli",) + words)
        program = f"""
            source '{script}'
            function=$(complete -p folivane-cli | sed -n 's/.* -F \\([^ ]*\\) .*/\\1/p')
            COMP_WORDS=({line}); COMP_CWORD=$(( ${{#COMP_WORDS[@]}} - 1 ))
            "$function" folivane-cli
            printf '%s\\n' "${{COMPREPLY[@]}}"
        """
        done = run("bash", "--norc", "--noprofile", "-c", program, cwd=cwd)
        self.assertEqual(done.returncode, 0, done.stderr)
        return sorted(filter(None, done.stdout.split("\n")))

    def test_completion_offers_options_values_and_sources(self):
        self.assertEqual(self.complete("--chap"), ["--chapter-pattern", "--chapters"])
        self.assertEqual(self.complete("--epub-version", ""), ["2", "3"])
        with tempfile.TemporaryDirectory() as work:
            for name in ("a.txt", "B.TXT", "c.epub", "d.text"):
                open(os.path.join(work, name), "w").close()
            os.mkdir(os.path.join(work, "more"))
            self.assertEqual(self.complete("", cwd=work), ["B.TXT", "a.txt", "more"])
            self.assertEqual(self.complete("-o", "", cwd=work), ["c.epub", "more"])
            self.assertEqual(self.complete("--", "-", cwd=work), [])

    def test_lintian_finds_no_errors(self):
        # lintian leaves a cache file (mldbm-elf-*) in its temporary folder: one of ours, removed
        # with the scratch folder.
        temporary = os.path.join(self.scratch, "lintian-tmp")
        os.mkdir(temporary)
        checked = run("lintian", "--no-tag-display-limit", self.deb,
                      env=dict(os.environ, TMPDIR=temporary))
        lines = (checked.stdout + checked.stderr).splitlines()
        self.assertEqual([l for l in lines if l.startswith("E:")], [], "\n".join(lines))
        self.assertEqual(checked.returncode, 0, "\n".join(lines))
        for line in lines:
            if line.startswith("W:"):
                print(line, file=sys.stderr)


if __name__ == "__main__":
    missing = [tool for tool in (CPACK, "dpkg-deb", "dpkg-shlibdeps", "file", "lintian")
               if shutil.which(tool) is None]
    if missing:
        print("package test skipped: missing " + " ".join(missing))
        sys.exit(SKIPPED)
    unittest.main()
