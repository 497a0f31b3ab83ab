// The JSON reader of the test helpers.
#include "JsonReader.h"

#include <cstdlib>
#include <stdexcept>

namespace folivane::zip::test {
namespace {

class JsonParser {
public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    Json Parse() {
        Json value = Value();
        Blanks();
        if (at_ != text_.size()) Fail("trailing text");
        return value;
    }

private:
    [[noreturn]] void Fail(const char* what) const {
        throw std::runtime_error(std::string("Bad JSON from check_zip.py: ") + what);
    }
    void Blanks() {
        while (at_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos)
            ++at_;
    }
    bool Take(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }
    Json Value() {
        Blanks();
        if (at_ >= text_.size()) Fail("end of text");
        Json value;
        const char c = text_[at_];
        if (c == '{') {
            value.kind = Json::Kind::Object;
            ++at_;
            Blanks();
            if (Take("}")) return value;
            do {
                Blanks();
                std::string key = String();
                Blanks();
                if (!Take(":")) Fail("missing colon");
                value.members[key] = Value();
                Blanks();
            } while (Take(","));
            if (!Take("}")) Fail("unclosed object");
        } else if (c == '[') {
            value.kind = Json::Kind::Array;
            ++at_;
            Blanks();
            if (Take("]")) return value;
            do
                value.items.push_back(Value());
            while ((Blanks(), Take(",")));
            if (!Take("]")) Fail("unclosed array");
        } else if (c == '"') {
            value.kind = Json::Kind::String;
            value.text = String();
        } else if (Take("true")) {
            value.kind = Json::Kind::Bool;
            value.boolean = true;
        } else if (Take("false")) {
            value.kind = Json::Kind::Bool;
        } else if (Take("null")) {
        } else {
            value.kind = Json::Kind::Number;
            char* end = nullptr;
            const std::string rest(text_.substr(at_, 32));
            value.number = std::strtoll(rest.c_str(), &end, 10);
            if (end == rest.c_str()) Fail("unexpected character");
            at_ += static_cast<std::size_t>(end - rest.c_str());
        }
        return value;
    }
    unsigned Hex4() {
        if (at_ + 4 > text_.size()) Fail("short escape");
        const unsigned value =
            static_cast<unsigned>(std::stoul(std::string(text_.substr(at_, 4)), nullptr, 16));
        at_ += 4;
        return value;
    }
    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    std::string String() {
        if (!Take("\"")) Fail("expected a string");
        std::string out;
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) Fail("short escape");
            const char e = text_[at_++];
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'u': {
                unsigned code = Hex4();
                if (code >= 0xD800 && code < 0xDC00 && Take("\\u"))
                    code = 0x10000 + ((code - 0xD800) << 10) + (Hex4() - 0xDC00);
                AppendUtf8(out, code);
                break;
            }
            default:
                out += e;
                break;
            }
        }
        if (!Take("\"")) Fail("unclosed string");
        return out;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

const Json& Json::operator[](const std::string& key) const {
    static const Json none;
    const auto found = members.find(key);
    return found == members.end() ? none : found->second;
}

Json ParseJson(std::string_view text) {
    return JsonParser(text).Parse();
}

} // namespace folivane::zip::test
