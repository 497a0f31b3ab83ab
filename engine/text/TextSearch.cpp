// A search that compares the first and the last byte of what it looks for sixteen places at a
// time, and the rest only where both match.
#include "TextSearch.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace folivane::engine {

std::size_t FindIn(std::string_view text, std::string_view part, std::size_t from) {
    if (part.size() < 2 || from >= text.size()) return text.find(part, from);
    std::size_t at = from;
#if defined(__SSE2__)
    const std::size_t last = part.size() - 1;
    const __m128i first = _mm_set1_epi8(part.front());
    const __m128i final = _mm_set1_epi8(part.back());
    for (; at + last + 16 <= text.size(); at += 16) {
        const auto* begin = reinterpret_cast<const __m128i*>(text.data() + at);
        const auto* end = reinterpret_cast<const __m128i*>(text.data() + at + last);
        const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(begin), first),
                                           _mm_cmpeq_epi8(_mm_loadu_si128(end), final));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(both)); mask != 0;
             mask &= mask - 1) {
            const std::size_t candidate = at + static_cast<std::size_t>(__builtin_ctz(mask));
            if (std::memcmp(text.data() + candidate + 1, part.data() + 1, last - 1) == 0)
                return candidate;
        }
    }
#endif
    return text.find(part, at);
}

} // namespace folivane::engine
