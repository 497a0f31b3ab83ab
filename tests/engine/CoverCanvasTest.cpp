// The cover's canvas: inks laid by coverage, and the PNG read back by independent decoders
// whatever the runs of plain rows around the drawing.
#include "engine/cover/CoverCanvas.h"

#include <gtest/gtest.h>

#include <stb_image.h>
#include <zlib.h>

namespace folivane::engine {
namespace {

constexpr Rgb kBackground{40, 60, 80};
// Both lighter than the background in every channel.
constexpr Rgb kInks[] = {{250, 240, 200}, {180, 220, 120}};

// The pixels as stb_image reads them (none when it cannot), and whether zlib, which checks
// the Adler-32 that stb_image skips, inflates the image data to `size` bytes.
struct Read {
    std::vector<Rgb> pixels;
    bool inflated = false;
};
Read ReadPng(const std::string& png, std::size_t size) {
    Read read;
    int width = 0, height = 0, channels = 0;
    unsigned char* rgb =
        stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()),
                              static_cast<int>(png.size()), &width, &height, &channels, 3);
    for (int i = 0; rgb != nullptr && i < width * height; ++i)
        read.pixels.push_back({rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]});
    stbi_image_free(rgb);
    std::string data;
    for (std::size_t at = 8, length = 0; at + 12 <= png.size(); at += 12 + length) {
        length = 0;
        for (std::size_t i = 0; i < 4; ++i)
            length = length << 8 | static_cast<unsigned char>(png[at + i]);
        if (png.compare(at + 4, 4, "IDAT") == 0) data += png.substr(at + 8, length);
    }
    std::vector<Bytef> inflated(size + 1);
    uLongf inflatedSize = inflated.size();
    read.inflated = uncompress(inflated.data(), &inflatedSize,
                               reinterpret_cast<const Bytef*>(data.data()), data.size()) == Z_OK &&
                    inflatedSize == size;
    return read;
}

// Each channel strictly between `low`'s and `high`'s.
bool Between(Rgb pixel, Rgb low, Rgb high) {
    return low.r < pixel.r && pixel.r < high.r && low.g < pixel.g && pixel.g < high.g &&
           low.b < pixel.b && pixel.b < high.b;
}

// Runs of plain rows with `drawn` rows between each two: the plain ones are written as
// copies of segments of 1 to 64 rows, the drawn ones deflated where they lie.
struct RowsCase {
    const char* name;
    std::vector<int> plainRuns; // top, between the drawings, bottom
    int drawn;
};
const RowsCase kRows[] = {
    {"OnlyDrawnRows", {0, 0}, 3},          {"OnePlainRowEverywhere", {1, 1, 1}, 1},
    {"AroundOneSegment", {63, 64, 65}, 2}, {"TwoSegmentsAndMore", {130, 0, 130}, 1},
    {"LongRunBetween", {0, 130, 0}, 2},    {"NoDrawing", {130}, 0},
};

class CoverCanvasRows : public ::testing::TestWithParam<RowsCase> {};

// A drawn row shows, from the left, its ink at full coverage, at half, nothing, and again;
// the inks alternate from row to row.
TEST_P(CoverCanvasRows, DecodeToTheColoursDrawn) {
    constexpr int kWidth = 37;
    std::vector<int> inkOfRow; // -1 for a plain row
    const std::vector<int>& runs = GetParam().plainRuns;
    for (std::size_t run = 0; run < runs.size(); ++run) {
        inkOfRow.insert(inkOfRow.end(), static_cast<std::size_t>(runs[run]), -1);
        for (int i = 0; run + 1 < runs.size() && i < GetParam().drawn; ++i)
            inkOfRow.push_back(static_cast<int>(inkOfRow.size() % 2));
    }
    const auto height = static_cast<int>(inkOfRow.size());
    CoverCanvas canvas(kWidth, height, kBackground, {kInks[0], kInks[1]});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < kWidth && inkOfRow[static_cast<std::size_t>(y)] >= 0; x += 3) {
            canvas.Blend(x, y, static_cast<std::size_t>(y % 2), 255);
            canvas.Blend(x + 1, y, static_cast<std::size_t>(y % 2), 128);
        }

    const Read read = ReadPng(canvas.Png(), static_cast<std::size_t>((kWidth + 1) * height));
    EXPECT_TRUE(read.inflated);
    ASSERT_EQ(read.pixels.size(), static_cast<std::size_t>(kWidth * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const Rgb pixel = read.pixels[static_cast<std::size_t>(y * kWidth + x)];
            const int ink = inkOfRow[static_cast<std::size_t>(y)];
            if (ink < 0 || x % 3 == 2)
                EXPECT_EQ(pixel, kBackground) << "row " << y << ", column " << x;
            else
                EXPECT_TRUE(x % 3 == 0 ? pixel == kInks[ink]
                                       : Between(pixel, kBackground, kInks[ink]))
                    << "row " << y << ", column " << x;
        }
}

INSTANTIATE_TEST_SUITE_P(Runs, CoverCanvasRows, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

// Coverage laid over coverage, each row of the table on a pixel of its own.
struct LayersCase {
    const char* name;
    std::vector<std::pair<std::size_t, std::uint8_t>> layers; // ink, coverage
    std::size_t shows; // the ink that shows, at full coverage or between it and the background
    bool full;
};
const LayersCase kLayers[] = {
    {"HalfOnce", {{0, 128}}, 0, false},
    {"HalfTwice", {{0, 128}, {0, 128}}, 0, false},
    {"FullTwice", {{0, 255}, {0, 255}}, 0, true},
    {"FullOverAnotherInk", {{0, 255}, {1, 255}}, 1, true},
    {"HalfOverAnotherInkAtFull", {{0, 255}, {1, 128}}, 1, true},
    {"HalfOverAnotherInkAtHalf", {{0, 128}, {1, 128}}, 1, false},
    {"NothingOverAnInk", {{0, 255}, {1, 0}}, 0, true},
};

TEST(CoverCanvas, CoverageLaidOverCoverageShowsTheLastInk) {
    constexpr auto kCount = static_cast<int>(std::size(kLayers));
    CoverCanvas canvas(kCount, 1, kBackground, {kInks[0], kInks[1]});
    for (int x = 0; x < kCount; ++x)
        for (const auto& [ink, coverage] : kLayers[x].layers)
            canvas.Blend(x, 0, ink, coverage);
    const std::vector<Rgb> pixels = ReadPng(canvas.Png(), kCount + 1).pixels;
    ASSERT_EQ(pixels.size(), std::size(kLayers));
    for (std::size_t x = 0; x < std::size(kLayers); ++x) {
        const LayersCase& c = kLayers[x];
        EXPECT_TRUE(c.full ? pixels[x] == kInks[c.shows]
                           : Between(pixels[x], kBackground, kInks[c.shows]))
            << c.name;
    }
    EXPECT_TRUE(Between(pixels[1], pixels[0], kInks[0])) << "half twice is nearer the ink";
}

// A glyph's row laid at once is the same picture as laid pixel by pixel, where it runs off
// either side or lies above or below the picture too.
TEST(CoverCanvas, RowBlendIsBlendOfEachPixel) {
    const std::uint8_t coverage[] = {0, 1, 2, 40, 128, 255, 255, 90, 0, 3, 200, 17};
    constexpr int kCount = static_cast<int>(std::size(coverage));
    const std::pair<int, int> starts[] = {{-5, 0},  {0, 1},  {3, 2}, {7, 1},
                                          {-20, 2}, {2, -1}, {2, 3}};
    CoverCanvas byRow(10, 3, kBackground, {kInks[0], kInks[1]});
    CoverCanvas byPixel(10, 3, kBackground, {kInks[0], kInks[1]});
    for (std::size_t ink : {0u, 1u, 2u})
        for (const auto& [x, y] : starts) {
            byRow.BlendRow(x, y, ink, coverage, kCount);
            for (int i = 0; i < kCount; ++i)
                byPixel.Blend(x + i, y, ink, coverage[i]);
        }
    EXPECT_TRUE(byRow.Png() == byPixel.Png());
}

// A rule drawn partly off the picture fills what is on it and writes nothing past it.
TEST(CoverCanvas, FillIsClippedToThePicture) {
    CoverCanvas canvas(5, 4, kBackground, {kInks[0], kInks[1]});
    canvas.Fill(-3, -2, 9, 2, 1);
    canvas.Fill(2, 3, 2, 9, 0); // empty
    const std::vector<Rgb> pixels = ReadPng(canvas.Png(), 24).pixels;
    ASSERT_EQ(pixels.size(), 20u);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        EXPECT_EQ(pixels[i], i < 10 ? kInks[1] : kBackground) << i;
}

} // namespace
} // namespace folivane::engine
