// Message boxes and the file chooser as GTK 3 dialogs above the game window; on stderr
// when GTK has no display.
#include <SDL.h>
#include <SDL_syswm.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdio>

#include "platform/sdl_platform.h"
#include "platform/texts.h"

namespace rq {

namespace {

// The buttons of the box that offers to save the game elsewhere.
constexpr const char* SaveElsewhereLabel = N_("_Save Elsewhere…");
constexpr const char* QuitWithoutSavingLabel = N_("_Quit Without Saving");
// The file chooser's buttons.
constexpr const char* CancelLabel = N_("_Cancel");
constexpr const char* SaveLabel = N_("_Save");

// The dialog's icon; X11's headers take the name of the plain one, hence no switch.
GtkMessageType DialogType(MessageIcon icon) {
  if (icon == MessageIcon::Information) return GTK_MESSAGE_INFO;
  if (icon == MessageIcon::Exclamation) return GTK_MESSAGE_WARNING;
  if (icon == MessageIcon::Question) return GTK_MESSAGE_QUESTION;
  return GTK_MESSAGE_OTHER;
}

// The themed icon of each kind; GTK 3 no longer shows one by itself.
const char* IconName(MessageIcon icon) {
  if (icon == MessageIcon::Information) return "dialog-information";
  if (icon == MessageIcon::Exclamation) return "dialog-warning";
  if (icon == MessageIcon::Question) return "dialog-question";
  return nullptr;
}

// Lets GTK finish what a closed dialog left behind, so it leaves the screen now.
void DrainGtk() {
  while (gtk_events_pending()) gtk_main_iteration();
}

}  // namespace

bool SdlPlatform::EnsureGtk() {
  if (gtkState_ == 0) {
    // Numbers in the game's files must never follow the user's locale.
    gtk_disable_setlocale();
    // The game window is an X11 window, so dialogs use X11 to stay above it.
    gdk_set_allowed_backends("x11,*");
    gtkState_ = gtk_init_check(nullptr, nullptr) ? 1 : -1;
  }
  return gtkState_ == 1;
}

void SdlPlatform::MakeTransientForMain(GtkWindow* dialog) {
  if (mainWindow_ == nullptr || dialog == nullptr) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(mainWindow_, &info) || info.subsystem != SDL_SYSWM_X11) return;
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr || !GDK_IS_X11_DISPLAY(display)) return;
  GdkWindow* owner = gdk_x11_window_foreign_new_for_display(display, info.info.x11.window);
  if (owner == nullptr) return;
  gtk_widget_realize(GTK_WIDGET(dialog));
  GdkWindow* own = gtk_widget_get_window(GTK_WIDGET(dialog));
  if (own != nullptr) gdk_window_set_transient_for(own, owner);
  g_object_unref(owner);
}

MessageAnswer SdlPlatform::ShowMessage(const char* title, const char* text,
                                       MessageButtons buttons, MessageIcon icon) {
  const bool yesNo = buttons == MessageButtons::YesNo;
  const bool saveOrQuit = buttons == MessageButtons::SaveElsewhereOrQuit;
  // Where no dialog can be shown, a question takes its safe answer; with no one to choose
  // a file, quitting is all there is.
  const MessageAnswer closed = yesNo ? MessageAnswer::No : saveOrQuit ? MessageAnswer::Quit : MessageAnswer::Ok;
  if (!EnsureGtk()) {
    std::fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
    return closed;
  }
  const GtkButtonsType shown = yesNo ? GTK_BUTTONS_YES_NO : saveOrQuit ? GTK_BUTTONS_NONE : GTK_BUTTONS_OK;
  GtkWidget* dialog =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, DialogType(icon), shown, "%s", text ? text : "");
  if (saveOrQuit) {
    gtk_dialog_add_buttons(GTK_DIALOG(dialog), _(QuitWithoutSavingLabel), GTK_RESPONSE_REJECT, _(SaveElsewhereLabel),
                           GTK_RESPONSE_ACCEPT, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
  }
  gtk_window_set_title(GTK_WINDOW(dialog), title ? title : "");
  if (const char* name = IconName(icon)) {
    GtkWidget* image = gtk_image_new_from_icon_name(name, GTK_ICON_SIZE_DIALOG);
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(dialog), image);
    G_GNUC_END_IGNORE_DEPRECATIONS
    gtk_widget_show(image);
  }
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  MakeTransientForMain(GTK_WINDOW(dialog));
  gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  // Closed by Escape or its frame, the box that stands between the player and a lost game comes back.
  while (saveOrQuit && response != GTK_RESPONSE_ACCEPT && response != GTK_RESPONSE_REJECT)
    response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  DrainGtk();
  DiscardInputBehindModal();
  if (response == GTK_RESPONSE_YES) return MessageAnswer::Yes;
  if (response == GTK_RESPONSE_NO) return MessageAnswer::No;
  if (response == GTK_RESPONSE_ACCEPT) return MessageAnswer::SaveElsewhere;
  if (response == GTK_RESPONSE_REJECT) return MessageAnswer::Quit;
  return closed;
}

bool SdlPlatform::ChooseFileToSave(const char* title, const std::string& suggestedName, std::string& path) {
  if (!EnsureGtk()) return false;
  GtkWidget* chooser = gtk_file_chooser_dialog_new(title, nullptr, GTK_FILE_CHOOSER_ACTION_SAVE, _(CancelLabel),
                                                   GTK_RESPONSE_CANCEL, _(SaveLabel), GTK_RESPONSE_ACCEPT, nullptr);
  gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(chooser), TRUE);
  gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), g_get_home_dir());
  gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser), suggestedName.c_str());
  gtk_window_set_position(GTK_WINDOW(chooser), GTK_WIN_POS_CENTER);
  gtk_window_set_keep_above(GTK_WINDOW(chooser), TRUE);
  MakeTransientForMain(GTK_WINDOW(chooser));
  return RunFileChooser(chooser, path);
}

}  // namespace rq
