// The cover picture: recognised by its bytes, checked, and made ready for the book.
#pragma once

#include <string>

namespace folivane::engine {

struct CoverImage {
    std::string extension; // of the file in the book: "jpg", "jpeg", "png" or "gif"
    std::string mediaType; // image/jpeg, image/png or image/gif
    std::string bytes;     // the file's content in the book
};

// Tells the picture's kind from its first bytes (JPEG, PNG, GIF or BMP) before reading the
// rest, and its size from its header before decoding it; then decodes it whole, so that no
// reader is given a picture it cannot show. JPEG, PNG and GIF go into the book unchanged; a
// BMP (bottom row first or, with a negative height, top row first) is converted to PNG, since
// readers need one of EPUB's core media types. The extension is the path's own (in lower case)
// when it names the same kind, otherwise the kind's usual one. Raises ConversionError naming
// the file and the cause when it cannot be read, is none of these kinds, is over 64 MB, has
// more than 40 million pixels, is a run-length encoded BMP, or does not decode whole (cut
// short, damaged, or claiming a size its data does not fill).
CoverImage LoadCover(const std::string& path);

} // namespace folivane::engine
