#include "platform/settings_dialog.h"

#include <gtk/gtk.h>

#include <cmath>

#include "platform/sdl_platform.h"

namespace rq {

namespace {

constexpr int32_t LowestLevel = 0;
constexpr int32_t HighestLevel = 4;

// The six option check boxes, in the dialog's order.
const char* const FlagIds[6] = {"hint_at_startup",    "highlight_move",        "show_moves",
                                "show_illegal_moves", "explain_illegal_moves", "auto_hide_menu"};

// The layout's object named `id`.
GObject* Find(const SettingsDialog& d, const char* id) { return gtk_builder_get_object(d.builder, id); }

// Whether the toggle `id` is checked; a missing widget reads as unchecked.
bool Checked(const SettingsDialog& d, const char* id) {
  GObject* widget = Find(d, id);
  return widget != nullptr && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget));
}

// Checks or clears the toggle `id`.
void SetChecked(const SettingsDialog& d, const char* id, bool checked) {
  GObject* widget = Find(d, id);
  if (widget != nullptr) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), checked);
}

// The flag of `values` that check box i of FlagIds shows.
bool& Flag(SettingsValues& v, int i) {
  bool* fields[6] = {&v.hintAtStartup, &v.highlightMove, &v.showMoves,
                     &v.showIllegalMoves, &v.explainIllegalMoves, &v.autoHideMenu};
  return *fields[i];
}

}  // namespace

// A level outside the scale is shown at its nearest end; OK then stores what is shown.
bool BuildSettingsDialog(const SettingsValues& values, SettingsDialog& d) {
  d.builder = gtk_builder_new();
  GError* error = nullptr;
  if (!gtk_builder_add_from_string(d.builder, SettingsDialogLayout, -1, &error)) {
    if (error != nullptr) g_error_free(error);
    g_object_unref(d.builder);
    d.builder = nullptr;
    return false;
  }
  GObject* dialog = Find(d, "settings_dialog");
  GObject* scale = Find(d, "difficulty_scale");
  if (dialog == nullptr || scale == nullptr) {
    g_object_unref(d.builder);
    d.builder = nullptr;
    return false;
  }
  d.dialog = GTK_WIDGET(dialog);

  gtk_range_set_range(GTK_RANGE(scale), LowestLevel, HighestLevel);
  gtk_range_set_value(GTK_RANGE(scale), values.difficultyLevel);
  SettingsValues shown = values;
  for (int i = 0; i < 6; ++i) SetChecked(d, FlagIds[i], Flag(shown, i));
  // The disabled languages can only come from the settings file; they still show as chosen.
  if (values.helpLanguage == 0) SetChecked(d, "help_english", true);
  if (values.helpLanguage == 1) SetChecked(d, "help_finnish", true);
  if (values.helpLanguage == 2) SetChecked(d, "help_chinese", true);

  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  gtk_widget_grab_focus(GTK_WIDGET(scale));
  return true;
}

// A disabled language stays chosen when it was checked on opening.
void ReadSettingsDialog(const SettingsDialog& d, SettingsValues& values) {
  for (int i = 0; i < 6; ++i) Flag(values, i) = Checked(d, FlagIds[i]);
  GObject* scale = Find(d, "difficulty_scale");
  if (scale != nullptr) {
    const long level = std::lround(gtk_range_get_value(GTK_RANGE(scale)));
    values.difficultyLevel = static_cast<int32_t>(level < LowestLevel ? LowestLevel : level > HighestLevel ? HighestLevel : level);
  }
  values.helpLanguage = 0;
  if (Checked(d, "help_finnish")) values.helpLanguage = 1;
  else if (Checked(d, "help_chinese")) values.helpLanguage = 2;
}

// Escape and closing the window count as Cancel.
bool RunSettingsDialogModal(SettingsDialog& d) {
  if (d.dialog == nullptr) return false;
  gtk_widget_show(d.dialog);
  return gtk_dialog_run(GTK_DIALOG(d.dialog)) == GTK_RESPONSE_OK;
}

// Safe on a dialog that was never built.
void DestroySettingsDialog(SettingsDialog& d) {
  if (d.dialog != nullptr) gtk_widget_destroy(d.dialog);
  if (d.builder != nullptr) g_object_unref(d.builder);
  d.dialog = nullptr;
  d.builder = nullptr;
}

// Modal above the game window; the settings change only when the user confirms.
bool SdlPlatform::RunSettingsDialog(SettingsValues& values) {
  if (!EnsureGtk()) return false;
  SettingsDialog d;
  if (!BuildSettingsDialog(values, d)) return false;
  gtk_window_set_keep_above(GTK_WINDOW(d.dialog), TRUE);
  MakeTransientForMain(GTK_WINDOW(d.dialog));
  const bool confirmed = RunSettingsDialogModal(d);
  if (confirmed) ReadSettingsDialog(d, values);
  DestroySettingsDialog(d);
  // Let GTK take the closed dialog off the screen before the game draws again.
  while (gtk_events_pending()) gtk_main_iteration();
  DiscardInputBehindModal();
  return confirmed;
}

}  // namespace rq
