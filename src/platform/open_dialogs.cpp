// The dialogs that bring a game in: the file chooser, the list of a file's games, the clipboard.
#include <gtk/gtk.h>

#include <string>

#include "platform/sdl_platform.h"
#include "platform/texts.h"

namespace rq {

namespace {

// A pattern that takes the extension in any case: "*.pgn" gives "*.[pP][gG][nN]".
std::string AnyCase(const char* extension) {
  std::string pattern = "*.";
  for (const char* c = extension; *c; ++c) {
    pattern += '[';
    pattern += static_cast<char>(g_ascii_tolower(*c));
    pattern += static_cast<char>(g_ascii_toupper(*c));
    pattern += ']';
  }
  return pattern;
}

// A filter named `name` for the extensions, empty-terminated.
void AddFilter(GtkWidget* chooser, const char* name, std::initializer_list<const char*> extensions,
               const char* mime = nullptr) {
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, name);
  for (const char* e : extensions) gtk_file_filter_add_pattern(filter, AnyCase(e).c_str());
  if (mime) gtk_file_filter_add_mime_type(filter, mime);
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), filter);
}

enum ListColumn { ColNumber, ColRed, ColBlack, ColDate, ColResult, ColMoves, ColumnCount };

}  // namespace

void SdlPlatform::AfterModal() {
  while (gtk_events_pending()) gtk_main_iteration();
  DiscardInputBehindModal();
}

bool SdlPlatform::RunFileChooser(GtkWidget* chooser, std::string& path) {
  bool chosen = false;
  if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
    if (gchar* file = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser))) {
      path = file;
      chosen = true;
      g_free(file);
    }
  }
  gtk_widget_destroy(chooser);
  AfterModal();
  return chosen;
}

bool SdlPlatform::ChooseGameFile(std::string& path) {
  if (!EnsureGtk()) return false;
  GtkWidget* chooser = gtk_file_chooser_dialog_new(_("Open a game or position"), nullptr, GTK_FILE_CHOOSER_ACTION_OPEN,
                                                   _("_Cancel"), GTK_RESPONSE_CANCEL, _("_Open"), GTK_RESPONSE_ACCEPT,
                                                   nullptr);
  AddFilter(chooser, _("Games and positions (PGN, FEN, Ravenquill)"), {"pgn", "fen", "vrd5", "txt"},
            "application/x-chess-pgn");
  AddFilter(chooser, _("PGN games"), {"pgn"}, "application/x-chess-pgn");
  AddFilter(chooser, _("FEN positions"), {"fen", "txt"});
  AddFilter(chooser, _("Ravenquill's saved games"), {"vrd5"});
  GtkFileFilter* all = gtk_file_filter_new();
  gtk_file_filter_set_name(all, _("All files"));
  gtk_file_filter_add_pattern(all, "*");
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), all);
  gtk_window_set_keep_above(GTK_WINDOW(chooser), TRUE);
  MakeTransientForMain(GTK_WINDOW(chooser));
  return RunFileChooser(chooser, path);
}

// A double click on a row picks it.
static void OnRowActivated(GtkTreeView*, GtkTreePath*, GtkTreeViewColumn*, gpointer dialog) {
  gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
}

int SdlPlatform::ChooseGame(const std::vector<GameListEntry>& games) {
  if (!EnsureGtk() || games.empty()) return -1;
  GtkWidget* dialog = gtk_dialog_new_with_buttons(_("Choose a game"), nullptr, GTK_DIALOG_MODAL, _("_Cancel"),
                                                  GTK_RESPONSE_CANCEL, _("_Open"), GTK_RESPONSE_OK, nullptr);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  GtkListStore* store = gtk_list_store_new(ColumnCount, G_TYPE_INT, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING,
                                           G_TYPE_STRING, G_TYPE_INT);
  for (size_t i = 0; i < games.size(); ++i) {
    GtkTreeIter it;
    gtk_list_store_append(store, &it);
    gtk_list_store_set(store, &it, ColNumber, static_cast<int>(i + 1), ColRed, games[i].red.c_str(), ColBlack,
                       games[i].black.c_str(), ColDate, games[i].date.c_str(), ColResult, games[i].result.c_str(),
                       ColMoves, (games[i].plies + 1) / 2, -1);
  }
  GtkWidget* view = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
  g_object_unref(store);
  // TRANSLATORS: the columns of the list of a file's games: its number, the players of red
  // and black as the file names them, the date, the result and the count of moves.
  const char* const titles[ColumnCount] = {N_("No."), N_("Red"), N_("Black"), N_("Date"), N_("Result"), N_("Moves")};
  for (int c = 0; c < ColumnCount; ++c)
    gtk_tree_view_append_column(GTK_TREE_VIEW(view), gtk_tree_view_column_new_with_attributes(
                                                         _(titles[c]), gtk_cell_renderer_text_new(), "text", c, nullptr));
  GtkTreePath* first = gtk_tree_path_new_first();
  gtk_tree_view_set_cursor(GTK_TREE_VIEW(view), first, nullptr, FALSE);
  gtk_tree_path_free(first);
  g_signal_connect(view, "row-activated", G_CALLBACK(OnRowActivated), dialog);
  GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_widget_set_size_request(scroll, 520, 320);
  gtk_container_add(GTK_CONTAINER(scroll), view);
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), scroll, TRUE, TRUE, 0);
  gtk_widget_show_all(dialog);
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  MakeTransientForMain(GTK_WINDOW(dialog));
  int picked = -1;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
    GtkTreeModel* model = nullptr;
    GtkTreeIter it;
    if (gtk_tree_selection_get_selected(gtk_tree_view_get_selection(GTK_TREE_VIEW(view)), &model, &it)) {
      gint number = 0;
      gtk_tree_model_get(model, &it, ColNumber, &number, -1);
      picked = number - 1;
    }
  }
  gtk_widget_destroy(dialog);
  AfterModal();
  return picked;
}

bool SdlPlatform::PasteFromClipboard(std::string& text) {
  if (!EnsureGtk()) return false;
  gchar* got = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
  if (got == nullptr) return false;
  text = got;
  g_free(got);
  return true;
}

}  // namespace rq
