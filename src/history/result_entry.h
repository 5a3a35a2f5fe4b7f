// The result of a race as the 成績 window's boxes hold it, and back: the
// field, the scratched horses, the horses of each place (several after a
// dead heat) and, for each bet type, its payouts as the official payout
// table lists them ("5-2 1,230円", several rows joined by "/"), a bare
// amount when one combination won (or amounts in finishing order), 特払い,
// or 発売なし.
#pragma once

#include "history/race_result.h"

#include <QString>

#include <array>
#include <optional>

namespace quilo {

struct ResultTexts {
  QString field, scratched;
  std::array<QString, 3> places;
  std::array<QString, std::size(kBetTypes)> payouts;  // in the order of kBetTypes
  friend bool operator==(const ResultTexts&, const ResultTexts&) = default;
};

// The table the texts make, or what is wrong with them in Japanese.
struct ParsedResult {
  std::optional<RaceResult> result;
  QString problem;
};
ParsedResult result_from_texts(const ResultTexts& texts);

// The texts that show a result (and read back as the same result).
ResultTexts texts_of(const RaceResult& result);

}  // namespace quilo
