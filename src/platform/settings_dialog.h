// The settings dialog in GTK 3, built from the layout in resources/settings.ui, which the
// build embeds into the program.
#pragma once

#include "platform/platform.h"

typedef struct _GtkBuilder GtkBuilder;
typedef struct _GtkWidget GtkWidget;

namespace rq {

// resources/settings.ui, NUL-terminated.
extern const char SettingsDialogLayout[];

struct SettingsDialog {
  GtkBuilder* builder = nullptr;
  GtkWidget* dialog = nullptr;
};

// Builds the dialog and shows `values` in it; false when GTK cannot build the layout.
bool BuildSettingsDialog(const SettingsValues& values, SettingsDialog& dialog);

// Takes over what the dialog shows, as its OK button does.
void ReadSettingsDialog(const SettingsDialog& dialog, SettingsValues& values);

// Runs the dialog's modal loop; true when it was closed with OK.
bool RunSettingsDialogModal(SettingsDialog& dialog);

// Destroys the dialog and its builder.
void DestroySettingsDialog(SettingsDialog& dialog);

}  // namespace rq
