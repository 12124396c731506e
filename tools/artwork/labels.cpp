#include "labels.h"

#include <libintl.h>

#include <cstdio>

#include "platform/texts.h"

namespace rq::art {

namespace {

// The English texts, marked for the catalogues, in the order of Words.
const char* const Texts[] = {
    // TRANSLATORS: a label of the command menu, drawn in capitals where the script has them,
    // under a round button about 40 pixels wide: a short word or two characters.
    N_("UNDO"),
    // TRANSLATORS: a menu label under a round button about 40 pixels wide.
    N_("REDO"),
    // TRANSLATORS: a menu label about 58 pixels wide.
    N_("SETTINGS"),
    // TRANSLATORS: a menu label under the question mark, about 40 pixels wide.
    N_("HELP"),
    // TRANSLATORS: a menu label on the new-game button, one or two lines about 54 pixels wide.
    N_("NEW\nGAME"),
    // TRANSLATORS: a banner across the bottom of the board while a prohibited move is dragged.
    N_("Perpetual check is not allowed"),
    // TRANSLATORS: a banner across the bottom of the board.
    N_("Perpetual chase of an unprotected piece is not allowed"),
    // TRANSLATORS: a banner across the bottom of the board.
    N_("This repetition ends the game in a draw"),
};
constexpr int TextCount = sizeof Texts / sizeof Texts[0];

// UTF-8 to code points; the texts are our own, so no invalid sequence is looked for.
std::u32string Decode(const std::string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? c : c & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + k < s.size(); ++k) code = (code << 6) | (s[i + k] & 0x3F);
    out += code;
    i += length;
  }
  return out;
}

// Lines of a text, split at its newlines.
std::vector<std::u32string> Lines(const std::u32string& text) {
  std::vector<std::u32string> lines(1);
  for (char32_t c : text) {
    if (c == U'\n') lines.emplace_back();
    else lines.back() += c;
  }
  return lines;
}

Words Make(const Font& font, float scale, const char* (*look)(const char*)) {
  Words w{&font, scale, Decode(look(Texts[0])), Decode(look(Texts[1])), Decode(look(Texts[2])),
          Decode(look(Texts[3])), Lines(Decode(look(Texts[4]))), {}};
  for (int i = 0; i < 3; ++i) w.banners[i] = Decode(look(Texts[5 + i]));
  return w;
}

const char* Same(const char* text) { return text; }
const char* Translated(const char* text) { return gettext(text); }

// A text on one line of the manifest.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

}  // namespace

Words EnglishWords(const Font& font) { return Make(font, 1.0f, Same); }

Words WordsIn(Language language, const Font& font, float scale) {
  UseLanguage(language);
  Words w = Make(font, scale, Translated);
  UseLanguage(Language::English);
  return w;
}

std::string WordsManifest(Language language) {
  UseLanguage(language);
  std::string manifest;
  for (int i = 0; i < TextCount; ++i)
    manifest += std::string(LanguageFolder(language)) + "\t" + Escaped(Texts[i]) + "\t" + Escaped(gettext(Texts[i])) + "\n";
  UseLanguage(Language::English);
  return manifest;
}

bool FontHasWords(const Words& words, std::string& missing) {
  std::u32string all = words.undo + words.redo + words.settings + words.help;
  for (const auto& line : words.newGame) all += line;
  for (const auto& banner : words.banners) all += banner;
  missing.clear();
  for (char32_t c : all)
    if (c != U' ' && !words.font->Has(c)) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X ", static_cast<unsigned>(c));
      missing += code;
    }
  return missing.empty();
}

}  // namespace rq::art
