// The cover's canvas: inks laid by coverage, and the PNG read back by independent decoders
// whatever the runs of plain rows around the drawing.
#include "engine/cover/CoverCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stb_image.h>
#include <zlib.h>

namespace folivane::engine {
namespace {

constexpr Rgb kBackground{40, 60, 80};
constexpr Rgb kInks[] = {{250, 240, 200}, {200, 20, 120}};

// The pixels as stb_image reads them, empty when it cannot.
std::vector<Rgb> Pixels(const std::string& png, int width, int height) {
    int w = 0, h = 0, channels = 0;
    const std::unique_ptr<unsigned char, void (*)(void*)> data(
        stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()),
                              static_cast<int>(png.size()), &w, &h, &channels, 3),
        stbi_image_free);
    std::vector<Rgb> pixels;
    if (!data || w != width || h != height) return pixels;
    for (std::size_t i = 0; i < static_cast<std::size_t>(w) * static_cast<std::size_t>(h); ++i)
        pixels.push_back({data.get()[3 * i], data.get()[3 * i + 1], data.get()[3 * i + 2]});
    return pixels;
}

// The image data inflated by zlib, which checks the stream's Adler-32 as stb_image does not;
// nullopt when it fails.
std::optional<std::size_t> InflatedSize(const std::string& png, std::size_t expected) {
    std::string data;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        std::uint32_t length = 0;
        for (std::size_t i = 0; i < 4; ++i)
            length = length << 8 | static_cast<unsigned char>(png[at + i]);
        if (png.compare(at + 4, 4, "IDAT") == 0) data += png.substr(at + 8, length);
        at += 12 + length;
    }
    std::vector<Bytef> inflated(expected + 1);
    uLongf size = inflated.size();
    if (uncompress(inflated.data(), &size, reinterpret_cast<const Bytef*>(data.data()),
                   data.size()) != Z_OK)
        return std::nullopt;
    return size;
}

// Each channel strictly between the background's and the ink's (the colours differ in all).
bool StrictlyBetween(Rgb pixel, Rgb ink) {
    const auto between = [](int value, int a, int b) {
        return value > std::min(a, b) && value < std::max(a, b);
    };
    return between(pixel.r, kBackground.r, ink.r) && between(pixel.g, kBackground.g, ink.g) &&
           between(pixel.b, kBackground.b, ink.b);
}

// Runs of plain rows, with `inkedRows` drawn rows between each two: the plain rows are
// written as copies of segments made once, the drawn ones deflated where they lie.
struct RowsCase {
    const char* name;
    std::vector<int> plainRuns; // top, between the drawings, bottom
    int inkedRows;
};

const RowsCase kRows[] = {
    {"OnlyDrawnRows", {0, 0}, 3},
    {"OnePlainRowEverywhere", {1, 1, 1}, 1},
    {"RunsAroundOneSegment", {63, 64, 65}, 2},
    {"RunsOfTwoSegmentsAndMore", {130, 0, 130}, 1},
    {"LongRunBetweenOnly", {0, 130, 0}, 2},
    {"NoDrawing", {130}, 0},
};

class CoverCanvasRows : public ::testing::TestWithParam<RowsCase> {};

// A drawn row shows, from the left: the ink at full coverage, at half, nothing; the inks
// alternate from one drawn row to the next.
TEST_P(CoverCanvasRows, DecodeToTheColoursDrawn) {
    const RowsCase& c = GetParam();
    constexpr int kWidth = 37;
    int height = 0;
    for (const int run : c.plainRuns)
        height += run;
    height += c.inkedRows * static_cast<int>(c.plainRuns.size() - 1);
    CoverCanvas canvas(kWidth, height, kBackground, {kInks[0], kInks[1]});
    std::vector<int> inkOfRow; // -1 for a plain row
    for (std::size_t run = 0; run < c.plainRuns.size(); ++run) {
        inkOfRow.insert(inkOfRow.end(), static_cast<std::size_t>(c.plainRuns[run]), -1);
        if (run + 1 == c.plainRuns.size()) break;
        for (int i = 0; i < c.inkedRows; ++i) {
            const int y = static_cast<int>(inkOfRow.size());
            inkOfRow.push_back(y % 2);
            for (int x = 0; x < kWidth; x += 3) {
                canvas.Blend(x, y, static_cast<std::size_t>(y % 2), 255);
                canvas.Blend(x + 1, y, static_cast<std::size_t>(y % 2), 128);
            }
        }
    }

    const std::string png = canvas.Png();
    const std::vector<Rgb> pixels = Pixels(png, kWidth, height);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kWidth * height));
    EXPECT_EQ(InflatedSize(png, static_cast<std::size_t>((kWidth + 1) * height)),
              static_cast<std::size_t>((kWidth + 1) * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const Rgb pixel = pixels[static_cast<std::size_t>(y * kWidth + x)];
            const int ink = inkOfRow[static_cast<std::size_t>(y)];
            if (ink < 0 || x % 3 == 2)
                EXPECT_EQ(pixel, kBackground) << "row " << y << ", column " << x;
            else if (x % 3 == 0)
                EXPECT_EQ(pixel, kInks[ink]) << "row " << y << ", column " << x;
            else
                EXPECT_TRUE(StrictlyBetween(pixel, kInks[ink])) << "row " << y << ", column " << x;
        }
}

INSTANTIATE_TEST_SUITE_P(Runs, CoverCanvasRows, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

// Coverage laid over coverage, each sequence on a pixel of its own.
struct Layer {
    std::size_t ink;
    std::uint8_t coverage;
};
struct LayersCase {
    const char* name;
    std::vector<Layer> layers;
    int shows; // the ink that shows (-1 none) ...
    bool full; // ... at full coverage, or strictly between it and the background
};

const LayersCase kLayers[] = {
    {"HalfOnce", {{0, 128}}, 0, false},
    {"FullTwice", {{0, 255}, {0, 255}}, 0, true},
    {"HalfTwice", {{0, 128}, {0, 128}}, 0, false},
    {"FullOverAnotherInk", {{0, 255}, {1, 255}}, 1, true},
    {"HalfOverAnotherInkAtFull", {{0, 255}, {1, 128}}, 1, true},
    {"HalfOverAnotherInkAtHalf", {{0, 128}, {1, 128}}, 1, false},
    {"NothingOverAnInk", {{0, 255}, {1, 0}}, 0, true},
    {"InkTheCanvasHasNot", {{2, 255}}, -1, false},
};

TEST(CoverCanvas, CoverageLaidOverCoverageShowsTheLastInk) {
    CoverCanvas canvas(static_cast<int>(std::size(kLayers)), 1, kBackground, {kInks[0], kInks[1]});
    for (std::size_t x = 0; x < std::size(kLayers); ++x)
        for (const Layer& layer : kLayers[x].layers)
            canvas.Blend(static_cast<int>(x), 0, layer.ink, layer.coverage);
    const std::vector<Rgb> pixels = Pixels(canvas.Png(), static_cast<int>(std::size(kLayers)), 1);
    ASSERT_EQ(pixels.size(), std::size(kLayers));
    for (std::size_t x = 0; x < std::size(kLayers); ++x) {
        const LayersCase& c = kLayers[x];
        if (c.shows < 0)
            EXPECT_EQ(pixels[x], kBackground) << c.name;
        else if (c.full)
            EXPECT_EQ(pixels[x], kInks[c.shows]) << c.name;
        else
            EXPECT_TRUE(StrictlyBetween(pixels[x], kInks[c.shows])) << c.name;
    }
    // Twice is nearer the ink than once (the ink is lighter in every channel).
    EXPECT_GT(pixels[2].r, pixels[0].r);
    EXPECT_GT(pixels[2].g, pixels[0].g);
    EXPECT_GT(pixels[2].b, pixels[0].b);
}

// A rule drawn partly off the picture fills what is on it and writes nothing past it.
TEST(CoverCanvas, FillIsClippedToThePicture) {
    CoverCanvas canvas(5, 4, kBackground, {kInks[0], kInks[1]});
    canvas.Fill(-3, -2, 9, 2, 1);
    canvas.Fill(2, 3, 2, 9, 0); // empty
    const std::vector<Rgb> pixels = Pixels(canvas.Png(), 5, 4);
    ASSERT_EQ(pixels.size(), 20u);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        EXPECT_EQ(pixels[i], i < 10 ? kInks[1] : kBackground) << i;
}

} // namespace
} // namespace folivane::engine
