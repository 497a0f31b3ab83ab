// Palette pixels in memory, written as PNG whose plain rows cost nothing to compress.
#include "CoverCanvas.h"

#include "ZlibSegments.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <optional>
#include <stdexcept>
#include <zlib.h>

namespace folivane::engine {
namespace {

void AppendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFFu);
}

// Starts a PNG chunk: its length (patched by EndChunk) and type. Returns where the type is.
std::size_t BeginChunk(std::string& png, std::string_view type) {
    AppendBigEndian(png, 0);
    const std::size_t typeAt = png.size();
    png += type;
    return typeAt;
}

// Ends the chunk begun at `typeAt`: its length, and the CRC-32 of its type and data.
void EndChunk(std::string& png, std::size_t typeAt) {
    const std::size_t length = png.size() - typeAt - 4;
    for (std::size_t i = 0; i < 4; ++i)
        png[typeAt - 4 + i] = static_cast<char>((length >> (24 - 8 * i)) & 0xFFu);
    const auto* bytes = reinterpret_cast<const Bytef*>(png.data() + typeAt);
    AppendBigEndian(png, static_cast<std::uint32_t>(crc32_z(0, bytes, length + 4)));
}

// `under` mixed with `over` by level/levels, rounded to nearest.
std::uint8_t Mix(std::uint8_t under, std::uint8_t over, int level, int levels) {
    return static_cast<std::uint8_t>((under * (levels - level) + over * level + levels / 2) /
                                     levels);
}

// zlib's run-length matching (distance 1 only): on title covers, whose inked rows are
// mostly runs of the background, its files are 4 % smaller to 9 % larger than those of
// level 4's full matching, made in a third of the time or less. The level only marks the
// header then.
constexpr int kStrategy = Z_RLE;
constexpr int kLevel = 1;

// Plain rows are written as copies of segments of 1, 2, 4 ... 64 rows, each deflated once:
// any run takes at most a copy of each below 64 besides its copies of 64.
constexpr int kPlainSegments = 7;

} // namespace

CoverCanvas::CoverCanvas(int width, int height, Rgb background, std::vector<Rgb> inks)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), background_(background),
      inks_(std::move(inks)), levels_(inks_.empty() ? 0 : 255 / static_cast<int>(inks_.size())),
      rows_((static_cast<std::size_t>(width_) + 1) * static_cast<std::size_t>(height_) + 1),
      inked_(static_cast<std::size_t>(height_)) {
    if (inks_.size() > 255) throw std::invalid_argument("a cover has at most 255 inks");
}

std::uint8_t& CoverCanvas::Pixel(int x, int y) {
    return rows_.Data()[static_cast<std::size_t>(y) * (static_cast<std::size_t>(width_) + 1) + 1 +
                        static_cast<std::size_t>(x)];
}

void CoverCanvas::Blend(int x, int y, std::size_t ink, std::uint8_t coverage) {
    BlendRow(x, y, ink, &coverage, 1);
}

void CoverCanvas::BlendRow(int x, int y, std::size_t ink, const std::uint8_t* coverage, int count) {
    if (y < 0 || y >= height_ || ink >= inks_.size()) return;
    const int first = std::max(0, -x);
    const int end = std::min(count, width_ - x);
    bool inked = false;
    for (int i = first; i < end; ++i) {
        // Coverage too faint for one level changes nothing, not even which ink shows.
        if ((coverage[i] * levels_ + 127) / 255 == 0) continue;
        std::uint8_t& pixel = Pixel(x + i, y);
        const int under = pixel == 0 ? 0 : (pixel - 1) % levels_ + 1;
        // a + c(1 - a), in levels.
        const int level = under + (coverage[i] * (levels_ - under) + 127) / 255;
        pixel = static_cast<std::uint8_t>(static_cast<int>(ink) * levels_ + level);
        inked = true;
    }
    if (inked) inked_[static_cast<std::size_t>(y)] = true;
}

void CoverCanvas::Fill(int x0, int y0, int x1, int y1, std::size_t ink) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_);
    y1 = std::min(y1, height_);
    if (x0 >= x1 || ink >= inks_.size()) return;
    const auto full = static_cast<std::uint8_t>((static_cast<int>(ink) + 1) * levels_);
    for (int y = y0; y < y1; ++y) {
        std::memset(&Pixel(x0, y), full, static_cast<std::size_t>(x1 - x0));
        inked_[static_cast<std::size_t>(y)] = true;
    }
}

std::string CoverCanvas::Png() const {
    std::string png("\x89PNG\r\n\x1A\n", 8);
    std::size_t chunk = BeginChunk(png, "IHDR");
    AppendBigEndian(png, static_cast<std::uint32_t>(width_));
    AppendBigEndian(png, static_cast<std::uint32_t>(height_));
    // 8 bits, palette, deflate, PNG's filters, not interlaced.
    png += std::string("\x08\x03\x00\x00\x00", 5);
    EndChunk(png, chunk);

    // Every level of every ink, whether drawn or not: the entries stay where the pixels
    // point without a pass to find the ones used.
    chunk = BeginChunk(png, "PLTE");
    const auto append = [&png](Rgb colour) {
        png += static_cast<char>(colour.r);
        png += static_cast<char>(colour.g);
        png += static_cast<char>(colour.b);
    };
    append(background_);
    for (const Rgb& ink : inks_)
        for (int mixed = 1; mixed <= levels_; ++mixed)
            append({Mix(background_.r, ink.r, mixed, levels_),
                    Mix(background_.g, ink.g, mixed, levels_),
                    Mix(background_.b, ink.b, mixed, levels_)});
    EndChunk(png, chunk);

    chunk = BeginChunk(png, "IDAT");
    ZlibSegments zlib(png, kLevel, kStrategy);
    DeflateRows(zlib);
    zlib.Finish();
    EndChunk(png, chunk);

    chunk = BeginChunk(png, "IEND");
    EndChunk(png, chunk);
    return png;
}

void CoverCanvas::DeflateRows(ZlibSegments& zlib) const {
    std::array<std::optional<ZlibSegments::Segment>, kPlainSegments> plain;
    const std::size_t stride = static_cast<std::size_t>(width_) + 1;
    const auto rows = static_cast<std::size_t>(height_);
    for (std::size_t row = 0; row < rows;) {
        std::size_t end = row;
        while (end < rows && inked_[end] == inked_[row])
            ++end;
        const std::uint8_t* first = &rows_.Data()[row * stride];
        if (inked_[row]) {
            zlib.Add(first, (end - row) * stride);
            row = end;
            continue;
        }
        // Every row from `first` to `end` is zeros: the filter byte and the background.
        for (int power = kPlainSegments - 1; power >= 0; --power) {
            const std::size_t size = std::size_t{1} << power;
            const std::size_t times =
                power == kPlainSegments - 1 ? (end - row) / size : ((end - row) & size) != 0;
            if (times == 0) continue;
            std::optional<ZlibSegments::Segment>& segment = plain[static_cast<std::size_t>(power)];
            if (!segment) segment = zlib.Make(first, size * stride);
            zlib.Add(*segment, times);
        }
        row = end;
    }
}

} // namespace folivane::engine
