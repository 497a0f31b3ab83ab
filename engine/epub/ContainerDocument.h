// META-INF/container.xml: where readers find the package document.
#pragma once

namespace folivane::engine {

// The container document, the same in every book.
extern const char* const kContainerXml;

} // namespace folivane::engine
