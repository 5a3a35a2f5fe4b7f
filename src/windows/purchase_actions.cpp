// The 成績 window's actions on the picked run: bought, not bought, removed.
#include "windows/purchase_actions.h"

#include "engines/prediction_commands.h"
#include "model/control_names.h"
#include "state/titles.h"
#include "text/whole_numbers.h"

namespace quilo {

bool mark_bought(const Form& form, Platform& platform, HistoryStore& store, const RaceList& list) {
  if (list.picked_run() == 0) {
    platform.message(QStringLiteral("購入した予想を、買い目の一覧から選んで下さい。"), kAppTitle,
                     Buttons::OK);
    return false;
  }
  std::optional<int> stake;
  if (const QString typed = form[form4::Text15].text.trimmed(); !typed.isEmpty()) {
    QString plain = typed;
    if (plain.endsWith(QStringLiteral("円"))) plain.chop(1);
    stake = whole_number(plain);
    if (!stake || *stake < 100 || *stake % 100 != 0 || *stake > kMaxStake) {
      platform.message(QStringLiteral("1点の購入額は 100 円単位で入力して下さい（空欄は券面どおり）。"),
                       kAppTitle, Buttons::OK);
      return false;
    }
  }
  if (!store.set_bought(list.picked_run(), true, stake)) {
    platform.message(QStringLiteral("購入を記録できませんでした（%1）。").arg(store.last_error()), kAppTitle,
                     Buttons::OK);
    return false;
  }
  return true;
}

bool unmark_bought(Form& form, Platform& platform, HistoryStore& store, const RaceList& list) {
  if (list.picked_run() == 0) {
    platform.message(QStringLiteral("購入を取り消す予想を、買い目の一覧から選んで下さい。"), kAppTitle,
                     Buttons::OK);
    return false;
  }
  if (!store.set_bought(list.picked_run(), false, std::nullopt)) {
    platform.message(QStringLiteral("購入を取り消せませんでした（%1）。").arg(store.last_error()), kAppTitle,
                     Buttons::OK);
    return false;
  }
  form[form4::Text15].text.clear();
  return true;
}

bool remove_picked_run(Platform& platform, HistoryStore& store, const RaceList& list) {
  const HistoryStore::BetRow* run = list.picked_run_row();
  if (list.picked_run() == 0 || !run) {
    platform.message(QStringLiteral("削除する予想を、買い目の一覧から選んで下さい。"), kAppTitle,
                     Buttons::OK);
    return false;
  }
  if (platform.message(QStringLiteral("%1 の %2 の予想を削除します。成績のどこにも残りません。\r"
                                      "よろしいですか？")
                           .arg(shown_time(run->when), prediction_name(run->command)),
                       kAppTitle, Buttons::OKCancelSafe) == Answer::Cancel)
    return false;
  if (!store.remove_run(list.picked_run())) {
    platform.message(QStringLiteral("予想を削除できませんでした（%1）。").arg(store.last_error()), kAppTitle,
                     Buttons::OK);
    return false;
  }
  return true;
}

}  // namespace quilo
