#!/usr/bin/env python3
"""Checks EPUB books with independent tools: Python's zipfile, unzip -t, epubcheck, pandoc.

Usage: check_book.py EXPECTATIONS.json
When FOLIVANE_EPUBCHECK_BATCH names the folder of the compiled EpubCheckBatch (the build makes
it), epubcheck runs over all the books in the one Java process that serves the whole test run
(started by the first check that finds none), else once a book.
The file holds {"books": [{"path": ..., "title": ..., "author": ..., "publisher": ...,
"cover": "image/png" or null, "chapters": [{"name": ..., "lines": [...]}],
"text": [...], "toc": [[label, [[label, []], ...]], ...], "language": "zh-CN",
"pandoc": false, "epub": 3}]}; every key but "path" is optional. "lines" are the headings and paragraphs
of one chapter page; "text" those of all chapter pages in book order; "toc" the table of
contents of toc.ncx, each entry its label and the entries within it; "language" the book's
dc:language, which every page's xml:lang must repeat; "epub" the EPUB version the package
must declare. Every EPUB 3 book must also have its navigation document's table of contents
the same as toc.ncx's, entry for entry and level for level, landmarks for its cover page,
contents and first page, and a modification time; every book a guide to its cover page,
contents and first page. Prints one line per problem and exits 1 when there is any.
"""
import concurrent.futures
import fcntl
import json
import os
import re
import socket
import subprocess
import sys
import time
import zipfile
import xml.etree.ElementTree as ET

# Tiered compilation stopped early and the serial collector halve the start-up of a
# short validation run.
EPUBCHECK = ["java", "-XX:TieredStopAtLevel=1", "-XX:+UseSerialGC"]
EPUBCHECK_JAR = "/usr/share/java/epubcheck.jar"
OPF = "{http://www.idpf.org/2007/opf}"
DC = "{http://purl.org/dc/elements/1.1/}"
NCX = "{http://www.daisy.org/z3986/2005/ncx/}"
XHTML = "{http://www.w3.org/1999/xhtml}"
OPS = "{http://www.idpf.org/2007/ops}"
XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"


def epubcheck_problems(run_output, code):
    """The problems in what epubcheck said of one book: warnings and errors, or its last
    lines when it failed without saying why."""
    bad = [line for line in run_output.splitlines()
           if line.startswith(("WARNING", "ERROR", "FATAL"))]
    if code != 0 or bad:
        return ["epubcheck: " + line for line in (bad or run_output.splitlines()[-5:])]
    return []


def epubcheck_one(path):
    run = subprocess.run(EPUBCHECK + ["-jar", EPUBCHECK_JAR, path], capture_output=True,
                         text=True)
    return epubcheck_problems(run.stdout + run.stderr, run.returncode)


# A server started by a check stays this long for the next one: one Java process serves a
# whole test run, and none is left once it ends.
SERVER_IDLE_SECONDS = 60


def connect(socket_path):
    client = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    try:
        client.connect(socket_path)
        return client
    except OSError:  # none listens there, or the path is too long for a socket
        client.close()
        return None


def epubcheck_server(classes):
    """A connection to the epubcheck server of the compiled launcher's folder, started when
    none runs; None when it cannot be had (the caller starts a batch of its own)."""
    path = os.path.join(classes, "server.sock")
    client = connect(path)
    if client is not None:
        return client
    with open(path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)  # one check starts it; the others wait and connect
        client = connect(path)
        if client is not None:
            return client
        if os.path.exists(path):
            os.unlink(path)  # left by a server that did not end cleanly
        # Its own session, with no stream of ours: a test is over when its streams close.
        server = subprocess.Popen(
            EPUBCHECK + ["-cp", EPUBCHECK_JAR + os.pathsep + classes, "EpubCheckBatch",
                         "--serve", path, str(SERVER_IDLE_SECONDS)],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            cwd=classes, start_new_session=True)
        deadline = time.monotonic() + 60
        while server.poll() is None and time.monotonic() < deadline:
            client = connect(path)
            if client is not None:
                return client
            time.sleep(0.05)
    return None


class EpubcheckBatch:
    """epubcheck over many books in one Java process, asked at once and read when its
    results are wanted: the server of the test run, else a process of its own; the books it
    did not report on are checked one process each."""

    def __init__(self, paths):
        self.paths = paths
        classes = os.environ.get("FOLIVANE_EPUBCHECK_BATCH", "")
        self.process = self.server = None
        # Without its compiled launcher there is no batch.
        if not paths or not os.path.isfile(os.path.join(classes, "EpubCheckBatch.class")):
            return
        self.server = epubcheck_server(classes)
        if self.server is not None:
            request = "".join(os.path.abspath(path) + "\n" for path in paths) + "\n"
            self.server.sendall(request.encode("utf-8"))
        elif len(paths) > 1:  # one book gains nothing from a batch of its own
            self.process = subprocess.Popen(
                EPUBCHECK + ["-cp", EPUBCHECK_JAR + os.pathsep + classes, "EpubCheckBatch",
                             *paths], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def output(self):
        if self.server is not None:
            with self.server, self.server.makefile("rb") as reply:
                return reply.read().decode("utf-8", "replace")
        if self.process is not None:
            return self.process.communicate()[0].decode("utf-8", "replace")
        return ""

    def results(self):
        """The problems of each book, in the order of the paths."""
        found = {}
        book, lines = None, []
        for line in self.output().splitlines():
            marker = re.fullmatch(r"BOOK (\d+) (-?\d+)", line)
            if marker or line == "END":
                if book is not None:
                    found[book[0]] = epubcheck_problems("\n".join(lines), book[1])
                book = (int(marker[1]), int(marker[2])) if marker else None
                lines = []
            elif book is not None:
                lines.append(line)
        return [found[i] if i in found else epubcheck_one(path)
                for i, path in enumerate(self.paths)]


def tools(path, with_pandoc=True):
    problems = []
    unzip = subprocess.run(["unzip", "-t", "-qq", path], capture_output=True, text=True)
    if unzip.returncode != 0:
        problems.append("unzip -t: " + (unzip.stdout + unzip.stderr).strip())
    # pandoc takes minutes over a book of tens of MB; such books may leave it out.
    if with_pandoc:
        # Read as a reader does; its JSON is the cheapest output to write, and is not kept.
        pandoc = subprocess.run(["pandoc", "-f", "epub", "-t", "json", "-o", os.devnull, path],
                                capture_output=True, text=True)
        if pandoc.returncode != 0:
            problems.append("pandoc: " + pandoc.stderr.strip())
    return problems


BLOCKS = {XHTML + "p", XHTML + "h1", XHTML + "h2", XHTML + "h3"}


def paragraphs(page):
    """The headings and paragraphs of a page, in order, as text."""
    body = ET.fromstring(page).find(XHTML + "body")
    return ["".join(e.itertext()) for e in body.iter() if e.tag in BLOCKS]


def nav_points(parent):
    """The table of contents under an element of toc.ncx: [label, [entries within]] each."""
    return [[point.find(f"{NCX}navLabel/{NCX}text").text or "", nav_points(point)]
            for point in parent.findall(NCX + "navPoint")]


def ncx_tree(parent):
    """(label, target, entries within) of each navPoint under an element of toc.ncx."""
    return [(point.find(f"{NCX}navLabel/{NCX}text").text or "",
             point.find(NCX + "content").get("src"), ncx_tree(point))
            for point in parent.findall(NCX + "navPoint")]


def nav_tree(ol):
    """The same for an <ol> of nav.xhtml."""
    if ol is None:
        return []
    return [("".join(li.find(XHTML + "a").itertext()), li.find(XHTML + "a").get("href"),
             nav_tree(li.find(XHTML + "ol"))) for li in ol.findall(XHTML + "li")]


def epub3_problems(archive, opf, manifest, pages, ncx):
    """What an EPUB 3 book has beyond an EPUB 2 one, checked against its EPUB 2 parts."""
    problems = []
    modified = [meta.text for meta in opf.iter(OPF + "meta")
                if meta.get("property") == "dcterms:modified"]
    if len(modified) != 1 or not re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ",
                                              modified[0] or ""):
        problems.append(f"dcterms:modified is {modified!r}")
    navs = [item.get("href") for item in manifest.values()
            if "nav" in (item.get("properties") or "").split()]
    if navs != ["nav.xhtml"]:
        return problems + [f"navigation documents {navs!r}"]
    nav = ET.fromstring(archive.read("OEBPS/nav.xhtml"))
    lists = {element.get(OPS + "type"): element.find(XHTML + "ol")
             for element in nav.iter(XHTML + "nav")}
    if nav_tree(lists.get("toc")) != ncx_tree(ncx.find(NCX + "navMap")):
        problems.append(f"nav.xhtml's contents {nav_tree(lists.get('toc'))!r} differ from "
                        f"toc.ncx's {ncx_tree(ncx.find(NCX + 'navMap'))!r}")
    marks = lists.get("landmarks")
    landmarks = {a.get(OPS + "type"): a.get("href")
                 for a in (marks.iter(XHTML + "a") if marks is not None else [])}
    cover = manifest.get("cover")
    wanted = {"bodymatter": pages[0]} if pages else {}
    wanted["toc"] = "#toc"
    if cover is not None:
        wanted["cover"] = "titlepage.xhtml"
        if cover.get("properties") != "cover-image":
            problems.append("the cover picture is not marked cover-image")
    if landmarks != wanted:
        problems.append(f"landmarks {landmarks!r}, expected {wanted!r}")
    for href in ["nav.xhtml"] + (["titlepage.xhtml"] if cover is not None else []) + pages:
        root = ET.fromstring(archive.read("OEBPS/" + href))
        if root.get("lang") != root.get(XML_LANG):
            problems.append(f"{href} has lang {root.get('lang')!r} and xml:lang "
                            f"{root.get(XML_LANG)!r}")
            break
    return problems


def contents(book):
    problems = []
    path = book["path"]
    with zipfile.ZipFile(path) as archive:
        bad = archive.testzip()
        if bad is not None:
            problems.append("zipfile: bad CRC in " + bad)
        first = archive.infolist()[0]
        if (first.filename != "mimetype" or first.compress_type != zipfile.ZIP_STORED
                or first.extra or archive.read(first) != b"application/epub+zip"):
            problems.append("mimetype is not the first, stored entry without extra field")
        names = archive.namelist()
        if any(name.endswith("/") for name in names):
            problems.append("folder entries in the archive")
        opf = ET.fromstring(archive.read("OEBPS/content.opf"))
        metadata = opf.find(OPF + "metadata")
        for key in ("title", "creator", "publisher"):
            wanted = book.get("author" if key == "creator" else key)
            if wanted is not None:
                element = metadata.find(DC + key)
                # EPUB 3 refuses empty metadata: an empty value is left out, in both versions.
                if element is None:
                    element = ET.Element(DC + key)
                found = element.text or "" if element is not None else None
                if found != wanted:
                    problems.append(f"dc:{key} is {found!r}, expected {wanted!r}")
        manifest = {item.get("id"): item for item in opf.find(OPF + "manifest")}
        if "cover" in book:
            item = manifest.get("cover")
            found = item.get("media-type") if item is not None else None
            if found != book["cover"]:
                problems.append(f"cover media type {found!r}, expected {book['cover']!r}")
        # The chapters are the reading order: the contents a reader shows from its menu are not.
        spine = [ref.get("idref") for ref in opf.find(OPF + "spine") if ref.get("linear") != "no"]
        pages = [manifest[idref].get("href") for idref in spine if idref != "titlepage"]
        guide = {ref.get("type"): ref.get("href") for ref in opf.iter(OPF + "reference")}
        wanted = {"toc": "nav.xhtml#toc" if opf.get("version") == "3.0" else "contents.html"}
        if pages:
            wanted["text"] = pages[0]
        if "cover" in manifest:
            wanted["cover"] = "titlepage.xhtml"
        if guide != wanted:
            problems.append(f"guide {guide!r}, expected {wanted!r}")
        ncx = ET.fromstring(archive.read("OEBPS/toc.ncx"))
        version = opf.get("version")
        if "epub" in book and version != f"{book['epub']}.0":
            problems.append(f"package version {version!r}, expected {book['epub']}.0")
        if opf.find(OPF + "spine").get("toc") != "ncx" or manifest["ncx"].get("href") != "toc.ncx":
            problems.append("the spine does not name toc.ncx")
        uid = [meta.get("content") for meta in ncx.iter(NCX + "meta")
               if meta.get("name") == "dtb:uid"]
        identifier = [e.text for e in metadata.findall(DC + "identifier")
                      if e.get("id") == opf.get("unique-identifier")]
        if not identifier or not identifier[0].startswith("urn:uuid:") or uid != identifier:
            problems.append(f"identifier {identifier!r}, toc.ncx's {uid!r}")
        if version == "3.0":
            problems += epub3_problems(archive, opf, manifest, pages, ncx)
        labels = [point.find(f"{NCX}navLabel/{NCX}text").text or ""
                  for point in ncx.iter(NCX + "navPoint")]
        if "toc" in book:
            found = nav_points(ncx.find(NCX + "navMap"))
            if found != book["toc"]:
                problems.append(f"table of contents {found!r}, expected {book['toc']!r}")
        if "language" in book:
            found = metadata.find(DC + "language").text
            if found != book["language"]:
                problems.append(f"dc:language is {found!r}, expected {book['language']!r}")
            for href in pages:
                lang = ET.fromstring(archive.read("OEBPS/" + href)).get(XML_LANG)
                if lang != book["language"]:
                    problems.append(f"{href} has xml:lang {lang!r}")
                    break
        if "text" in book:
            found = [line for href in pages for line in paragraphs(archive.read("OEBPS/" + href))]
            if found != book["text"]:
                problems.append(f"book text differs: {len(found)} paragraphs, "
                                f"expected {len(book['text'])}")
        expected = book.get("chapters")
        if expected is not None:
            if len(expected) != len(pages):
                problems.append(f"{len(pages)} chapters, expected {len(expected)}")
            for index, (chapter, href) in enumerate(zip(expected, pages)):
                if "name" in chapter and labels[index] != chapter["name"]:
                    problems.append(f"chapter {index} is named {labels[index]!r}, "
                                    f"expected {chapter['name']!r}")
                if "lines" in chapter:
                    found = paragraphs(archive.read("OEBPS/" + href))
                    if found != chapter["lines"]:
                        for number, (a, b) in enumerate(zip(found, chapter["lines"])):
                            if a != b:
                                problems.append(f"chapter {index} line {number}: "
                                                f"{a[:60]!r} != {b[:60]!r}")
                                break
                        else:
                            problems.append(f"chapter {index}: {len(found)} lines, "
                                            f"expected {len(chapter['lines'])}")
    return problems


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        books = json.load(f)["books"]
    problems = []
    # One Java process validates every book while unzip and pandoc read them beside it.
    batch = EpubcheckBatch([book["path"] for book in books])
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        checked = list(pool.map(lambda b: tools(b["path"], b.get("pandoc", True)), books))
    checked = [a + b for a, b in zip(checked, batch.results())]
    for book, tool_problems in zip(books, checked):
        try:
            found = tool_problems + contents(book)
        except Exception as error:  # a book that cannot even be read is one problem
            found = tool_problems + [f"cannot read: {error!r}"]
        problems += [f"{book['path']}: {p}" for p in found]
    for line in problems:
        print(line)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
