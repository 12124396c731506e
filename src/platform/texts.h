// Marks the program's own texts for the catalogues in po/ (xgettext finds them by these
// names). A text the player reads goes through _() where it is shown; one kept as a named
// constant is marked with N_() where it is defined and goes through _() where it is shown.
// What other programs read (the files, PGN) is never marked; a reason the rules or the file
// checks give is marked where it is defined, printed in English by the engine and the tool,
// and looked up only where the game shows it.
#pragma once

#include <libintl.h>

#include "rules/marked_text.h"

// The text in the interface language; the English text itself where no catalogue has it.
#define _(text) gettext(text)
