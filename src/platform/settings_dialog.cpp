#include "platform/settings_dialog.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>

#include "platform/sdl_platform.h"

namespace rq {

namespace {

// The widget that has the focus as the dialog opens: the arrow keys move the level at once.
constexpr const char* FocusWidget = "difficulty_scale";

// The layout's object named `id`.
GObject* Find(const SettingsDialog& d, const char* id) { return gtk_builder_get_object(d.builder, id); }

// The radio buttons of a box, in the box's order; the caller frees the list.
GList* Choices(GObject* box) { return gtk_container_get_children(GTK_CONTAINER(box)); }

// Shows `value` in the widget of `row`: a check button checked for 1; a scale over the
// row's range, a value beyond it at its nearest end; in a combo box or a box of radio
// buttons, the entry for `value`, or the layout's own choice for a value without one.
void ShowSetting(GObject* widget, const SettingRow& row, int32_t value) {
  const bool inRange = value >= row.lowest && value <= row.highest;
  if (GTK_IS_COMBO_BOX(widget)) {
    if (inRange) gtk_combo_box_set_active(GTK_COMBO_BOX(widget), value - row.lowest);
  } else if (GTK_IS_RANGE(widget)) {
    gtk_range_set_range(GTK_RANGE(widget), row.lowest, row.highest);
    gtk_range_set_value(GTK_RANGE(widget), value);
  } else if (GTK_IS_TOGGLE_BUTTON(widget)) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), value == 1);
  } else if (GTK_IS_CONTAINER(widget) && inRange) {
    GList* choices = Choices(widget);
    GList* chosen = g_list_nth(choices, static_cast<guint>(value - row.lowest));
    if (chosen != nullptr && GTK_IS_TOGGLE_BUTTON(chosen->data))
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(chosen->data), TRUE);
    g_list_free(choices);
  }
}

// What the widget of `row` shows, as the setting's value: a scale's position rounded into
// the row's range, 1 or 0 for a check button, the place of the chosen entry or of the
// checked radio button (the lowest value when none is).
int32_t ReadSetting(GObject* widget, const SettingRow& row) {
  if (GTK_IS_COMBO_BOX(widget)) {
    const int32_t value = row.lowest + gtk_combo_box_get_active(GTK_COMBO_BOX(widget));
    return value >= row.lowest && value <= row.highest ? value : row.lowest;
  }
  if (GTK_IS_RANGE(widget)) {
    const long value = std::lround(gtk_range_get_value(GTK_RANGE(widget)));
    return static_cast<int32_t>(std::clamp<long>(value, row.lowest, row.highest));
  }
  if (GTK_IS_TOGGLE_BUTTON(widget)) return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget)) ? 1 : 0;
  GList* choices = Choices(widget);
  int32_t value = row.lowest;
  for (GList* c = choices; c != nullptr; c = c->next, ++value) {
    if (GTK_IS_TOGGLE_BUTTON(c->data) && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(c->data))) break;
  }
  if (value > row.highest) value = row.lowest;
  g_list_free(choices);
  return value;
}

}  // namespace

// Every setting's widget must be in the layout: a dialog that cannot show one is not opened.
// A choice that is insensitive in the layout can only come from the settings file, and
// still shows as chosen. The layout names its text domain, so its texts come translated.
bool BuildSettingsDialog(const SettingsValues& values, SettingsDialog& d) {
  d.builder = gtk_builder_new();
  GError* error = nullptr;
  bool built = gtk_builder_add_from_string(d.builder, SettingsDialogLayout, -1, &error) != 0;
  if (error != nullptr) g_error_free(error);
  GObject* dialog = built ? Find(d, "settings_dialog") : nullptr;
  built = dialog != nullptr;
  for (const SettingRow& row : SettingRows) {
    if (!built) break;
    if (row.widget == nullptr) continue;
    GObject* widget = Find(d, row.widget);
    built = widget != nullptr && (GTK_IS_RANGE(widget) || GTK_IS_TOGGLE_BUTTON(widget) || GTK_IS_CONTAINER(widget));
    if (built) ShowSetting(widget, row, row.get(values));
  }
  if (!built) {
    g_object_unref(d.builder);
    d.builder = nullptr;
    return false;
  }
  d.dialog = GTK_WIDGET(dialog);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  if (GObject* focus = Find(d, FocusWidget)) gtk_widget_grab_focus(GTK_WIDGET(focus));
  return true;
}

void ReadSettingsDialog(const SettingsDialog& d, SettingsValues& values) {
  for (const SettingRow& row : SettingRows) {
    if (GObject* widget = row.widget ? Find(d, row.widget) : nullptr) row.set(values, ReadSetting(widget, row));
  }
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
