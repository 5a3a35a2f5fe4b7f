// Accessible names and descriptions: every control of every window is named in
// Japanese and told apart from the others of its window, buttons and inputs say
// what they do, and the ticket's names agree with where its cells really are.
#include "model/accessible_texts.h"
#include "model/window_design.h"
#include "presentation/ticket.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace quilo;

namespace {

bool has_japanese(const QString& s) {
  static const QRegularExpression kana_or_kanji(QStringLiteral("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]"));
  return s.contains(kana_or_kanji);
}

bool wants_description(Kind kind) {
  switch (kind) {
    case Kind::Button:
    case Kind::Option:
    case Kind::Combo:
    case Kind::Text:
    case Kind::DriveList:
    case Kind::DirList:
    case Kind::FileList:
      return true;
    default:
      return false;
  }
}

std::vector<FormDesign> designs() { return all_form_designs(); }

QString name_of(const QString& key) { return accessible_text(QStringLiteral("Form1"), key).name; }

}  // namespace

TEST(AccessibleTexts, EveryControlHasAJapaneseNameUniqueInItsWindow) {
  for (const FormDesign& form : designs()) {
    SCOPED_TRACE(form.name.toStdString());
    std::vector<std::pair<QString, Kind>> controls;
    for (const ControlDesign& c : form.controls) controls.emplace_back(c.key(), c.kind);

    const QString window_name = accessible_text(form.name, QString()).name;
    EXPECT_TRUE(has_japanese(window_name)) << window_name.toStdString();
    QSet<QString> names{window_name};
    for (const auto& [key, kind] : controls) {
      SCOPED_TRACE(key.toStdString());
      const AccessibleText t = accessible_text(form.name, key);
      EXPECT_NE(t.name, key);
      EXPECT_TRUE(has_japanese(t.name)) << t.name.toStdString();
      if (wants_description(kind)) {
        EXPECT_TRUE(has_japanese(t.description));
      }
      EXPECT_FALSE(names.contains(t.name)) << "named twice: " << t.name.toStdString();
      names.insert(t.name);
    }
  }
}

TEST(AccessibleTexts, AnUnknownControlIsNamedByItsKey) {
  const struct {
    const char* form;
    const char* key;
    const char* name;
  } cases[] = {
      {"Form1", "Command99", "Command99"},
      {"Form2", "Combo8", "Combo8"},  // a key of another window
      {"Form1", "Label1(45)", "Label1(45)"},
      {"Form9", "", "Form9"},
  };
  for (const auto& c : cases) {
    const AccessibleText t = accessible_text(c.form, c.key);
    EXPECT_EQ(t.name, QString(c.name));
    EXPECT_TRUE(t.description.isEmpty());
  }
}

// The bet cells say the row and the finishing place that the ticket writes
// into them, and the cells that only one kind of ticket uses say which.
TEST(AccessibleTexts, BetCellsNameTheirRowAndPlace) {
  for (TicketKind kind : {TicketKind::Trifecta, TicketKind::Exacta}) {
    const QString only =
        kind == TicketKind::Trifecta ? QStringLiteral("３連単の馬券") : QStringLiteral("馬単の馬券");
    for (int row = 1; row <= 4; ++row) {
      for (int pos = 1; pos <= ticket_positions(kind); ++pos) {
        const QString key = ticket_cell(kind, row, pos);
        SCOPED_TRACE(key.toStdString());
        const QString name = name_of(key);
        EXPECT_TRUE(name.contains(QStringLiteral("%1行目").arg(row))) << name.toStdString();
        EXPECT_TRUE(name.contains(QStringLiteral("%1着の馬番").arg(pos))) << name.toStdString();
        EXPECT_EQ(name.startsWith(only), pos > 1) << name.toStdString();
      }
    }
  }
}

// Whatever is named after a ticket row sits in that row: rows 1 to 4 start at
// 2040 twips and are 480 apart.
TEST(AccessibleTexts, TicketRowNamesMatchWhereTheLabelsSit) {
  static const QRegularExpression row_in_name(QStringLiteral("(\\d)行目"));
  int named = 0;
  for (const ControlDesign& c : form1_design().controls) {
    const auto m = row_in_name.match(name_of(c.key()));
    if (!m.hasMatch()) continue;
    ++named;
    const int row = m.captured(1).toInt();
    SCOPED_TRACE(c.key().toStdString());
    EXPECT_GE(c.top, 2040 + 480 * (row - 1));
    EXPECT_LT(c.top, 2040 + 480 * row);
  }
  // Twelve roles of four rows each: bet cells, markers, 各, stars, amounts, 円
  // and the 購入不可 marks.
  EXPECT_EQ(named, 48);
}

// A heading is named after what it heads, so that the two read alike.
TEST(AccessibleTexts, HeadingsAreNamedAfterTheirInputs) {
  const struct {
    const char* heading;
    const char* input;
  } pairs[] = {
      {"Label5(6)", "Combo11"}, {"Label5(2)", "Text1"},           {"Label5(3)", "Combo10"},
      {"Label5(1)", "Text2"},   {"Label5(4)", "place_extra_box"}, {"Label5(7)", "Combo14"},
      {"Label5(10)", "Combo2"}, {"Label5(10)", "Combo13"},        {"Label5(10)", "Combo5"},
      {"Label5(0)", "Combo1"},  {"Label7", "Label1(2)"},
  };
  const QString suffix = QStringLiteral("の見出し");
  for (const auto& p : pairs) {
    SCOPED_TRACE(p.heading);
    const QString heading = name_of(p.heading);
    ASSERT_TRUE(heading.endsWith(suffix)) << heading.toStdString();
    EXPECT_TRUE(name_of(p.input).startsWith(heading.chopped(suffix.size())))
        << name_of(p.input).toStdString();
  }
}
