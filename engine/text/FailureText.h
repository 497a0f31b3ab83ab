// Failures said in English, for the command line and for developers (ConversionError::what()).
#pragma once

#include "Failure.h"

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace folivane::engine {

// The values `kind`'s texts name, in the order they name them (%1 the first).
std::span<const FailureValue> FailureValues(FailureKind kind);

// The English text of `kind` with its values as %1, %2, ...: the one the command line shows
// (e.g. "Cannot open file \"%1\". %2").
const char* FailureForm(FailureKind kind);

// `failure` in English, its values put in: file names as they are, the system's cause in
// English whatever the locale.
std::string FailureText(const Failure& failure);

// For logs and test messages: the failure in English.
std::ostream& operator<<(std::ostream& out, const Failure& failure);

// Puts `values` into `form` for %1 to %9 in one pass, so that a "%2" within a value stays as
// it is.
std::string FillIn(std::string_view form, std::span<const std::string> values);

} // namespace folivane::engine
