// The chapter list: small sources as they are, large ones cut into UTF-8 piece files.
#include "ChapterList.h"

#include "ConversionError.h"
#include "DocumentWriter.h"
#include "SourceText.h"

#include "platform/RegularFile.h"
#include "platform/SystemError.h"

#include <string>
#include <string_view>

namespace folivane::engine {
namespace {

// A source of more than 100 KiB is split.
constexpr double kSizeLimitKB = 100.0;
// A piece is closed once its lines hold this many bytes (90 KiB). Every byte counts, blank
// lines and line ends too, so that no page can grow without bound.
constexpr std::size_t kPieceThreshold = 92160;
// Pieces carry a byte-order mark so that they are read back as UTF-8, never as a
// legacy code page.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Cuts `text` into pieces between lines and writes each as a piece file; one chapter per
// piece, appended to `chapters`.
void SplitSource(std::string_view text, const std::string& pieceFolder,
                 const std::string& piecePrefix, const std::string& sourcePath,
                 const std::string& chapterPrefix, TChapterList& chapters) {
    std::string piece(kUtf8Mark);
    piece.reserve(kPieceThreshold + kPieceThreshold / 4);
    std::size_t counter = 0;
    int n = 1;
    const auto writePiece = [&] {
        const std::string path = piecePrefix + std::to_string(n) + ".txt";
        WriteWorkingFile(pieceFolder, path, piece,
                         "a piece of \"" + platform::ExpandFileName(sourcePath) + "\"");
        chapters.push_back({chapterPrefix + std::to_string(n), path});
        ++n;
        counter = 0;
        piece.assign(kUtf8Mark);
    };

    std::size_t start = 0;
    const std::size_t size = text.size();
    while (start < size) {
        // A line ends at CR LF, at LF or at a lone CR; LF CR is two line ends.
        std::size_t end = start;
        while (end < size && text[end] != '\n' && text[end] != '\r')
            ++end;
        const std::string_view line = text.substr(start, end - start);
        start = end;
        if (start < size)
            start += text[start] == '\r' && start + 1 < size && text[start + 1] == '\n' ? 2u : 1u;

        piece.append(line);
        piece.append("\r\n");
        counter += line.size() + 2;
        if (counter >= kPieceThreshold) writePiece();
    }
    // The last piece, and one empty chapter for a text that decodes to nothing, so that
    // the source keeps its place in the book.
    if (piece.size() > kUtf8Mark.size() || n == 1) writePiece();
}

} // namespace

double GetFileSizeKB(const std::string& path) {
    const std::optional<std::int64_t> size = platform::RegularFileSize(path);
    return size ? static_cast<double>(*size) / 1024.0 : 0;
}

std::string GetFileNameFromPath(const std::string& path, bool wholeName) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (wholeName) return name;
    if (name.size() < 5) return std::string();
    name.resize(name.size() - 4);
    return name;
}

TChapterList BuildChapterList(const std::vector<std::string>& sources,
                              const std::string& pieceFolder, const std::string& legacyEncoding,
                              const std::function<void()>& checkPoint) {
    std::string folder = pieceFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    TChapterList chapters;
    for (std::size_t index = 0; index < sources.size(); ++index) {
        if (checkPoint) checkPoint();
        const std::string& path = sources[index];
        const std::string name = GetFileNameFromPath(path, false);
        if (GetFileSizeKB(path) <= kSizeLimitKB) {
            chapters.push_back({name, path});
            continue;
        }
        // Piece files are named by the source's place in the book, never by its name:
        // two sources called a.txt (or a.txt and a1.txt) cannot meet, and a long source
        // name cannot make a piece name too long.
        const std::string text =
            ReadingFile(path, [&] { return ReadSourceText(path, legacyEncoding); });
        ReadingFile(path, [&] {
            SplitSource(text, folder, folder + std::to_string(index) + "-", path, name, chapters);
        });
    }
    return chapters;
}

} // namespace folivane::engine
