// Cover kinds by signature, a decode check with stb_image, BMP to PNG with stb_image_write.
#include "Cover.h"

#include "ConversionError.h"
#include "SourceText.h"

#include <memory>
#include <stb_image.h>
#include <stb_image_write.h>

namespace folivane::engine {
namespace {

enum class Kind { Unknown, Jpeg, Png, Gif, Bmp };

// Decoding a picture this large needs more memory than a check is worth; its header
// has been read by then.
constexpr long long kMaxDecodedPixels = 40'000'000;

Kind KindOf(const std::string& bytes) {
    const auto starts = [&](std::string_view signature) {
        return bytes.compare(0, signature.size(), signature) == 0;
    };
    if (starts("\xFF\xD8\xFF")) return Kind::Jpeg;
    if (starts(std::string_view("\x89PNG\r\n\x1A\n", 8))) return Kind::Png;
    if (starts("GIF87a") || starts("GIF89a")) return Kind::Gif;
    if (starts("BM")) return Kind::Bmp;
    return Kind::Unknown;
}

std::string LowerExtension(const std::string& path) {
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension;
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

} // namespace

CoverImage LoadCover(const std::string& path) {
    SourceBytes raw = ReadSourceBytes(path);
    // A byte-order mark begins none of the picture kinds.
    std::string bytes = raw.encoding == seAnsi ? std::move(raw.body) : std::string();
    const Kind kind = KindOf(bytes);
    if (kind == Kind::Unknown)
        throw ConversionError("Cannot use \"" + path +
                              "\" as the cover: it is not a JPEG, PNG, GIF or BMP picture");
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, StbSize(bytes), &width, &height, &channels) || width <= 0 ||
        height <= 0)
        throw ConversionError("Cannot use \"" + path + "\" as the cover: the picture is damaged (" +
                              stbi_failure_reason() + ")");
    const bool small = static_cast<long long>(width) * height <= kMaxDecodedPixels;
    if (kind == Kind::Bmp && !small)
        throw ConversionError("Cannot use \"" + path + "\" as the cover: the picture is too large");

    Pixels pixels;
    if (small) {
        pixels.reset(stbi_load_from_memory(data, StbSize(bytes), &width, &height, &channels, 0));
        if (!pixels)
            throw ConversionError("Cannot use \"" + path +
                                  "\" as the cover: the picture is damaged (" +
                                  stbi_failure_reason() + ")");
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
    if (!stbi_write_png_to_func(AppendBytes, &png, width, height, channels, pixels.get(),
                                width * channels))
        throw ConversionError("Cannot convert the cover \"" + path + "\" to PNG");
    return {"png", "image/png", std::move(png)};
}

} // namespace folivane::engine
