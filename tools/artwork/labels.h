// The words drawn into the pictures: the command menu's labels and the three explanation
// banners, in English and, from the game's catalogues, in each interface language.
#pragma once

#include <string>
#include <vector>

#include "platform/language.h"
#include "text.h"

namespace rq::art {

struct Words {
  const Font* font;  // the face that has every character of them
  float scale;       // of the English sizes: CJK characters need more pixels to read
  std::u32string undo, redo, settings, help;
  std::vector<std::u32string> newGame;  // one line or two
  std::u32string banners[3];            // perpetual check, perpetual chase, the drawing repetition
};

// The English words, and every UTF-8 text as drawn, for the check of the catalogues.
Words EnglishWords(const Font& font);

// The words in `language`, from the catalogues bound with BindCatalogs; `font` must have them.
Words WordsIn(Language language, const Font& font, float scale);

// Each word's English text and its text in `language`, a line each: "LANG\tENGLISH\tDRAWN",
// with a newline inside a text written as \n.
std::string WordsManifest(Language language);

// Whether `font` has a glyph for every character of `words`; says which it lacks.
bool FontHasWords(const Words& words, std::string& missing);

}  // namespace rq::art
