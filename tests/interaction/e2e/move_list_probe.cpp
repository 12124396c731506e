// Preloaded into the real game by the end-to-end tests (LD_PRELOAD), so that the game knows
// nothing of it: writes the record window's rows, read from the window's own list, to the
// file named by RQ_MOVE_LIST_DUMP whenever they change or scroll, and "closed" when the
// window goes. The first line is "open" or "closed"; then one row a line, "N. red green |
// red green" (Chinese, then WXF), a move taken back with a leading "~"; last, once the list
// is laid out, "shown FIRST-LAST", the rows in sight.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* WindowTitle = "Ravenquill — Moves";

// The list's columns as the record window lays them out.
enum Column { Number, RedChinese, GreenChinese, RedWxf, GreenWxf, RedOn, GreenOn };

// The list being watched and its rows; null while no record window is open.
GtkWidget* watchedList = nullptr;
GtkTreeModel* watched = nullptr;

// Replaces the dump whole, so that the test never reads half of it.
void WriteDump(const std::string& text) {
  const std::string path = std::getenv("RQ_MOVE_LIST_DUMP");
  const std::string temp = path + ".tmp";
  FILE* out = std::fopen(temp.c_str(), "w");
  if (out == nullptr) return;
  std::fputs(text.c_str(), out);
  if (std::fclose(out) == 0) std::rename(temp.c_str(), path.c_str());
}

// A cell's text; a row just appended has none yet.
std::string Text(const gchar* text) { return text != nullptr ? text : ""; }

// One move's text, greyed ones marked.
std::string Cell(const gchar* text, gboolean on) { return std::string(on || Text(text).empty() ? "" : "~") + Text(text); }

void DumpRows() {
  std::string text = watched != nullptr ? "open\n" : "closed\n";
  GtkTreeIter it;
  for (bool more = watched != nullptr && gtk_tree_model_get_iter_first(watched, &it); more;
       more = gtk_tree_model_iter_next(watched, &it)) {
    gchar* number = nullptr;
    gchar* red = nullptr;
    gchar* green = nullptr;
    gchar* redWxf = nullptr;
    gchar* greenWxf = nullptr;
    gboolean redOn = TRUE;
    gboolean greenOn = TRUE;
    gtk_tree_model_get(watched, &it, Number, &number, RedChinese, &red, GreenChinese, &green, RedWxf, &redWxf,
                       GreenWxf, &greenWxf, RedOn, &redOn, GreenOn, &greenOn, -1);
    text += Text(number) + " " + Cell(red, redOn) + " " + Cell(green, greenOn) + " | " +
            Cell(redWxf, redOn) + " " + Cell(greenWxf, greenOn) + "\n";
    for (gchar* s : {number, red, green, redWxf, greenWxf}) g_free(s);
  }
  GtkTreePath* first = nullptr;
  GtkTreePath* last = nullptr;
  if (watched != nullptr && gtk_widget_get_realized(watchedList) &&
      gtk_tree_view_get_visible_range(GTK_TREE_VIEW(watchedList), &first, &last)) {
    text += "shown " + std::to_string(gtk_tree_path_get_indices(first)[0] + 1) + "-" +
            std::to_string(gtk_tree_path_get_indices(last)[0] + 1) + "\n";
    gtk_tree_path_free(first);
    gtk_tree_path_free(last);
  }
  WriteDump(text);
}

void OnRowsChanged() { DumpRows(); }

void OnWindowGone() {
  watched = nullptr;
  watchedList = nullptr;
  DumpRows();
}

// The tree view inside `widget`, or null.
GtkWidget* FindList(GtkWidget* widget) {
  if (GTK_IS_TREE_VIEW(widget)) return widget;
  if (!GTK_IS_CONTAINER(widget)) return nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  GtkWidget* found = nullptr;
  for (GList* c = children; c != nullptr && found == nullptr; c = c->next) found = FindList(GTK_WIDGET(c->data));
  g_list_free(children);
  return found;
}

// Runs in the game's GTK loop: finds a newly opened record window and follows its list.
gboolean LookForWindow(gpointer) {
  if (watched != nullptr || gdk_display_get_default() == nullptr) return G_SOURCE_CONTINUE;
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w != nullptr && watched == nullptr; w = w->next) {
    const gchar* title = gtk_window_get_title(GTK_WINDOW(w->data));
    GtkWidget* list = title != nullptr && std::string(title) == WindowTitle ? FindList(GTK_WIDGET(w->data)) : nullptr;
    if (list == nullptr) continue;
    watchedList = list;
    watched = gtk_tree_view_get_model(GTK_TREE_VIEW(list));
    for (const char* signal : {"row-changed", "row-inserted", "row-deleted"})
      g_signal_connect_swapped(watched, signal, G_CALLBACK(OnRowsChanged), nullptr);
    // Scrolled or laid out anew: the rows in sight may have changed.
    GtkAdjustment* scrolling = gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(list));
    for (const char* signal : {"value-changed", "changed"})
      g_signal_connect_swapped(scrolling, signal, G_CALLBACK(OnRowsChanged), nullptr);
    g_signal_connect_swapped(w->data, "destroy", G_CALLBACK(OnWindowGone), nullptr);
    DumpRows();
  }
  g_list_free(windows);
  return G_SOURCE_CONTINUE;
}

__attribute__((constructor)) void StartProbe() {
  const char* path = std::getenv("RQ_MOVE_LIST_DUMP");
  if (path != nullptr && *path != 0) g_timeout_add(50, LookForWindow, nullptr);
}

}  // namespace
