// Cover kinds by signature, sizes from the header, a decode check with stb_image, BMP to PNG.
#include "Cover.h"

#include "engine/text/AsciiText.h"
#include "engine/text/ConversionError.h"

#include "platform/FileStatus.h"
#include "platform/RegularFile.h"
#include "platform/SystemError.h"

#include <memory>
#include <stb_image.h>
#include <stb_image_write.h>

namespace folivane::engine {
namespace {

enum class Kind { Unknown, Jpeg, Png, Gif, Bmp };

// A cover is a picture for one page; files beyond this are not read at all.
constexpr std::int64_t kMaxCoverFile = 64 << 20;
// Decoding a picture needs its pixels in memory (and stb_image a second copy of 16-bit
// ones); beyond these the header alone is checked, or a BMP, which must be decoded to
// become PNG, is refused.
constexpr long long kMaxDecodedPixels = 40'000'000;
constexpr long long kMaxDecodedBytes = 64LL << 20;

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

std::uint32_t LittleEndian32(const std::string& bytes, std::size_t offset) {
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

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw ConversionError("Cannot use \"" + path + "\" as the cover: " + why);
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
        if (kind == Kind::Unknown) Refuse(path, "it is not a JPEG, PNG, GIF or BMP picture");
        const std::int64_t size = status.size;
        if (size > kMaxCoverFile)
            Refuse(path, "the picture file is too large (" + std::to_string(size >> 20) +
                             " MB; a cover may have at most " +
                             std::to_string(kMaxCoverFile >> 20) + " MB)");
        platform::ReadToEnd(file, bytes, size - static_cast<std::int64_t>(bytes.size()), name);
        return bytes;
    } catch (const platform::EStreamError& error) {
        throw ConversionError(error.what());
    }
}

CoverImage Load(const std::string& path) {
    Kind kind = Kind::Unknown;
    std::string bytes = ReadPicture(path, kind);
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    int width = 0, height = 0, channels = 0;
    if (kind == Kind::Bmp && IsRunLengthBmp(bytes))
        Refuse(path, "run-length encoded BMP pictures are not supported; save it as PNG or JPEG");
    if (!stbi_info_from_memory(data, StbSize(bytes), &width, &height, &channels) || width <= 0 ||
        height <= 0)
        Refuse(path, std::string("the picture is damaged (") + stbi_failure_reason() + ")");
    const long long pixels = static_cast<long long>(width) * height;
    // Four channels at most, at 16 bits kept beside their 8-bit result.
    const long long bytesPerPixel = stbi_is_16_bit_from_memory(data, StbSize(bytes)) ? 12 : 4;
    const bool decodable =
        pixels <= kMaxDecodedPixels && pixels * bytesPerPixel <= kMaxDecodedBytes;
    if (kind == Kind::Bmp && !decodable)
        Refuse(path, "the picture is too large (" + std::to_string(width) + " x " +
                         std::to_string(height) + " pixels) to be converted to PNG");

    Pixels decoded;
    if (decodable) {
        decoded.reset(stbi_load_from_memory(data, StbSize(bytes), &width, &height, &channels, 0));
        if (!decoded) {
            const std::string reason = stbi_failure_reason();
            if (reason == "outofmem")
                Refuse(path, "there is not enough memory to check the picture");
            Refuse(path, "the picture is damaged (" + reason + ")");
        }
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
        Refuse(path, "it cannot be converted to PNG");
    return {"png", "image/png", std::move(png)};
}

} // namespace

CoverImage LoadCover(const std::string& path) {
    return ReadingFile(path, [&] { return Load(path); });
}

} // namespace folivane::engine
