// The readers of typed numbers on arbitrary text.
#include "fuzz_support.h"
#include "text/numbers.h"

#include <cmath>

using namespace quilo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = fuzz::text_of(data, size);

  const std::optional<float> odds = parse_odds(text);
  // Plain decimal text (no exponent) is what number_text gives in this range
  // (15 significant digits: from 1e14 up a value may round to 1e+15).
  const auto plain = [](double v) { return v == 0 || (std::fabs(v) >= 1e-4 && std::fabs(v) < 1e14); };
  if (odds) {
    FUZZ_CHECK(std::isfinite(*odds), "odds not finite");
  }
  if (odds && plain(*odds)) {
    // The number's own text reads back as the same odds.
    const std::optional<float> again = parse_odds(number_text(double(*odds)));
    FUZZ_CHECK(again && *again == *odds, "odds do not read back");
  }

  const double lead = leading_number(text);
  FUZZ_CHECK(std::isfinite(lead), "leading number not finite");
  if (plain(lead)) {
    const double lead_again = leading_number(number_text(lead));
    FUZZ_CHECK(lead_again == lead || std::fabs(lead_again - lead) <= std::fabs(lead) * 1e-14,
               "leading number does not read back");
  }

  const double whole = whole_number_or_zero(text);
  FUZZ_CHECK(std::isfinite(whole), "whole number not finite");
  // A whole-text number is also the text's leading number (blanks aside).
  if (whole != 0 && !text.isEmpty() && text[0] != QLatin1Char('\t') && !text[0].isSpace())
    FUZZ_CHECK(leading_number(text) == whole, "whole and leading numbers differ");

  const QString trimmed = trim_blanks(text);
  FUZZ_CHECK(trimmed.size() <= text.size() && text.contains(trimmed), "trim");
  return 0;
}
