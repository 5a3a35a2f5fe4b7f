// The 成績 window's result boxes and the two actions on them.
#include "windows/result_boxes.h"

#include "history/result_entry.h"
#include "model/control_names.h"
#include "state/titles.h"
#include "text/whole_numbers.h"

namespace quilo {
namespace {

// The result boxes: the field, the scratched, the three places, then the
// payouts in the order of kBetTypes.
const ControlName kPlaceBoxes[] = {form4::Text1, form4::Text2, form4::Text3};
const ControlName kPayoutBoxes[] = {form4::Text6, form4::Text7, form4::Text8, form4::Text9};
static_assert(std::size(kPayoutBoxes) == std::size(kBetTypes));

}  // namespace

void show_result_boxes(Form& form, const HistoryStore& store, const RaceList& list) {
  const auto result = list.picked_key().isEmpty() ? std::nullopt : store.result_of(list.picked_key());
  ResultTexts texts;
  if (result) {
    texts = texts_of(*result);
  } else if (const auto* race = list.picked_race()) {
    // The field as the runs' inputs gave it, to be corrected when it changed.
    if (const auto field = leading_whole(race->race.field_size)) texts.field = QString::number(*field);
  }
  form[form4::Text4].text = texts.field;
  form[form4::Text5].text = texts.scratched;
  for (std::size_t i = 0; i < 3; ++i) form[kPlaceBoxes[i]].text = texts.places[i];
  for (std::size_t i = 0; i < std::size(kBetTypes); ++i) form[kPayoutBoxes[i]].text = texts.payouts[i];
}

bool save_result_from_boxes(const Form& form, Platform& platform, HistoryStore& store, const RaceList& list) {
  const auto* race = list.picked_race();
  if (!race) {
    platform.message(QStringLiteral("結果を入力するレースを一覧から選んで下さい。"), kAppTitle, Buttons::OK);
    return false;
  }
  ResultTexts texts;
  texts.field = form[form4::Text4].text;
  texts.scratched = form[form4::Text5].text;
  for (std::size_t i = 0; i < 3; ++i) texts.places[i] = form[kPlaceBoxes[i]].text;
  for (std::size_t i = 0; i < std::size(kBetTypes); ++i) texts.payouts[i] = form[kPayoutBoxes[i]].text;
  const ParsedResult parsed = result_from_texts(texts);
  if (!parsed.result) {
    platform.message(parsed.problem, kAppTitle, Buttons::OK);
    return false;
  }
  if (!store.save_result(race->key, *parsed.result, platform.now())) {
    platform.message(QStringLiteral("結果を保存できませんでした（%1）。").arg(store.last_error()), kAppTitle,
                     Buttons::OK);
    return false;
  }
  return true;
}

bool remove_picked_result(Platform& platform, HistoryStore& store, const RaceList& list) {
  const auto* race = list.picked_race();
  if (!race) {
    platform.message(QStringLiteral("結果を削除するレースを一覧から選んで下さい。"), kAppTitle, Buttons::OK);
    return false;
  }
  if (!race->finish) {
    platform.message(QStringLiteral("このレースの結果はまだ入力されていません。"), kAppTitle, Buttons::OK);
    return false;
  }
  const QString title = race_title(race->race);
  const QString key = race->key;
  if (platform.message(QStringLiteral("%1 の結果を削除します。\rよろしいですか？").arg(title), kAppTitle,
                       Buttons::OKCancelSafe) == Answer::Cancel)
    return false;
  if (!store.remove_result(key)) {
    platform.message(QStringLiteral("結果を削除できませんでした（%1）。").arg(store.last_error()), kAppTitle,
                     Buttons::OK);
    return false;
  }
  return true;
}

}  // namespace quilo
