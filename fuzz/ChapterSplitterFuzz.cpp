// Fuzz target: a large source of any content is cut into named piece files that keep every
// line.
#include "TextLines.h"

#include "engine/chapters/ChapterList.h"
#include "engine/text/SourceText.h"

#include "platform/FolderTree.h"
#include "platform/RegularFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

namespace engine = folivane::engine;

// A folder that lives as long as the process: the source and the piece folder.
struct Workspace {
    std::string folder;
    std::string source;
    std::string pieces;

    Workspace() {
        const char* tmp = std::getenv("TMPDIR");
        folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz-split-XXXXXX";
        if (!::mkdtemp(folder.data())) std::abort();
        source = folder + "/story.txt";
        pieces = folder + "/EPUB_TXT/";
    }
    ~Workspace() { folivane::platform::RemoveFolderTree(folder); }
};

// Pieces as files in the piece folder, named by their number.
class PieceFiles : public engine::PieceStore {
public:
    explicit PieceFiles(std::string folder) : folder_(std::move(folder)) {}
    std::string Keep(std::size_t, int number, std::string_view piece, const std::string&) override {
        const std::string path = folder_ + std::to_string(number) + ".txt";
        folivane::platform::WriteNewFile(path, piece);
        return path;
    }

private:
    std::string folder_;
};

const Workspace& TheWorkspace() {
    static const Workspace workspace;
    return workspace;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const Workspace& w = TheWorkspace();
    // The first byte picks the mark and the legacy code page; the second how far the body is
    // repeated beyond the 100 KiB from which a source is split.
    const unsigned flags = data[0];
    const std::size_t target = (100u << 10) + 1 + data[1] * 1024u;
    const std::string_view body(reinterpret_cast<const char*>(data) + 2, size - 2);
    static const char* const kMarks[] = {"", "", "\xEF\xBB\xBF", "\xFF\xFE"};
    std::string bytes = kMarks[(flags >> 1) % 4];
    while (bytes.size() < target)
        bytes += body;
    {
        std::ofstream out(w.source, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const std::string legacy = (flags & 0x10) ? "GB18030" : "";

    ::mkdir(w.pieces.c_str(), 0700);
    PieceFiles pieces(w.pieces);
    engine::ChapterListOptions options;
    options.mode = engine::ChapterMode::Files;
    options.legacyEncoding = legacy;
    options.heldTextBudget = 0; // every piece to a file
    const engine::TChapterList chapters = engine::BuildChapterList({w.source}, &pieces, options);
    const std::string text = engine::ReadSourceText(w.source, legacy);

    if (chapters.empty()) __builtin_trap();
    // A Japanese text in the archives' notation loses its legend and has a colophon page:
    // its pages are checked by the notation's own tests.
    if (chapters.front().Notation) return 0;
    // Each piece's lines, and whether a line ends its piece: a line longer than a page goes on
    // in the next one.
    std::vector<std::pair<std::string_view, bool>> pieceLines;
    std::vector<std::string> readBack;
    readBack.reserve(chapters.size());
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        const engine::FileList& chapter = chapters[i];
        if (chapter.Name != "story (" + std::to_string(i + 1) + ")") __builtin_trap();
        if (chapter.Path.rfind(w.pieces, 0) != 0) __builtin_trap();
        readBack.push_back(engine::ReadSourceText(chapter.Path));
        // No page grows past 100 KiB, its line ends counted as CR LF.
        if (readBack.back().size() > 102400) __builtin_trap();
        const std::vector<std::string_view> lines = folivane::fuzz::TextLines(readBack.back());
        // Only the last piece may be empty: the others each hold a line that closed them.
        if (i + 1 < chapters.size() && lines.empty()) __builtin_trap();
        for (std::size_t k = 0; k < lines.size(); ++k)
            pieceLines.emplace_back(lines[k], k + 1 == lines.size());
    }
    std::size_t next = 0;
    for (const std::string_view line : folivane::fuzz::TextLines(text)) {
        std::string joined;
        bool pieceEnds = true;
        do {
            if (next == pieceLines.size()) __builtin_trap();
            joined += pieceLines[next].first;
            pieceEnds = pieceLines[next++].second;
        } while (joined.size() < line.size() && pieceEnds);
        if (joined != line) __builtin_trap();
    }
    if (next != pieceLines.size()) __builtin_trap();
    folivane::platform::RemoveFolderTree(w.pieces);
    return 0;
}
