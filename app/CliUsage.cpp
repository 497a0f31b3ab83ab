// The help text of folivane-cli.
#include "CliUsage.h"

#include "engine/chapters/HeadingRules.h"

namespace folivane::cli {

std::string UsageText() {
    return "Usage: folivane-cli [OPTION]... [--] FILE.txt...\n"
           "Convert text files, in the order given, into one EPUB book.\n"
           "\n"
           "  -o, --output BOOK       write the book to BOOK (default: TITLE.epub, or "
           "myepub.epub)\n"
           "      --title TEXT        the book's name\n"
           "      --author TEXT       the book's author\n"
           "      --publisher TEXT    the book's publisher\n"
           "      --cover IMAGE       a JPEG, PNG, GIF or BMP picture for the cover\n"
           "      --encoding CODEPAGE the code page of every source without a byte-order mark\n"
           "                          (for example GB18030, BIG5, CP1252, UTF-16LE), even\n"
           "                          one that is also UTF-8; by default it is detected\n"
           "      --language TAG      the book's language as a BCP 47 tag (en, zh-CN, zh-TW, ja);\n"
           "                          by default it is judged from the text\n"
           "      --chapters auto|files\n"
           "                          auto (the default): chapters begin at heading lines such\n"
           "                          as \"第十四章 渡口\", \"第一卷\" or \"Chapter 14\"; files: "
           "one\n"
           "                          chapter per file, large files cut into pieces\n"
           "      --chapter-pattern REGEX, --volume-pattern REGEX\n"
           "                          PCRE2 patterns searched in each line instead of the\n"
           "                          built-in heading rules\n"
           "      --max-heading-length N\n"
           "                          a heading line has at most N characters (default " +
           std::to_string(engine::kDefaultMaxHeadingLength) +
           ")\n"
           "      --epub-version 2|3  the book's EPUB version (default 2); 3 adds a navigation\n"
           "                          document and keeps toc.ncx for older readers\n"
           "      --list              print the book's contents and how each source is read,\n"
           "                          as the conversion would make it, and write nothing\n"
           "      --list-format text|json\n"
           "                          the form of --list (default text)\n"
           "  -q, --quiet             show only the result\n"
           "  -h, --help              show this help and exit\n"
           "      --version           show the version and exit\n"
           "\n"
           "Sources with a byte-order mark (UTF-8, UTF-16, UTF-32) are read by it; UTF-8 and\n"
           "UTF-16 are recognised without one, UTF-8 even with a few damaged bytes. A source\n"
           "too short to tell its code page is read as the book's other sources are, else in\n"
           "the locale's code page; a line on standard error says so.\n"
           "\n"
           "Exit status: 0 when the book was written, 1 when the conversion failed, 2 for a\n"
           "usage error (also when the book would replace one of its sources or its cover),\n"
           "128+N when signal N stopped the conversion (what it made is removed).\n";
}

} // namespace folivane::cli
