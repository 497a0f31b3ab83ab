// What a heading line opens: nothing, a chapter, or a volume that holds chapters.
#pragma once

namespace folivane::engine {

enum class HeadingKind { None, Chapter, Volume };

} // namespace folivane::engine
