// The user's settings, declared once. Each row gives a setting's key in the settings file,
// its field, type, default and range, and the settings dialog's widget that shows it; the
// fields and their defaults, the file's reader and writer and the dialog all come from the
// rows, so a new setting is one more row (and its widget in resources/settings.ui).
#pragma once

#include <cstdint>

// ROW(key, field, type, default, lowest, highest, widget), in the settings file's order.
// A flag (bool, 0 to 1) is written 1 or 0 and is true exactly when it reads 1. A number
// (int32_t) is one of its values from lowest to highest: the dialog offers those, while a
// number read from the file is kept as it is. The widget is the dialog's object of that id:
// a check button for a flag; a scale, or a box of radio buttons (one for each value from
// the lowest up) or a combo box (one entry for each value from the lowest up), for a number.
// A setting without a widget is kept in the file only.
#define RQ_SETTINGS(ROW)                                                                       \
  ROW("HintAtStartup", hintAtStartup, bool, true, 0, 1, "hint_at_startup")                     \
  ROW("HighlightMove", highlightMove, bool, true, 0, 1, "highlight_move")                      \
  ROW("ShowMoves", showMoves, bool, true, 0, 1, "show_moves")                                  \
  ROW("ShowIllegalMoves", showIllegalMoves, bool, true, 0, 1, "show_illegal_moves")            \
  ROW("ExplainIllegalMoves", explainIllegalMoves, bool, true, 0, 1, "explain_illegal_moves")   \
  ROW("AutoHideMenu", autoHideMenu, bool, true, 0, 1, "auto_hide_menu")                        \
  ROW("DifficultyLevel", difficultyLevel, int32_t, 1, 0, 4, "difficulty_scale")                \
  ROW("HelpLanguage", helpLanguage, int32_t, 0, 0, 2, nullptr)                                \
  ROW("InterfaceLanguage", interfaceLanguage, int32_t, 0, 0, 5, "interface_language")

namespace rq {

// The settings as the game holds them and the dialog edits them, each at its default.
struct SettingsValues {
#define RQ_SETTING_FIELD(key, field, type, initial, lowest, highest, widget) type field = initial;
  RQ_SETTINGS(RQ_SETTING_FIELD)
#undef RQ_SETTING_FIELD
};

// One row of the table, for the code that goes through every setting.
struct SettingRow {
  const char* key;
  bool SettingsValues::*flag = nullptr;       // the field of a flag, else null
  int32_t SettingsValues::*number = nullptr;  // the field of a number, else null
  int32_t lowest = 0;
  int32_t highest = 1;
  const char* widget = nullptr;  // null: not in the dialog

  constexpr SettingRow(const char* k, bool SettingsValues::*f, int32_t lo, int32_t hi, const char* w)
      : key(k), flag(f), lowest(lo), highest(hi), widget(w) {}
  constexpr SettingRow(const char* k, int32_t SettingsValues::*n, int32_t lo, int32_t hi, const char* w)
      : key(k), number(n), lowest(lo), highest(hi), widget(w) {}

  // The setting in `values` as the file writes it: a flag as 1 or 0.
  int32_t get(const SettingsValues& values) const { return flag ? (values.*flag ? 1 : 0) : values.*number; }
  // Stores `value` as the file reads it: a flag is true exactly when `value` is 1.
  void set(SettingsValues& values, int32_t value) const {
    if (flag) values.*flag = value == 1;
    else values.*number = value;
  }
};

inline constexpr SettingRow SettingRows[] = {
#define RQ_SETTING_ROW(key, field, type, initial, lowest, highest, widget) \
  SettingRow(key, &SettingsValues::field, lowest, highest, widget),
    RQ_SETTINGS(RQ_SETTING_ROW)
#undef RQ_SETTING_ROW
};

}  // namespace rq
