// Reading numbers out of the texts a user types.
#pragma once

#include <QString>

#include <optional>

namespace quilo {

// The leading number of a text: blanks skipped, then an optional sign, digits
// and a decimal fraction; 0 when the text does not begin with a number.
double leading_number(const QString& text);

// A number as plain decimal text: "7", "12", "-3", "2.5"; no blanks, no
// exponent or fraction for whole values.
QString number_text(double value);

// Odds as a user means them: blanks (half- and full-width) around the number
// are ignored and full-width digits, signs and decimal point read as their
// half-width forms. The number is an optional sign, digits and an optional
// decimal fraction; anything else, or a value beyond the single-precision
// range, is not a number. Converted to single precision, correctly rounded.
std::optional<float> parse_odds(const QString& text);

// A whole text taken as a number, 0 when it is not one.
double whole_number_or_zero(const QString& text);

// Removes leading and trailing half-width blanks.
QString trim_blanks(const QString& text);

}  // namespace quilo
