// The GTK settings dialog built from its layout: what it shows, what OK takes over, and
// the modal run with clicks made while it is open.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "platform/sdl_platform.h"
#include "platform/settings_dialog.h"
#include "support/environment.h"

namespace rq {
namespace {

const char* const CheckBoxLabels[6] = {
    "Inform about game status at startup", "Highlight the latest move", "Show available moves",
    "Show prohibited moves", "Explain why a move is prohibited", "Auto-hide the command menu"};

// GTK on the display that the test runs under (ctest gives it a private Xvfb).
class GtkEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gtk_disable_setlocale();
    ready = gtk_init_check(nullptr, nullptr);
  }
  static bool ready;
};
bool GtkEnvironment::ready = false;
const auto* const environment = ::testing::AddGlobalTestEnvironment(new GtkEnvironment);

GtkWidget* Widget(const SettingsDialog& d, const char* id) { return GTK_WIDGET(gtk_builder_get_object(d.builder, id)); }
bool Active(const SettingsDialog& d, const char* id) { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(Widget(d, id))); }

// Labels of the toggle buttons under `widget`, in the dialog's order.
void CollectToggleLabels(GtkWidget* widget, std::vector<std::string>& labels) {
  if (GTK_IS_TOGGLE_BUTTON(widget)) {
    labels.emplace_back(gtk_button_get_label(GTK_BUTTON(widget)));
    return;
  }
  if (!GTK_IS_CONTAINER(widget)) return;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* c = children; c != nullptr; c = c->next) CollectToggleLabels(GTK_WIDGET(c->data), labels);
  g_list_free(children);
}

SettingsValues Values(bool flags, int32_t level, int32_t language) {
  SettingsValues v;
  v.hintAtStartup = v.showMoves = v.explainIllegalMoves = flags;
  v.highlightMove = v.showIllegalMoves = v.autoHideMenu = !flags;
  v.difficultyLevel = level;
  v.helpLanguage = language;
  return v;
}

bool Same(const SettingsValues& a, const SettingsValues& b) {
  return a.hintAtStartup == b.hintAtStartup && a.highlightMove == b.highlightMove && a.showMoves == b.showMoves &&
         a.showIllegalMoves == b.showIllegalMoves && a.explainIllegalMoves == b.explainIllegalMoves &&
         a.autoHideMenu == b.autoHideMenu && a.difficultyLevel == b.difficultyLevel && a.helpLanguage == b.helpLanguage;
}

TEST(SettingsDialog, ShowsTheSettingsAndOkTakesThemOver) {
  RQ_REQUIRE_ENVIRONMENT(GtkEnvironment::ready, "no display for GTK");
  struct Row {
    const char* what;
    SettingsValues shown;
    int32_t levelRead;
    int32_t languageRead;
  };
  const Row rows[] = {
      {"defaults", Values(true, 1, 0), 1, 0},
      {"other flags, highest level", Values(false, 4, 0), 4, 0},
      {"Finnish from the file stays", Values(true, 0, 1), 0, 1},
      {"Chinese from the file stays", Values(false, 2, 2), 2, 2},
      {"unknown language reads as English", Values(true, 3, 7), 3, 0},
      {"level beyond the scale", Values(true, 9, 0), 4, 0},
  };
  for (const Row& row : rows) {
    SettingsDialog d;
    ASSERT_TRUE(BuildSettingsDialog(row.shown, d)) << row.what;
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(d.dialog)), "Ravenquill Settings");
    EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(d.dialog)));
    std::vector<std::string> labels;
    CollectToggleLabels(d.dialog, labels);
    const std::vector<std::string> expected = {CheckBoxLabels[0], CheckBoxLabels[1], CheckBoxLabels[2],
                                               CheckBoxLabels[3], CheckBoxLabels[4], CheckBoxLabels[5],
                                               "Help in English", "Help in Finnish", "Help in Chinese"};
    EXPECT_EQ(labels, expected);
    EXPECT_TRUE(gtk_widget_get_sensitive(Widget(d, "help_english")));
    EXPECT_FALSE(gtk_widget_get_sensitive(Widget(d, "help_finnish")));
    EXPECT_FALSE(gtk_widget_get_sensitive(Widget(d, "help_chinese")));
    EXPECT_EQ(Active(d, "hint_at_startup"), row.shown.hintAtStartup) << row.what;
    EXPECT_EQ(Active(d, "highlight_move"), row.shown.highlightMove) << row.what;
    EXPECT_EQ(Active(d, "auto_hide_menu"), row.shown.autoHideMenu) << row.what;
    EXPECT_EQ(Active(d, "help_finnish"), row.shown.helpLanguage == 1) << row.what;
    EXPECT_EQ(Active(d, "help_chinese"), row.shown.helpLanguage == 2) << row.what;
    GtkRange* scale = GTK_RANGE(Widget(d, "difficulty_scale"));
    GtkAdjustment* range = gtk_range_get_adjustment(scale);
    EXPECT_EQ(gtk_adjustment_get_lower(range), 0.0);
    EXPECT_EQ(gtk_adjustment_get_upper(range), 4.0);

    SettingsValues read = Values(!row.shown.hintAtStartup, -5, -5);
    ReadSettingsDialog(d, read);
    SettingsValues expect = row.shown;
    expect.difficultyLevel = row.levelRead;
    expect.helpLanguage = row.languageRead;
    EXPECT_TRUE(Same(read, expect)) << row.what;
    DestroySettingsDialog(d);
  }
}

// What the "user" does once the dialog is up: toggles by label, a scale value, a button.
struct Script {
  std::vector<std::string> toggles;
  double level;
  int response;
};

GtkWidget* FindToggle(GtkWidget* widget, const std::string& label) {
  if (GTK_IS_TOGGLE_BUTTON(widget)) return label == gtk_button_get_label(GTK_BUTTON(widget)) ? widget : nullptr;
  if (GTK_IS_SCALE(widget)) return label == "scale" ? widget : nullptr;
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
  for (const std::string& label : script.toggles) {
    GtkWidget* toggle = FindToggle(dialog, label);
    // Clicking an insensitive radio button does nothing, as for the user.
    if (toggle && gtk_widget_is_sensitive(toggle)) gtk_button_clicked(GTK_BUTTON(toggle));
  }
  if (script.level >= 0) gtk_range_set_value(GTK_RANGE(FindToggle(dialog, "scale")), script.level);
  gtk_dialog_response(GTK_DIALOG(dialog), script.response);
  return G_SOURCE_REMOVE;
}

TEST(SettingsDialog, RunsModallyAndOnlyOkChangesTheSettings) {
  RQ_REQUIRE_ENVIRONMENT(GtkEnvironment::ready, "no display for GTK");
  SdlPlatform platform;
  struct Row {
    const char* what;
    SettingsValues start;
    Script script;
    bool confirmed;
    SettingsValues after;
  };
  SettingsValues changed = Values(true, 1, 0);
  changed.showMoves = false;
  changed.autoHideMenu = true;
  changed.difficultyLevel = 3;
  const Row rows[] = {
      {"Cancel after clicks", Values(true, 1, 0), {{CheckBoxLabels[2], "Help in Finnish"}, 4, GTK_RESPONSE_CANCEL}, false,
       Values(true, 1, 0)},
      {"closed by the window", Values(true, 1, 0), {{CheckBoxLabels[0]}, -1, GTK_RESPONSE_DELETE_EVENT}, false,
       Values(true, 1, 0)},
      {"OK after clicks", Values(true, 1, 0), {{CheckBoxLabels[2], CheckBoxLabels[5]}, 3, GTK_RESPONSE_OK}, true, changed},
      {"disabled languages cannot be chosen", Values(true, 2, 0), {{"Help in Chinese"}, 2.4, GTK_RESPONSE_OK}, true,
       Values(true, 2, 0)},
      {"OK keeps Finnish from the file", Values(true, 0, 1), {{}, -1, GTK_RESPONSE_OK}, true, Values(true, 0, 1)},
  };
  for (const Row& row : rows) {
    SettingsValues values = row.start;
    g_timeout_add(50, PlayScript, const_cast<Script*>(&row.script));
    EXPECT_EQ(platform.RunSettingsDialog(values), row.confirmed) << row.what;
    EXPECT_TRUE(Same(values, row.after)) << row.what << ": level " << values.difficultyLevel;
  }
}

}  // namespace
}  // namespace rq
