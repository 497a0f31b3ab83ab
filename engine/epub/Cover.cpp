// Cover kinds by signature, sizes from the header, a decode check with stb_image, BMP to PNG.
#include "Cover.h"

#include "engine/text/AsciiText.h"
#include "engine/text/ConversionError.h"

#include "platform/FileStatus.h"
#include "platform/RegularFile.h"
#include "platform/SystemError.h"

#include <climits>
#include <memory>
#include <optional>
#include <stb_image.h>
#include <stb_image_write.h>

namespace folivane::engine {
namespace {

enum class Kind { Unknown, Jpeg, Png, Gif, Bmp };

// A cover is a picture for one page; files beyond this are not read at all.
constexpr std::int64_t kMaxCoverFile = 64 << 20;
// Every picture is decoded whole, to know that readers can show it: beyond this many pixels
// (a 7,300 x 5,500 photograph; a cover needs a tenth of that) it would take hundreds of MB.
constexpr long long kMaxPixels = 40'000'000;

Kind KindOf(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xD8\xFF")) return Kind::Jpeg;
    if (bytes.starts_with(std::string_view("\x89PNG\r\n\x1A\n", 8))) return Kind::Png;
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return Kind::Gif;
    if (bytes.starts_with("BM")) return Kind::Bmp;
    return Kind::Unknown;
}

std::string LowerExtension(const std::string& path) {
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    return AsciiLowered(path.substr(dot + 1));
}

std::uint32_t LittleEndian32(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

// BITMAPINFOHEADER's compression field: 1 and 2 are run-length encoded, which stb_image
// does not read.
bool IsRunLengthBmp(const std::string& bytes) {
    if (bytes.size() < 34 || LittleEndian32(bytes, 14) < 40) return false;
    const std::uint32_t compression = LittleEndian32(bytes, 30);
    return compression == 1 || compression == 2;
}

std::uint16_t LittleEndian16(std::string_view bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                      static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

// Why a GIF's blocks do not hold a whole first picture, which stb_image does not tell: it
// decodes half a GIF as if the rest were blank (CoverCutShort, CoverUnknownBlock). Nothing
// when they do. The trailer may be missing, as some writers leave it out.
std::optional<FailureKind> GifDamage(std::string_view bytes) {
    constexpr FailureKind kCut = FailureKind::CoverCutShort;
    // Header (6), logical screen descriptor (7), and the global colour table it announces.
    std::size_t at = 13;
    if (bytes.size() < at) return kCut;
    const auto tableAfter = [&](unsigned char flags) {
        return (flags & 0x80) != 0 ? std::size_t{3} << ((flags & 7) + 1) : 0;
    };
    at += tableAfter(static_cast<unsigned char>(bytes[10]));
    // Sub-blocks: a length byte and that many bytes, until a zero length.
    const auto skipSubBlocks = [&] {
        while (at < bytes.size() && bytes[at] != 0)
            at += std::size_t{1} + static_cast<unsigned char>(bytes[at]);
        if (at >= bytes.size()) return false;
        ++at;
        return true;
    };
    bool picture = false;
    while (at < bytes.size()) {
        const auto block = static_cast<unsigned char>(bytes[at]);
        if (block == 0x3B) break; // the trailer
        if (block == 0x21) {      // an extension: its label, then sub-blocks
            at += 2;
            if (!skipSubBlocks()) return kCut;
        } else if (block == 0x2C) { // an image: descriptor (10), colour table, code size (1)
            if (at + 10 > bytes.size()) return kCut;
            at += 10 + tableAfter(static_cast<unsigned char>(bytes[at + 9])) + 1;
            if (!skipSubBlocks()) return kCut;
            picture = true;
        } else {
            if (picture) return std::nullopt;
            return FailureKind::CoverUnknownBlock;
        }
    }
    if (!picture) return kCut;
    return std::nullopt;
}

// Why the pixel rows of a BMP that stb_image reads (uncompressed or bit fields) do not all
// stand in the file: it decodes half a BMP as if the rest were blank (CoverCutShort). Nothing
// when they do.
std::optional<FailureKind> BmpDamage(std::string_view bytes, long long width, long long height) {
    if (bytes.size() < 30) return FailureKind::CoverCutShort;
    const std::uint32_t offset = LittleEndian32(bytes, 10);
    // BITMAPCOREHEADER (12 bytes) has 16-bit sizes, so its bit count stands earlier.
    const std::uint16_t bitsPerPixel =
        LittleEndian16(bytes, LittleEndian32(bytes, 14) == 12 ? 24 : 28);
    const long long rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    if (static_cast<long long>(offset) + rowBytes * height > static_cast<long long>(bytes.size()))
        return FailureKind::CoverCutShort;
    return std::nullopt;
}

struct StbImageDeleter {
    void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};
using Pixels = std::unique_ptr<unsigned char, StbImageDeleter>;

int StbSize(const std::string& bytes) {
    return bytes.size() > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(bytes.size());
}

void AppendBytes(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

// Refuses the cover at `path` for `kind`, with `failure`'s other values.
[[noreturn]] void Refuse(const std::string& path, FailureKind kind, Failure failure = {}) {
    failure.kind = kind;
    failure.path = path;
    throw ConversionError(std::move(failure));
}

// The whole file, once its first bytes show a picture and its size is one a cover can have.
std::string ReadPicture(const std::string& path, Kind& kind) {
    try {
        platform::FileStatus status;
        const platform::FileDescriptor file = platform::OpenRegularFile(path, &status);
        const std::string& name = path;
        std::string bytes(16, '\0');
        bytes.resize(platform::ReadUpTo(file, bytes.data(), bytes.size(), name));
        kind = KindOf(bytes);
        if (kind == Kind::Unknown) Refuse(path, FailureKind::CoverNotPicture);
        const std::int64_t size = status.size;
        if (size > kMaxCoverFile)
            Refuse(path, FailureKind::CoverFileTooLarge,
                   {.number = size >> 20, .limit = kMaxCoverFile >> 20});
        platform::ReadAsOpened(file, bytes, size - static_cast<std::int64_t>(bytes.size()), name);
        return bytes;
    } catch (const platform::EStreamError& error) {
        throw ConversionError(FileFailure(error));
    }
}

CoverImage Load(const std::string& path) {
    Kind kind = Kind::Unknown;
    std::string bytes = ReadPicture(path, kind);
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    int width = 0, height = 0, channels = 0;
    if (kind == Kind::Bmp && IsRunLengthBmp(bytes)) Refuse(path, FailureKind::CoverRunLengthBmp);
    const auto damaged = [&] {
        // The header's own decoder gives the reason; stbi_info's is that of the last decoder
        // it tried.
        Pixels(stbi_load_from_memory(data, StbSize(bytes), &width, &height, &channels, 0));
        Refuse(path, FailureKind::CoverDamaged, {.detail = stbi_failure_reason()});
    };
    if (!stbi_info_from_memory(data, StbSize(bytes), &width, &height, &channels)) damaged();
    // A BMP stored top row first says so by a negative height.
    if (kind == Kind::Bmp && height < 0 && height != INT_MIN) height = -height;
    if (width <= 0 || height <= 0) damaged();
    const long long pixels = static_cast<long long>(width) * height;
    if (pixels > kMaxPixels)
        Refuse(path, FailureKind::CoverTooManyPixels,
               {.number = width, .second = height, .limit = kMaxPixels / 1'000'000});
    const std::optional<FailureKind> damage = kind == Kind::Gif   ? GifDamage(bytes)
                                              : kind == Kind::Bmp ? BmpDamage(bytes, width, height)
                                                                  : std::nullopt;
    if (damage) Refuse(path, *damage);

    const Pixels decoded(
        stbi_load_from_memory(data, StbSize(bytes), &width, &height, &channels, 0));
    if (!decoded) {
        const std::string reason = stbi_failure_reason();
        if (reason == "outofmem") Refuse(path, FailureKind::CoverOutOfMemory);
        Refuse(path, FailureKind::CoverDamaged, {.detail = reason});
    }
    const std::string named = LowerExtension(path);
    switch (kind) {
    case Kind::Jpeg:
        return {named == "jpeg" ? "jpeg" : "jpg", "image/jpeg", std::move(bytes)};
    case Kind::Png:
        return {"png", "image/png", std::move(bytes)};
    case Kind::Gif:
        return {"gif", "image/gif", std::move(bytes)};
    default:
        break;
    }
    std::string png;
    if (!stbi_write_png_to_func(AppendBytes, &png, width, height, channels, decoded.get(),
                                width * channels))
        Refuse(path, FailureKind::CoverNotConvertible);
    return {"png", "image/png", std::move(png)};
}

} // namespace

CoverImage LoadCover(const std::string& path) {
    return ReadingFile(path, [&] { return Load(path); });
}

} // namespace folivane::engine
