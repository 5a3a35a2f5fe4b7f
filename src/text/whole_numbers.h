// Whole numbers out of the texts a user types or picks: half- or full-width
// digits, blanks around them ignored.
#pragma once

#include <QString>

#include <optional>

namespace quilo {

// The digits a text begins with (after blanks), as a number: "01Ｒ" is 1,
// "１２頭" is 12; nullopt when it begins with no digit or the number is
// beyond nine digits.
std::optional<int> leading_whole(const QString& text);

// The whole text as a number: digits only, with blanks around them and
// thousands commas ("1,230") allowed; nullopt for anything else.
std::optional<int> whole_number(const QString& text);

}  // namespace quilo
