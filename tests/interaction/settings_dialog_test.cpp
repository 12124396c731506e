// The GTK settings dialog run modally with clicks made while open: only OK takes over what it shows.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "game/settings.h"
#include "platform/sdl_platform.h"
#include "platform/settings_dialog.h"
#include "support/environment.h"

namespace rq {
namespace {

// GTK on the display that the test runs under (ctest gives it a private Xvfb).
bool GtkReady() {
  static const bool ready = [] {
    gtk_disable_setlocale();
    return gtk_init_check(nullptr, nullptr) != 0;
  }();
  return ready;
}

// Start-up hint, shown moves and explanations as `flags`; highlight, prohibited moves and menu hiding the other way.
SettingsValues Values(bool flags, int32_t level, int32_t help, int32_t language, int32_t side = SideChoiceRed) {
  return {flags, !flags, flags, !flags, flags, !flags, level, help, side, language};
}

// What the "user" does once the dialog is up: toggles by label, a scale value, a language
// (-1: none chosen), a button.
struct Script { std::vector<std::string> toggles; double level; int language; int response; };

GtkWidget* FindToggle(GtkWidget* widget, const std::string& label) {
  if (GTK_IS_TOGGLE_BUTTON(widget)) return label == gtk_button_get_label(GTK_BUTTON(widget)) ? widget : nullptr;
  if (GTK_IS_SCALE(widget)) return label == "scale" ? widget : nullptr;
  if (GTK_IS_COMBO_BOX(widget)) return label == "language" ? widget : nullptr;
  if (!GTK_IS_CONTAINER(widget)) return nullptr;
  GtkWidget* found = nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* c = children; c != nullptr && !found; c = c->next) found = FindToggle(GTK_WIDGET(c->data), label);
  g_list_free(children);
  return found;
}

gboolean PlayScript(gpointer data) {
  const Script& script = *static_cast<const Script*>(data);
  GList* windows = gtk_window_list_toplevels();
  GtkWidget* dialog = nullptr;
  for (GList* w = windows; w != nullptr; w = w->next) {
    const char* title = gtk_window_get_title(GTK_WINDOW(w->data));
    if (title && std::string(title) == "Ravenquill Settings" && gtk_widget_get_visible(GTK_WIDGET(w->data)))
      dialog = GTK_WIDGET(w->data);
  }
  g_list_free(windows);
  if (dialog == nullptr) return G_SOURCE_CONTINUE;
  // Clicking an insensitive radio button does nothing, as for the user.
  for (const std::string& label : script.toggles) {
    GtkWidget* toggle = FindToggle(dialog, label);
    if (toggle && gtk_widget_is_sensitive(toggle)) gtk_button_clicked(GTK_BUTTON(toggle));
  }
  if (script.level >= 0) gtk_range_set_value(GTK_RANGE(FindToggle(dialog, "scale")), script.level);
  if (script.language >= 0) gtk_combo_box_set_active(GTK_COMBO_BOX(FindToggle(dialog, "language")), script.language);
  gtk_dialog_response(GTK_DIALOG(dialog), script.response);
  return G_SOURCE_REMOVE;
}

TEST(SettingsDialog, RunsModallyAndOnlyOkChangesTheSettings) {
  RQ_REQUIRE_ENVIRONMENT(GtkReady(), "no display for GTK");
  SdlPlatform platform;
  struct Row { const char* what; SettingsValues start; Script script; bool confirmed; SettingsValues after; };
  const SettingsValues changed{true, false, false, false, true, true, 3, 0, SideChoiceRed, 4};  // shown moves off, menu hiding on
  const Row rows[] = {
      {"Cancel after clicks", Values(true, 1, 0, 0), {{"Show available moves"}, 4, 2, GTK_RESPONSE_CANCEL}, false,
       Values(true, 1, 0, 0)},
      {"OK after clicks", Values(true, 1, 0, 0), {{"Show available moves", "Auto-hide the command menu"}, 3, 4, GTK_RESPONSE_OK},
       true, changed},
      {"OK keeps Finnish help from the file", Values(true, 0, 1, 0), {{}, -1, -1, GTK_RESPONSE_OK}, true,
       Values(true, 0, 1, 0)},
      {"other flags, Chinese help and Suomi kept", Values(false, 4, 2, 5), {{}, -1, -1, GTK_RESPONSE_OK}, true,
       Values(false, 4, 2, 5)},
      {"green chosen beside a language", Values(true, 1, 0, 2), {{"Green: the computer moves first"}, -1, 3, GTK_RESPONSE_OK},
       true, Values(true, 1, 0, 3, SideChoiceGreen)},
      {"System chosen again", Values(true, 2, 0, 3), {{}, -1, 0, GTK_RESPONSE_OK}, true, Values(true, 2, 0, 0)},
      {"a strong level chosen", Values(true, 4, 0, 0), {{}, 6, -1, GTK_RESPONSE_OK}, true, Values(true, 6, 0, 0)},
      {"level beyond the scale, unknown languages", Values(true, 9, 7, 8), {{}, -1, -1, GTK_RESPONSE_OK}, true,
       Values(true, 7, 7, 0)},
  };
  for (const Row& row : rows) {
    SettingsValues values = row.start;
    g_timeout_add(50, PlayScript, const_cast<Script*>(&row.script));
    EXPECT_EQ(platform.RunSettingsDialog(values), row.confirmed) << row.what;
    EXPECT_EQ(FormatSettings(values), FormatSettings(row.after)) << row.what;
  }
}

// Each setting's widget shows every value of the setting's range and gives it back, so a
// row whose widget is missing or offers too few choices shows here.
TEST(SettingsDialog, EverySettingShowsAndReadsBackEachValueOfItsRange) {
  RQ_REQUIRE_ENVIRONMENT(GtkReady(), "no display for GTK");
  for (const SettingRow& row : SettingRows) {
    if (row.widget == nullptr) continue;  // kept in the file only
    for (int32_t value = row.lowest; value <= row.highest; ++value) {
      SettingsValues shown;
      row.set(shown, value);
      SettingsDialog dialog;
      ASSERT_TRUE(BuildSettingsDialog(shown, dialog)) << row.key;
      SettingsValues read;
      for (const SettingRow& other : SettingRows)  // every setting in the dialog other than it will be read
        other.set(read, !other.widget ? other.get(shown) : other.get(shown) == other.lowest ? other.highest : other.lowest);
      ReadSettingsDialog(dialog, read);
      DestroySettingsDialog(dialog);
      EXPECT_EQ(FormatSettings(read), FormatSettings(shown)) << row.key << " = " << value;
    }
  }
}

}  // namespace
}  // namespace rq
