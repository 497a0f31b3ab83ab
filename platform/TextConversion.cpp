// iconv with a replacement for undecodable bytes instead of a failure.
#include "TextConversion.h"

#include "IconvHandle.h"

#include <cerrno>
#include <stdexcept>

namespace folivane::platform {

std::string ConvertText(std::string_view input, const std::string& from, const std::string& to,
                        std::string_view replacement, std::size_t* replaced) {
    if (replaced) *replaced = 0;
    IconvHandle cd(from, to);
    if (!cd.Valid())
        throw std::invalid_argument("Unknown character set conversion from " + from + " to " + to);
    std::string output;
    output.resize(input.size() + input.size() / 2 + 16);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    size_t produced = 0;
    const auto grow = [&] { output.resize(output.size() * 2 + 16); };
    while (true) {
        char* out = output.data() + produced;
        size_t outLeft = output.size() - produced;
        const size_t r = iconv(cd.Get(), inLeft ? &in : nullptr, &inLeft, &out, &outLeft);
        produced = output.size() - outLeft;
        if (r != static_cast<size_t>(-1)) {
            if (inLeft == 0) {
                // Flush the shift state; stateful sets may still emit bytes.
                out = output.data() + produced;
                outLeft = output.size() - produced;
                if (iconv(cd.Get(), nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1) &&
                    errno == E2BIG) {
                    grow();
                    continue;
                }
                produced = output.size() - outLeft;
                break;
            }
            continue;
        }
        if (errno == E2BIG) {
            grow();
        } else if (errno == EILSEQ || errno == EINVAL) {
            while (output.size() - produced < replacement.size())
                grow();
            output.replace(produced, replacement.size(), replacement);
            produced += replacement.size();
            if (replaced) ++*replaced;
            // glibc's UHC (CP949) reports some pairs it refuses after taking them, the last
            // one with nothing left: there is no byte to pass over then.
            if (inLeft <= 1) break;
            ++in;
            --inLeft;
        } else {
            break;
        }
    }
    output.resize(produced);
    return output;
}

bool IsKnownCharset(const std::string& name) {
    IconvHandle cd(name, "UTF-8");
    return cd.Valid();
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

} // namespace folivane::platform
