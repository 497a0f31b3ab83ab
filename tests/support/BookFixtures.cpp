// The book checker call and generated cover pictures.
#include "BookFixtures.h"

#include "support/TestSupport.h"

#include <cstdio>
#include <stb_image_write.h>

namespace folivane::test {
namespace {

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string JsonLines(const std::vector<std::string>& lines) {
    std::string out = "[";
    for (std::size_t i = 0; i < lines.size(); ++i)
        out += (i ? "," : "") + JsonString(lines[i]);
    return out + "]";
}

void Append(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

// A 16 x 8 picture with a colour gradient, as RGB bytes.
std::vector<unsigned char> Pixels() {
    std::vector<unsigned char> pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            for (int c : {x * 16, y * 32, 128})
                pixels.push_back(static_cast<unsigned char>(c));
    return pixels;
}

} // namespace

std::string CheckBooks(const std::vector<ExpectedBook>& books, const std::string& scratchFolder) {
    std::string json = "{\"books\":[";
    for (std::size_t i = 0; i < books.size(); ++i) {
        const ExpectedBook& book = books[i];
        json += (i ? ",{" : "{") + std::string("\"path\":") + JsonString(book.path);
        if (book.title) json += ",\"title\":" + JsonString(*book.title);
        if (book.author) json += ",\"author\":" + JsonString(*book.author);
        if (book.publisher) json += ",\"publisher\":" + JsonString(*book.publisher);
        if (book.coverMediaType) json += ",\"cover\":" + JsonString(*book.coverMediaType);
        if (book.text) json += ",\"text\":" + JsonLines(*book.text);
        if (!book.pandoc) json += ",\"pandoc\":false";
        if (book.epubVersion) json += ",\"epub\":" + std::to_string(*book.epubVersion);
        if (book.language) json += ",\"language\":" + JsonString(*book.language);
        if (book.chapters) {
            json += ",\"chapters\":[";
            for (std::size_t c = 0; c < book.chapters->size(); ++c) {
                const ExpectedChapter& chapter = (*book.chapters)[c];
                json += (c ? ",{" : "{") + std::string("\"name\":") + JsonString(chapter.name) +
                        ",\"lines\":" + JsonLines(chapter.lines) + "}";
            }
            json += "]";
        }
        json += "}";
    }
    json += "]}";
    const std::string expectations = scratchFolder + "expectations.json";
    WriteFile(expectations, json);
    const CommandResult result =
        RunCommand("python3 " + ShellQuote(std::string(FOLIVANE_TEST_DATA) + "/check_book.py") +
                   " " + ShellQuote(expectations));
    if (result.exitCode == 0) return std::string();
    return result.output.empty() ? "check_book.py failed" : result.output;
}

std::string MakeJpeg() {
    std::string out;
    const auto pixels = Pixels();
    stbi_write_jpg_to_func(Append, &out, 16, 8, 3, pixels.data(), 90);
    return out;
}

std::string MakePng() {
    std::string out;
    const auto pixels = Pixels();
    stbi_write_png_to_func(Append, &out, 16, 8, 3, pixels.data(), 16 * 3);
    return out;
}

std::string MakeBmp() {
    std::string out;
    const auto pixels = Pixels();
    stbi_write_bmp_to_func(Append, &out, 16, 8, 3, pixels.data());
    return out;
}

std::string MakeGif() {
    // The smallest well-formed GIF: one white pixel.
    return std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                       "\x21\xf9\x04\x00\x00\x00\x00\x00"
                       "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                       43);
}

std::string JoinLines(const std::vector<std::string>& lines, const std::string& lineEnd) {
    std::string text;
    for (const std::string& line : lines)
        text += line + lineEnd;
    return text;
}

} // namespace folivane::test
