// The style sheet the pages link.
#include "StyleSheet.h"

namespace folivane::engine {

// Headings get a rule each: FBReader ignores rules whose selectors are grouped ("h1,h2").
const char* const kMainCss =
    "body {padding:0%;margin-top:0%;margin-bottom:0%;margin-left:1%;margin-right:1%;line-height:"
    "130%;text-align:justify;font-family:serif;}p{text-align:justify;text-indent:2em;line-height:"
    "130%;margin-bottom:-0.8em;}h1{text-align:center;}h2{text-align:center;}";

} // namespace folivane::engine
