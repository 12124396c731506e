// The record window "Ravenquill — Moves": a non-modal GTK window beside the game window,
// served from the game's own loop, never counted as modal.
#include <SDL.h>
#include <gtk/gtk.h>

#include <cstdio>

#include "platform/sdl_platform.h"
#include "platform/texts.h"

namespace rq {

// The columns of the list: number, Chinese of red and green, WXF of red and green, and
// whether each of the two moves is on the board (sensitive) or taken back.
enum MoveListColumn { ColNumber, ColRedChinese, ColGreenChinese, ColRedWxf, ColGreenWxf, ColRedOn, ColGreenOn, ColCount };

struct MoveListWindow {
  SdlPlatform* platform = nullptr;
  GtkWidget* window = nullptr;
  GtkListStore* store = nullptr;
  GtkWidget* view = nullptr;
  GtkWidget* chooser = nullptr;  // the open "Save PGN…" file chooser, if any
};

namespace {

constexpr int WindowWidth = 360;
constexpr int Gap = 6;

// The window manager's close button is the same as M.
gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  static_cast<MoveListWindow*>(data)->platform->QueueMoveListRequest(MoveListRequest::Close);
  return TRUE;
}

// M with the record window in front closes it, as it does over the board.
gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer data) {
  if (event->keyval != GDK_KEY_m && event->keyval != GDK_KEY_M) return FALSE;
  if ((event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0) return FALSE;
  static_cast<MoveListWindow*>(data)->platform->QueueMoveListRequest(MoveListRequest::Close);
  return TRUE;
}

void OnCopy(GtkButton*, gpointer data) {
  static_cast<MoveListWindow*>(data)->platform->QueueMoveListRequest(MoveListRequest::CopyPgn);
}

// The chooser's answer: a file to write, or nothing.
void OnChooserResponse(GtkDialog* dialog, gint response, gpointer data) {
  auto* w = static_cast<MoveListWindow*>(data);
  if (response == GTK_RESPONSE_ACCEPT) {
    if (gchar* file = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog))) {
      w->platform->QueueMoveListRequest(MoveListRequest::SavePgn, file);
      g_free(file);
    }
  }
  gtk_widget_destroy(GTK_WIDGET(dialog));
  w->chooser = nullptr;
}

// The file chooser is modal to the record window only: the game goes on meanwhile.
void OnSave(GtkButton*, gpointer data) {
  auto* w = static_cast<MoveListWindow*>(data);
  if (w->chooser != nullptr) {
    gtk_window_present(GTK_WINDOW(w->chooser));
    return;
  }
  w->chooser = gtk_file_chooser_dialog_new(_("Save PGN"), GTK_WINDOW(w->window), GTK_FILE_CHOOSER_ACTION_SAVE,
                                           _("_Cancel"), GTK_RESPONSE_CANCEL, _("_Save"), GTK_RESPONSE_ACCEPT, nullptr);
  gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(w->chooser), TRUE);
  // TRANSLATORS: the file name that Save PGN… offers.
  gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(w->chooser), _("Ravenquill game.pgn"));
  gtk_window_set_modal(GTK_WINDOW(w->chooser), TRUE);
  g_signal_connect(w->chooser, "response", G_CALLBACK(OnChooserResponse), w);
  gtk_widget_show(w->chooser);
}

// A column of two moves, red's and green's, greyed where taken back.
void AddPairColumn(GtkWidget* view, const char* title, int redText, int greenText) {
  GtkTreeViewColumn* column = gtk_tree_view_column_new();
  gtk_tree_view_column_set_title(column, title);
  const int texts[2] = {redText, greenText};
  const int on[2] = {ColRedOn, ColGreenOn};
  for (int i = 0; i < 2; ++i) {
    GtkCellRenderer* cell = gtk_cell_renderer_text_new();
    g_object_set(cell, "xpad", 6, nullptr);
    gtk_tree_view_column_pack_start(column, cell, TRUE);
    gtk_tree_view_column_add_attribute(column, cell, "text", texts[i]);
    gtk_tree_view_column_add_attribute(column, cell, "sensitive", on[i]);
  }
  gtk_tree_view_append_column(GTK_TREE_VIEW(view), column);
}

// Beside the game window on the right, else on the left, else at the screen's right edge.
void PlaceBeside(GtkWindow* window, SDL_Window* game, int& height) {
  height = 480;
  if (game == nullptr) return;
  int x = 0, y = 0, w = 0, h = 0, top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowPosition(game, &x, &y);
  SDL_GetWindowSize(game, &w, &h);
  if (SDL_GetWindowBordersSize(game, &top, &left, &bottom, &right) != 0) top = left = bottom = right = 0;
  SDL_Rect usable{0, 0, 0, 0};
  const int display = SDL_GetWindowDisplayIndex(game);
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0) usable = SDL_Rect{x, y, w * 2, h};
  height = h > 300 ? h : 300;
  const int outer = WindowWidth + left + right;
  int px = x + w + right + Gap;
  if (px + outer > usable.x + usable.w) px = x - left - Gap - outer;
  if (px < usable.x) px = usable.x + usable.w - outer;
  gtk_window_move(window, px, y - top);
}

}  // namespace

void SdlPlatform::QueueMoveListRequest(MoveListRequest request, const std::string& path) {
  moveListRequests_.emplace_back(request, path);
}

MoveListRequest SdlPlatform::TakeMoveListRequest(std::string& path) {
  if (moveListRequests_.empty()) return MoveListRequest::NoRequest;
  const MoveListRequest request = moveListRequests_.front().first;
  path = moveListRequests_.front().second;
  moveListRequests_.pop_front();
  return request;
}

bool SdlPlatform::ShowMoveList(const MoveListRow* rows, int32_t count) {
  if (moveList_ != nullptr) {
    UpdateMoveList(rows, count);
    return true;
  }
  if (!EnsureGtk()) return false;
  auto* w = new MoveListWindow;
  w->platform = this;
  w->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(w->window), _("Ravenquill — Moves"));
  // The game keeps the keyboard: M over the board closes the window again.
  gtk_window_set_focus_on_map(GTK_WINDOW(w->window), FALSE);
  w->store = gtk_list_store_new(ColCount, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING,
                                G_TYPE_BOOLEAN, G_TYPE_BOOLEAN);
  w->view = gtk_tree_view_new_with_model(GTK_TREE_MODEL(w->store));
  gtk_tree_view_insert_column_with_attributes(GTK_TREE_VIEW(w->view), -1, "", gtk_cell_renderer_text_new(), "text",
                                              ColNumber, nullptr);
  // TRANSLATORS: the heading of the moves in Chinese notation.
  AddPairColumn(w->view, _("Chinese"), ColRedChinese, ColGreenChinese);
  // TRANSLATORS: the heading of the moves in the notation of the World Xiangqi Federation.
  AddPairColumn(w->view, _("WXF"), ColRedWxf, ColGreenWxf);
  gtk_tree_selection_set_mode(gtk_tree_view_get_selection(GTK_TREE_VIEW(w->view)), GTK_SELECTION_NONE);
  GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scroll), w->view);
  GtkWidget* copy = gtk_button_new_with_label(_("Copy PGN"));
  GtkWidget* save = gtk_button_new_with_label(_("Save PGN…"));
  GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
  gtk_box_pack_start(GTK_BOX(buttons), copy, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(buttons), save, TRUE, TRUE, 0);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
  gtk_container_set_border_width(GTK_CONTAINER(box), 6);
  gtk_box_pack_start(GTK_BOX(box), scroll, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(box), buttons, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(w->window), box);
  g_signal_connect(w->window, "delete-event", G_CALLBACK(OnDelete), w);
  g_signal_connect(w->window, "key-press-event", G_CALLBACK(OnKey), w);
  g_signal_connect(copy, "clicked", G_CALLBACK(OnCopy), w);
  g_signal_connect(save, "clicked", G_CALLBACK(OnSave), w);

  int height = 0;
  PlaceBeside(GTK_WINDOW(w->window), mainWindow_, height);
  gtk_window_set_default_size(GTK_WINDOW(w->window), WindowWidth, height);
  MakeTransientForMain(GTK_WINDOW(w->window));
  moveList_ = w;
  UpdateMoveList(rows, count);
  gtk_widget_show_all(w->window);
  return true;
}

// Rows are changed in place, so the list keeps its scrolling; the last move on the board
// is scrolled into sight, in a list just made too: GTK scrolls there once it is laid out.
void SdlPlatform::UpdateMoveList(const MoveListRow* rows, int32_t count) {
  MoveListWindow* w = moveList_;
  if (w == nullptr) return;
  GtkTreeModel* model = GTK_TREE_MODEL(w->store);
  GtkTreeIter it;
  bool have = gtk_tree_model_get_iter_first(model, &it);
  int lastOn = -1;
  for (int32_t r = 0; r < count; ++r) {
    if (!have) gtk_list_store_append(w->store, &it);
    const MoveListRow& row = rows[r];
    char number[16];
    std::snprintf(number, sizeof number, "%d.", row.number);
    gtk_list_store_set(w->store, &it, ColNumber, number, ColRedChinese, row.red.chinese, ColGreenChinese,
                       row.green.chinese, ColRedWxf, row.red.wxf, ColGreenWxf, row.green.wxf, ColRedOn,
                       !row.red.undone, ColGreenOn, !row.green.undone, -1);
    if ((row.red.chinese[0] && !row.red.undone) || (row.green.chinese[0] && !row.green.undone)) lastOn = r;
    have = have && gtk_tree_model_iter_next(model, &it);
    if (!have) it = GtkTreeIter{};
  }
  // Rows past the new end: `it` is the first of them when `have`.
  while (have) have = gtk_list_store_remove(w->store, &it);
  if (lastOn >= 0) {
    GtkTreePath* path = gtk_tree_path_new_from_indices(lastOn, -1);
    gtk_tree_view_scroll_to_cell(GTK_TREE_VIEW(w->view), path, nullptr, FALSE, 0, 0);
    gtk_tree_path_free(path);
  }
}

void SdlPlatform::CloseMoveList() {
  MoveListWindow* w = moveList_;
  if (w == nullptr) return;
  moveList_ = nullptr;
  if (w->chooser != nullptr) gtk_widget_destroy(w->chooser);
  gtk_widget_destroy(w->window);
  g_object_unref(w->store);
  delete w;
  moveListRequests_.clear();
}

bool SdlPlatform::CopyToClipboard(const std::string& text) {
  if (!EnsureGtk()) return false;
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), text.c_str(), static_cast<gint>(text.size()));
  clipboardOwned_ = true;
  return true;
}

// A bounded number of dispatches per pass: a source that keeps itself pending must not
// hold up the frame.
void SdlPlatform::ServeGtk() {
  if (gtkState_ != 1) return;
  for (int i = 0; i < 200 && gtk_events_pending(); ++i) gtk_main_iteration_do(FALSE);
}

}  // namespace rq
