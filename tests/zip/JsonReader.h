// A small JSON reader: just enough of the format for what check_zip.py prints.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace folivane::zip::test {

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    long long number = 0; // integers only
    std::string text;     // UTF-8
    std::vector<Json> items;
    std::map<std::string, Json> members;

    // The member of that name, or null.
    const Json& operator[](const std::string& key) const;
    long long Int() const { return number; }
};

// Raises std::runtime_error on text that is not JSON.
Json ParseJson(std::string_view text);

} // namespace folivane::zip::test
