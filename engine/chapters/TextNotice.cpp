// The notices of the chapter and notation rules in English.
#include "TextNotice.h"

namespace folivane::engine {

std::string NoticeText(const TextNotice& notice) {
    using Kind = TextNotice::Kind;
    std::string text;
    switch (notice.kind) {
    case Kind::NumberMissing:
        return "chapter " + std::to_string(notice.number) + " missing";
    case Kind::NumberRepeated:
        return "chapter " + std::to_string(notice.number) + " repeated";
    case Kind::AnnotationsNotUnderstood:
        text = std::to_string(notice.count) + (notice.count == 1 ? " annotation" : " annotations") +
               " not understood";
        for (std::size_t i = 0; i < notice.examples.size(); ++i)
            text += (i == 0 ? ": " : ", ") + notice.examples[i];
        break;
    case Kind::BytesNotDecoded:
        return std::to_string(notice.count) + (notice.count == 1 ? " byte is" : " bytes are") +
               " not " + notice.encoding +
               (notice.count == 1 ? " text, shown as U+FFFD" : " text, each shown as U+FFFD");
    }
    return text;
}

} // namespace folivane::engine
