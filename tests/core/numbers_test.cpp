// Reading the numbers users type, and writing numbers as plain decimal text.
#include "text/numbers.h"

#include <gtest/gtest.h>

#include <optional>

using namespace quilo;

TEST(Numbers, OddsAsAUserMeansThem) {
  const struct {
    const char* text;
    std::optional<float> value;
  } cases[] = {
      {"1.6", 1.6f},
      {" 3.4 ", 3.4f},
      {"１．５", 1.5f},
      {"　2.0　", 2.0f},
      {"+2", 2.0f},
      {"-1", -1.0f},
      {"5.", 5.0f},
      {".5", 0.5f},
      {"120", 120.0f},
      {"", std::nullopt},
      {".", std::nullopt},
      {"abc", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1e40", std::nullopt},
      {"NaN", std::nullopt},
      {"1,5", std::nullopt},
      {"2 5", std::nullopt},
      {"99999999999999999999999999999999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(parse_odds(QString::fromUtf8(c.text)), c.value) << c.text;

  // Plain decimals too small for a float (or a double) are still numbers: zero.
  for (int zeros : {50, 400}) {
    const QString tiny = "0." + QString(zeros, '0') + "1";
    EXPECT_EQ(parse_odds(tiny), 0.0f) << zeros;
    EXPECT_EQ(parse_odds("-" + tiny), 0.0f) << zeros;
    EXPECT_DOUBLE_EQ(leading_number(tiny), zeros == 50 ? 1e-51 : 0.0) << zeros;
  }
}

TEST(Numbers, LeadingNumberAndPlainDecimalText) {
  const struct {
    const char* text;
    double value;
    const char* written;
  } cases[] = {
      {" 7", 7, "7"},
      {"12", 12, "12"},
      {" 7abc", 7, "7"},
      {"abc", 0, "0"},
      {"-3x", -3, "-3"},
      {"1.5R", 1.5, "1.5"},
      {"", 0, "0"},
      {"-0", 0, "0"},
      {"99999999999999999999", 1e20, "100000000000000000000"},
      {"0.00001", 0.00001, "0.00001"},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(leading_number(QString::fromUtf8(c.text)), c.value) << c.text;
    EXPECT_EQ(number_text(leading_number(QString::fromUtf8(c.text))).toStdString(), std::string(c.written))
        << c.text;
  }
}
