// The asset generator: renders the two fonts (glyph sheets and their
// descriptions), the house icon and the logo into <out>/graphics/, the
// layout the resource pack uses.
//
//   qp_make_assets REGULAR.ttf BOLD.ttf OUT_DIR
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/config.h"
#include "tools/artwork.h"
#include "tools/glyph_sheet.h"
#include "tools/image.h"
#include "tools/typeface.h"

namespace {

// Pixels per em. The small font serves every label: its line must stay
// under the 16 px the candidate labels stand apart.
constexpr float BIG_FONT_SIZE = 22.0f;
constexpr float SMALL_FONT_SIZE = 11.0f;
// The widest candidate label the side panel has to hold.
constexpr char WIDEST_LABEL[] = "QPath #12345 G=100 L=012345";

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "qp_make_assets: cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

bool WritePng(const std::filesystem::path& path, const Image& image) {
  std::string png, error;
  if (!EncodePng(image, &png, &error)) {
    std::fprintf(stderr, "qp_make_assets: %s: %s\n", path.string().c_str(), error.c_str());
    return false;
  }
  return WriteFile(path, png);
}

bool MakeFont(const std::string& ttf, float size, const std::filesystem::path& dir,
              const std::string& stem) {
  Typeface face;
  GlyphSheet sheet;
  std::string error;
  if (!face.Open(ttf, &error) || !face.SetPixelSize(size, &error) ||
      !BuildGlyphSheet(face, &sheet, &error)) {
    std::fprintf(stderr, "qp_make_assets: %s: %s\n", stem.c_str(), error.c_str());
    return false;
  }
  std::printf("%s: %g px, line height %d (ascent %d), %zu glyphs on %d x %d, \"%s\" %d px\n",
              stem.c_str(), size, sheet.lineHeight, sheet.ascent, sheet.cells.size(),
              sheet.image.width, sheet.image.height, WIDEST_LABEL, sheet.MeasureLine(WIDEST_LABEL));
  return WritePng(dir / (stem + ".png"), sheet.image) &&
         WriteFile(dir / (stem + ".fnt"), sheet.Description(stem + ".png"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: qp_make_assets REGULAR.ttf BOLD.ttf OUT_DIR\n");
    return 2;
  }
  const std::string regular = argv[1], bold = argv[2];
  const std::filesystem::path dir = std::filesystem::path(argv[3]) / "graphics";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "qp_make_assets: cannot create %s: %s\n", dir.string().c_str(),
                 ec.message().c_str());
    return 1;
  }

  if (!MakeFont(regular, BIG_FONT_SIZE, dir, "font")) return 1;
  if (!MakeFont(regular, SMALL_FONT_SIZE, dir, "fontsmall")) return 1;

  if (!WritePng(dir / "building.png", DrawHouseIcon())) return 1;

  Typeface wordFace, tagFace;
  std::string error;
  if (!wordFace.Open(bold, &error) || !tagFace.Open(regular, &error)) {
    std::fprintf(stderr, "qp_make_assets: logo: %s\n", error.c_str());
    return 1;
  }
  char host[128];
  std::snprintf(host, sizeof host, SITE_HOST_FORMAT, SITE_NAME);
  std::string lower = host;
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  Image logo;
  if (!DrawLogo(wordFace, tagFace, SITE_NAME, lower, &logo, &error)) {
    std::fprintf(stderr, "qp_make_assets: logo: %s\n", error.c_str());
    return 1;
  }
  if (!WritePng(dir / "pelmora.png", logo)) return 1;
  return 0;
}
