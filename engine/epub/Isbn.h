// Checking the ISBN a user gives as the book's identifier.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// The ISBN `text` names, or why it names none.
struct IsbnCheck {
    std::string isbn;    // its 10 or 13 characters, without hyphens and spaces; empty: none
    std::string problem; // when `isbn` is empty: one sentence naming the text and the cause
};

// Reads an ISBN-10 (nine digits and a check digit or X) or ISBN-13 (twelve digits and a check
// digit, beginning 978 or 979), with hyphens or spaces between its parts and an "ISBN",
// "ISBN-10:", "ISBN-13:" or "urn:isbn:" before it, and checks its check digit.
IsbnCheck CheckIsbn(std::string_view text);

} // namespace folivane::engine
