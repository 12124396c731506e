// Draws the game's artwork into a repository root, the words of the menu and the banners in
// every interface language from the compiled catalogues in CATALOGS (LANG/LC_MESSAGES/):
//   rq_artwork ROOT CATALOGS [--preview FILE.tga]
// Fonts: RQ_CJK_FONT (with RQ_CJK_FACE), RQ_SANS_BOLD_FONT, RQ_SERIF_BOLD_FONT and
// RQ_CJK_SANS_FONT override the Debian paths.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "artwork.h"
#include "preview.h"

namespace {

using namespace rq::art;

std::string FontPath(const char* env, const char* fallback) {
  const char* v = std::getenv(env);
  return v && *v ? v : fallback;
}

// Face 2 of the AR PL UKai collection is the Taiwan face, with traditional forms.
bool OpenFonts(Fonts& f) {
  struct Want {
    Font& font;
    std::string path;
    int face;
    std::u32string needs;
  } wants[] = {
      {f.cjk, FontPath("RQ_CJK_FONT", "/usr/share/fonts/truetype/arphic/ukai.ttc"),
       std::atoi(FontPath("RQ_CJK_FACE", "2").c_str()), U"帥仕相傌俥炮兵將士象馬車砲卒楚河漢界"},
      {f.sansBold,
       FontPath("RQ_SANS_BOLD_FONT", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"), 0,
       U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"},
      {f.serifBold,
       FontPath("RQ_SERIF_BOLD_FONT", "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"), 0,
       U"ACEILNQRUV?"},
      // Noto Sans CJK's faces 2 and 3: the mainland's and Taiwan's forms of the characters.
      {f.sansCjkSimplified, FontPath("RQ_CJK_SANS_FONT", "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"), 2,
       U"悔棋还原新局设置帮助"},
      {f.sansCjkTraditional, FontPath("RQ_CJK_SANS_FONT", "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"), 3,
       U"悔棋還原新局設定說明"},
  };
  bool ok = true;
  for (Want& w : wants) {
    if (!w.font.Open(w.path, w.face)) {
      std::fprintf(stderr, "rq_artwork: cannot open font %s\n", w.path.c_str());
      ok = false;
      continue;
    }
    for (char32_t c : w.needs)
      if (!w.font.Has(c)) {
        std::fprintf(stderr, "rq_artwork: %s has no glyph U+%04X\n", w.path.c_str(),
                     static_cast<unsigned>(c));
        ok = false;
      }
  }
  return ok;
}

bool WriteBytes(const std::filesystem::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// Writes a text file as it is, with no line-end translation.
bool WriteText(const std::filesystem::path& p, const std::string& text) {
  return WriteBytes(p, std::vector<uint8_t>(text.begin(), text.end()));
}

// The sizes desktops look for in the hicolor theme.
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The desktop icon at every theme size as PNG, and as SVG, into `dir`.
bool WriteIcons(const std::filesystem::path& dir, const Fonts& fonts) {
  bool ok = true;
  for (int size : kIconSizes) {
    const std::vector<uint8_t> png = EncodePng(DrawIcon(fonts, size));
    ok = !png.empty() && WriteBytes(dir / ("ravenquill-" + std::to_string(size) + ".png"), png) && ok;
  }
  return WriteText(dir / "ravenquill.svg", MakeIconSvg(fonts)) && ok;
}

bool WriteTga(const std::filesystem::path& p, const Canvas& c, int components) {
  rq::TgaImage img = c.ToTga(components);
  return rq::WriteTgaImage(p.string().c_str(), img);
}

// The interface languages besides English, each with its own set of the words' pictures.
constexpr rq::Language kDrawnLanguages[] = {rq::Language::SimplifiedChinese, rq::Language::TraditionalChinese,
                                            rq::Language::Vietnamese, rq::Language::Finnish};

// CJK characters drawn at the English labels' sizes would be too small to read.
constexpr float kCjkScale = 1.35f;

// The set of one interface language: the pieces' atlas with its banners and the menu with its
// labels, under Textures/LANG/, where the game looks first. False when a character has no glyph.
bool WriteLanguage(const std::filesystem::path& root, const Fonts& fonts, rq::Language language) {
  const bool cjk = language == rq::Language::SimplifiedChinese || language == rq::Language::TraditionalChinese;
  const Font& font = language == rq::Language::SimplifiedChinese    ? fonts.sansCjkSimplified
                     : language == rq::Language::TraditionalChinese ? fonts.sansCjkTraditional
                                                                     : fonts.sansBold;
  const Words words = WordsIn(language, font, cjk ? kCjkScale : 1.0f);
  std::string missing;
  if (!FontHasWords(words, missing)) {
    std::fprintf(stderr, "rq_artwork: %s lacks %sfor %s\n", font.Path().c_str(), missing.c_str(),
                 rq::LanguageFolder(language));
    return false;
  }
  const std::filesystem::path dir = root / "Textures" / rq::LanguageFolder(language);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return WriteTga(dir / "Pieces.tga", DrawPieces(fonts, words), 4) &&
         WriteTga(dir / "UI_UpAndDown.tga", DrawMenu(fonts, words), 4);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--preview")) {
    std::fprintf(stderr, "usage: %s ROOT CATALOGS [--preview FILE.tga]\n", argv[0]);
    return 2;
  }
  Fonts fonts;
  if (!OpenFonts(fonts)) return 1;
  rq::BindCatalogs(argv[2]);

  const std::filesystem::path root = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(root / "Textures", ec);
  std::filesystem::create_directories(root / "resources" / "icons", ec);

  const Words english = EnglishWords(fonts.sansBold);
  const Canvas board = DrawBoard(fonts);
  const Canvas pieces = DrawPieces(fonts, english);
  const Canvas ball = DrawCrystalBall();
  const Canvas menu = DrawMenu(fonts, english);

  bool ok = WriteTga(root / "Textures" / "Board.tga", board, 3);
  ok = WriteTga(root / "Textures" / "Pieces.tga", pieces, 4) && ok;
  ok = WriteTga(root / "Textures" / "CrystalBall.tga", ball, 4) && ok;
  ok = WriteTga(root / "Textures" / "UI_UpAndDown.tga", menu, 4) && ok;
  // The words each set was drawn with, for the catalogues' check.
  std::string manifest;
  for (rq::Language language : kDrawnLanguages) {
    ok = WriteLanguage(root, fonts, language) && ok;
    manifest += WordsManifest(language);
  }
  ok = WriteText(root / "tools" / "artwork" / "drawn_words.txt", manifest) && ok;
  ok = WriteBytes(root / "arrowcop.cur", MakeCursorFile()) && ok;
  ok = WriteBytes(root / "resources" / "ravenquill-icon.bmp", MakeIconBmp(fonts)) && ok;
  ok = WriteIcons(root / "resources" / "icons", fonts) && ok;
  if (argc == 5) ok = WriteTga(argv[4], ComposePreview(board, pieces, ball, menu), 3) && ok;
  if (!ok) {
    std::fprintf(stderr, "rq_artwork: writing into %s failed\n", root.string().c_str());
    return 1;
  }
  return 0;
}
