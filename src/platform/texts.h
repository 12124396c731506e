// Marks the program's own texts for the catalogues in po/ (xgettext finds them by these
// names). A text the player reads goes through _() where it is shown; one kept as a named
// constant is marked with N_() where it is defined and goes through _() where it is shown.
// What other programs read (the files, the engine's and the tool's output) is never marked.
#pragma once

#include <libintl.h>

#include "rules/marked_text.h"

// The text in the interface language; the English text itself where no catalogue has it.
#define _(text) gettext(text)
