// The advice command: the two favourites' odds choose one of eleven bands and,
// within it, a context whose captions replace the headings of the left-hand
// panel; the context's course pick list may then override them.
#include "engines/engines.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace quilo {
namespace {

constexpr float kNoLower = -std::numeric_limits<float>::infinity();
constexpr float kNoUpper = std::numeric_limits<float>::infinity();
constexpr const char* kUnchanged = nullptr;  // the heading keeps what it shows
constexpr const char* kNoList = nullptr;     // no course pick list

// Where a band of the first favourite's odds starts.
enum class From {
  Any,      // no lower bound
  Above,    // exclusive
  AtLeast,  // inclusive
};

// A band of the first favourite's odds; the upper bound is inclusive.
struct FirstOdds {
  From from;
  float lower;
  float upper;
};

// An inclusive range of the second favourite's odds.
struct SecondOdds {
  float from;
  float to;
};

// "At or below the threshold" as a range, for the bands that split in two.
std::vector<SecondOdds> at_or_below(float threshold) { return {{kNoLower, threshold}}; }

struct AdviceBand {
  int band;
  FirstOdds first;
  const char* top;                    // written to Label5(7) at once, or nullptr
  std::vector<SecondOdds> second;     // second[i] chooses contexts[i] ...
  std::vector<const char*> contexts;  // ... and the last context takes all other odds
  const char* then;                   // a context applied after either, or nullptr
};

// The bands of the first favourite's odds, in order; they don't overlap, and
// odds between two bands (1.65, 2.05 ...) belong to none. All bounds and odds
// are single precision, so a typed 1.1 equals the bound 1.1.
//  band  first favourite's odds  Label5(7)  second favourite's odds  contexts  then
const std::vector<AdviceBand> kAdviceBands = {
    {1, {From::Any, kNoLower, 1.1f}, "1人気馬", at_or_below(3.1f), {"1a", "1b"}, nullptr},
    {2, {From::Above, 1.1f, 1.6f}, "1人気馬", at_or_below(3.1f), {"2a", "2b"}, nullptr},
    {3, {From::AtLeast, 1.7f, 2.0f}, "1人気馬", at_or_below(3.1f), {"3a", "3b"}, nullptr},
    {4, {From::AtLeast, 2.1f, 2.3f}, "2人気馬", at_or_below(3.1f), {"4a", "4b"}, "4"},
    {5, {From::AtLeast, 2.4f, 2.8f}, "2人気馬", at_or_below(3.5f), {"5a", "5b"}, nullptr},
    {6,
     {From::AtLeast, 2.9f, 3.5f},
     nullptr,
     {{1.1f, 4.0f}, {4.1f, 6.2f}, {6.3f, 7.9f}},
     {"6a", "6b", "6c", "6d"},
     nullptr},
    {7, {From::AtLeast, 3.6f, 3.9f}, nullptr, {{1.1f, 4.8f}, {4.9f, 6.5f}}, {"7a", "7b", "7c"}, nullptr},
    {8, {From::AtLeast, 4.0f, 4.5f}, nullptr, {{1.1f, 9.5f}}, {"8a", "8b"}, nullptr},
    {9, {From::AtLeast, 4.6f, 4.9f}, nullptr, {{1.1f, 4.0f}, {4.1f, 4.8f}}, {"9a", "9b", "9c"}, nullptr},
    {10, {From::AtLeast, 5.0f, 5.6f}, nullptr, {{1.1f, 6.2f}, {6.3f, 9.8f}}, {"10a", "10b", "10c"}, nullptr},
    {11,
     {From::AtLeast, 5.7f, kNoUpper},
     nullptr,
     {{1.1f, 5.8f}, {5.9f, 9.8f}},
     {"11a", "11b", "11c"},
     nullptr},
};

struct AdviceContext {
  const char* id;
  const char* top;     // Label5(7)
  const char* middle;  // Label5(10)
  const char* bottom;  // Label5(0)
  const char* list;    // course pick list
};

// What each context writes, and the course pick list it then consults.
const AdviceContext kAdviceContexts[] = {
    {"1a", "1人気馬", "2～4人気馬", "5人気馬", kNoList},
    {"1b", "1人気馬", "3～5人気馬", "2人気馬", kNoList},
    {"2a", "1人気馬", "2～4人気馬", "6人気馬", kNoList},
    {"2b", "1人気馬", "3～5人気馬", "2人気馬", "2b"},
    {"3a", "1人気馬", "2.3.5人気馬", "4人気馬", "3a"},
    {"3b", "1人気馬", "2.3.4人気馬", "7人気馬 or 軽量騎手▲", "3b"},
    {"4a", "2人気馬", "1.3.4人気馬", "5人気馬", kNoList},
    {"4b", "2人気馬", "3～5人気馬", "1人気馬", kNoList},
    {"4", kUnchanged, kUnchanged, kUnchanged, "4"},
    {"5a", "2人気馬", "1.3.4人気馬", "6人気馬", "5a"},
    {"5b", "2人気馬", "4.5.6人気馬", "1人気馬", "5b"},
    {"6a", "4人気 or 母父サンデーサイレンス", "1～3人気 or 父サクラバクシンオー", "6人気 or 父丸外", "6a"},
    {"6b", "7人気 or 父アグネスタキオン", "4.5.6人気馬", "2人気馬", "6b"},
    {"6c", "7人気 or 父アグネスタキオン", "1.4.5人気", "8人気 or 母父サンデーサイレンス", "6c"},
    {"6d", "6人気 or 父アグネスタキオン", "1.7.8人気", "12人気 or 母父サンデーサイレンス", "6d"},
    {"7a", kUnchanged, kUnchanged, kUnchanged, "7a"},
    {"7b", "6人気 or 父シンボリクリスエス", "3.4.5人気", "1人気 or 父ジャングルポケット", "7b"},
    {"7c", "7人気 or 父シンボリクリスエス", "4.5.6人気", "10人気 or 父ジャングルポケット", "7c"},
    {"8a", kUnchanged, kUnchanged, kUnchanged, "8a"},
    {"8b", kUnchanged, kUnchanged, kUnchanged, "8b"},
    {"9a", "4人気 or 母父サンデーサイレンス", "5.6.7人気", "1人気 or 母父サンデーサイレンス", kNoList},
    {"9b", "4人気 or 母父サンデーサイレンス", "1.6.8人気", "10人気 or 母父サンデーサイレンス", "9b"},
    {"9c", "10人気 or 母父サンデーサイレンス", "1.6.8人気", "11人気 or 母父サンデーサイレンス", "9c"},
    {"10a", "1人気 or 父マンハッタンカフェ", "2.3.4人気", "5人気 or 母父トニービン", kNoList},
    {"10b", "1人気 or 父グラスワンダー", "2.3.4人気", "5人気 or 父メイショウオウドウ", "10b"},
    {"10c", "3人気 or 母父サンデーサイレンス", "1.2.5人気", "6人気 or 母父サンデーサイレンス", kNoList},
    {"11a", "10人気 or 母父サンデーサイレンス", "1.7.8人気", "6人気 or 父シンボリクリスエス", kNoList},
    {"11b", "5人気 or 母父サンデーサイレンス", "2.3.4人気", "1人気 or 父シンボリクリスエス", kNoList},
    {"11c", "11人気 or 母父サンデーサイレンス", "8.9.12人気", "10人気 or 父シンボリクリスエス", kNoList},
};

bool holds(const FirstOdds& band, float odds) {
  switch (band.from) {
    case From::Any:
      break;
    case From::Above:
      if (!(odds > band.lower)) return false;
      break;
    case From::AtLeast:
      if (!(odds >= band.lower)) return false;
      break;
  }
  return odds <= band.upper;
}

const AdviceBand* band_of(float first) {
  for (const auto& band : kAdviceBands)
    if (holds(band.first, first)) return &band;
  return nullptr;
}

const char* context_of(const AdviceBand& band, float second) {
  for (std::size_t i = 0; i < band.second.size(); ++i)
    if (second >= band.second[i].from && second <= band.second[i].to) return band.contexts[i];
  return band.contexts.back();
}

const AdviceContext* find_context(const char* id) {
  for (const auto& context : kAdviceContexts)
    if (qstrcmp(context.id, id) == 0) return &context;
  return nullptr;
}

}  // namespace

void Command4_Click(MainWindow& m) {
  m.s.crt_row = static_cast<std::int16_t>(m.selected(form1::Combo3) + m.selected(form1::Combo4));
  m.play_se(QStringLiteral("door02.wav"));
  if (!m.check_odds_entered()) return;
  // Both odds must be numbers before anything changes.
  const auto first = m.odds_or_message(1);
  if (!first) return;
  const auto second = m.odds_or_message(2);
  if (!second) return;

  const AdviceBand* band = band_of(*first);
  if (!band) return;

  auto write = [&m](int heading, const char* caption) {
    if (caption != kUnchanged) m.label(form1::Label5, heading).text = QString::fromUtf8(caption);
  };
  auto apply = [&](const char* id) {
    const AdviceContext* context = find_context(id);
    if (!context) return;
    write(7, context->top);
    write(10, context->middle);
    write(0, context->bottom);
    if (context->list != kNoList) apply_course_picks(m, QString::fromUtf8(context->list));
  };

  write(7, band->top);
  apply(context_of(*band, *second));
  if (band->then) apply(band->then);
}

}  // namespace quilo
