// Marks an English text that the interface may show in the player's language: po/extract.sh
// finds it by this name, and the interface looks it up with _() where it shows it. The rules
// and the file checks mark their reasons so but never translate: the engine and the tool
// print them in English.
#pragma once

#define N_(text) text
