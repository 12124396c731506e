// The user's settings, declared once. Each row gives a setting's key in the settings file,
// its field, type, default and range, the settings dialog's widget that shows it, and the
// form of its line; the fields and their defaults, the file's reader and writer and the
// dialog all come from the rows, so a new setting is one more row (and its widget in
// resources/settings.ui).
#pragma once

#include <cstdint>

#include "player/time_budget.h"

// ROW(key, field, type, default, lowest, highest, widget, line), in the settings file's order.
// A flag (bool, 0 to 1) is written 1 or 0 and is true exactly when it reads 1. A number
// (int32_t) is one of its values from lowest to highest: the dialog offers those. The widget
// is the dialog's object of that id: a check button for a flag; a scale, a box of radio
// buttons or a combo box (one button or entry for each value from the lowest up), for a
// number; a setting without a widget is kept in the file only.
// The line is Fixed for the eight settings of the first release: always written, read in
// their order, a number kept as it is read. Keyed for a setting added since: its line comes
// after those, in any order, and is written only when the setting is not at its default, so
// that the file of a player who never changes it stays as the first release wrote it; a value
// outside its range reads as the default.
#define RQ_SETTINGS(ROW)                                                                               \
  ROW("HintAtStartup", hintAtStartup, bool, true, 0, 1, "hint_at_startup", Fixed)                     \
  ROW("HighlightMove", highlightMove, bool, true, 0, 1, "highlight_move", Fixed)                      \
  ROW("ShowMoves", showMoves, bool, true, 0, 1, "show_moves", Fixed)                                  \
  ROW("ShowIllegalMoves", showIllegalMoves, bool, true, 0, 1, "show_illegal_moves", Fixed)            \
  ROW("ExplainIllegalMoves", explainIllegalMoves, bool, true, 0, 1, "explain_illegal_moves", Fixed)   \
  ROW("AutoHideMenu", autoHideMenu, bool, true, 0, 1, "auto_hide_menu", Fixed)                        \
  ROW("DifficultyLevel", difficultyLevel, int32_t, 1, 0, LastStrongLevel, "difficulty_scale", Fixed)  \
  ROW("HelpLanguage", helpLanguage, int32_t, 0, 0, 2, nullptr, Fixed)                                 \
  ROW("PlayerSide", sideChoice, int32_t, SideChoiceRed, 0, 2, "side_box", Keyed)                      \
  ROW("InterfaceLanguage", interfaceLanguage, int32_t, 0, 0, 5, "interface_language", Keyed)

namespace rq {

// The values of PlayerSide: the side each new game gives the player.
enum SideChoice : int32_t { SideChoiceRed = 0, SideChoiceGreen = 1, SideChoiceAlternate = 2 };

// How a setting's line is written and read (see above).
enum class SettingLine { Fixed, Keyed };

// The settings as the game holds them and the dialog edits them, each at its default.
struct SettingsValues {
#define RQ_SETTING_FIELD(key, field, type, initial, lowest, highest, widget, line) type field = initial;
  RQ_SETTINGS(RQ_SETTING_FIELD)
#undef RQ_SETTING_FIELD
};

// One row of the table, for the code that goes through every setting.
struct SettingRow {
  const char* key;
  bool SettingsValues::*flag = nullptr;       // the field of a flag, else null
  int32_t SettingsValues::*number = nullptr;  // the field of a number, else null
  int32_t initial = 0;  // the default, as the file writes it
  int32_t lowest = 0;
  int32_t highest = 1;
  const char* widget = nullptr;  // null: not in the dialog
  SettingLine line = SettingLine::Fixed;

  constexpr SettingRow(const char* k, bool SettingsValues::*f, int32_t i, int32_t lo, int32_t hi, const char* w,
                       SettingLine l)
      : key(k), flag(f), initial(i), lowest(lo), highest(hi), widget(w), line(l) {}
  constexpr SettingRow(const char* k, int32_t SettingsValues::*n, int32_t i, int32_t lo, int32_t hi, const char* w,
                       SettingLine l)
      : key(k), number(n), initial(i), lowest(lo), highest(hi), widget(w), line(l) {}

  // The setting in `values` as the file writes it: a flag as 1 or 0.
  int32_t get(const SettingsValues& values) const { return flag ? (values.*flag ? 1 : 0) : values.*number; }
  // Stores `value` as the file reads it: a flag is true exactly when `value` is 1.
  void set(SettingsValues& values, int32_t value) const {
    if (flag) values.*flag = value == 1;
    else values.*number = value;
  }
};

inline constexpr SettingRow SettingRows[] = {
#define RQ_SETTING_ROW(key, field, type, initial, lowest, highest, widget, line) \
  SettingRow(key, &SettingsValues::field, static_cast<int32_t>(initial), lowest, highest, widget, SettingLine::line),
    RQ_SETTINGS(RQ_SETTING_ROW)
#undef RQ_SETTING_ROW
};

}  // namespace rq
