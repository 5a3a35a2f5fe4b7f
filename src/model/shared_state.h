// Module-level state of the main window, shared by the commands. Everything
// starts zero or empty and lives for the whole program.
#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace quilo {

constexpr int kCrtColumns = 9;  // column 0 is never filled
constexpr int kCrtRows = 5001;  // rows 0..5000
constexpr int kWakuColumns = 5;
constexpr int kWakuRows = 1201;  // rows 0..1200
constexpr int kOutputLines = 1001;
constexpr int kTeachingEntries = 1001;

struct SharedState {
  SharedState() : output_lines(kOutputLines), teaching_list(kTeachingEntries) {}

  // [column][row]
  std::vector<std::array<std::int16_t, kCrtRows>> crt_table =
      std::vector<std::array<std::int16_t, kCrtRows>>(kCrtColumns, std::array<std::int16_t, kCrtRows>{});
  std::vector<std::array<std::int16_t, kWakuRows>> waku_table =
      std::vector<std::array<std::int16_t, kWakuRows>>(kWakuColumns, std::array<std::int16_t, kWakuRows>{});

  std::int16_t yosou_mode = 0;
  std::int16_t yosou_keta = 0;
  std::int16_t yosou_max = 0;
  std::array<QString, 31> yosou_num{};
  std::int32_t crt_row = 0;
  std::int16_t chance_level = 0;
  std::vector<QString> output_lines;

  std::int16_t reveal_press_count = 0;
  std::int16_t reveal_stage = 0;

  std::vector<QString> teaching_list;
  std::int16_t teaching_count = 0;
};

}  // namespace quilo
