// hgeFont: reading the "[HGEFONT]" description, measuring and drawing text.
//
// The reader takes any bytes: it never reads or writes past its buffers and
// makes no glyph out of a line it cannot fully match.
#include "gfx/font.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

hgeEngine* hgeFont::engine = nullptr;

namespace {

constexpr size_t LINE_CAPACITY = 256;  // 255 characters and the zero
constexpr size_t PATH_LIMIT = 259;     // longest texture path that is loaded
constexpr int QUESTION_MARK = 63;

// White space as scanf sees it in the "C" locale.
bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

const char* SkipSpace(const char* p) {
  while (IsSpace(*p)) ++p;
  return p;
}

// Copies the line at `p` into `line` (cut at 255 characters, the rest of it
// skipped) and returns where the next line starts: after the run of CR and
// LF that ends this one.
const char* ReadLine(const char* p, char (&line)[LINE_CAPACITY]) {
  size_t n = 0;
  while (*p && *p != '\r' && *p != '\n') {
    if (n < LINE_CAPACITY - 1) line[n++] = *p;
    ++p;
  }
  line[n] = '\0';
  while (*p == '\r' || *p == '\n') ++p;
  return p;
}

// scanf's "%d": optional white space, an optional sign, at least one digit.
// Values beyond the int range saturate instead of overflowing.
bool ReadInt(const char*& p, int& value) {
  const char* q = SkipSpace(p);
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  if (*q < '0' || *q > '9') return false;
  long long magnitude = 0;
  for (; *q >= '0' && *q <= '9'; ++q) {
    if (magnitude <= 2147483648LL) magnitude = magnitude * 10 + (*q - '0');
  }
  if (negative) {
    value = magnitude >= 2147483648LL ? -2147483647 - 1 : static_cast<int>(-magnitude);
  } else {
    value = magnitude >= 2147483647LL ? 2147483647 : static_cast<int>(magnitude);
  }
  p = q;
  return true;
}

// " , %d , %d , %d , %d , %d , %d": true only when all six are there.
bool ReadSixNumbers(const char* p, int (&values)[6]) {
  for (int& value : values) {
    p = SkipSpace(p);
    if (*p != ',') return false;
    ++p;
    if (!ReadInt(p, value)) return false;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The character code after the "=" of a Char line: a quoted byte or a run of
// hexadecimal digits. Returns -1 when the line must be ignored; `p` moves
// past the code.
int ReadCharCode(const char*& p) {
  while (*p == ' ') ++p;
  if (*p == '"') {
    if (p[1] == '\0') return -1;  // the line ends inside the quotes
    int code = static_cast<unsigned char>(p[1]);
    p += 2;
    if (*p) ++p;  // the closing byte, whatever it is
    return code;
  }
  // Bits shifted out at the top are lost, as in a 32-bit register.
  uint32_t bits = 0;
  for (int d; (d = HexDigit(*p)) >= 0; ++p) bits = (bits << 4) | static_cast<uint32_t>(d);
  int32_t code = static_cast<int32_t>(bits);
  return (code < 0 || code > 255) ? -1 : code;
}

}  // namespace

hgeFont::hgeFont(const char* filename) {
  engine = hgeCreate(ENGINE_VERSION);
  buffer[0] = '\0';
  if (!engine || !filename) return;
  uint32_t size = 0;
  void* data = engine->Resource_Load(filename, &size);
  if (!data) return;
  // The reader needs a terminated text; the engine's bytes need not be.
  char* text = new (std::nothrow) char[static_cast<size_t>(size) + 1];
  if (text) {
    std::memcpy(text, data, size);
    text[size] = '\0';
  }
  engine->Resource_Free(data);
  if (!text) return;
  ReadDescription(filename, text);
  delete[] text;
}

hgeFont::~hgeFont() {
  for (hgeSprite*& glyph : glyphs) {
    delete glyph;
    glyph = nullptr;
  }
  if (engine) {
    if (texture) engine->Texture_Free(texture);
    for (int i = 0; i < retiredCount; ++i) engine->Texture_Free(retired[i]);
    engine->Release();
  }
}

void hgeFont::ReadDescription(const char* name, const char* text) {
  char line[LINE_CAPACITY];
  const char* p = ReadLine(text, line);
  if (std::strcmp(line, "[HGEFONT]") != 0) {
    engine->System_Log("Font %s has incorrect format.", name);
    return;
  }
  while (*p) {
    p = ReadLine(p, line);
    if (std::strncmp(line, "Bitmap", 6) == 0) {
      const char* q = SkipSpace(line + 6);
      if (*q != '=') continue;
      q = SkipSpace(q + 1);
      if (!*q) continue;  // no file name
      char file[LINE_CAPACITY];
      size_t n = 0;
      while (*q && !IsSpace(*q)) file[n++] = *q++;
      file[n] = '\0';
      if (!LoadBitmap(name, file)) return;
    } else if (std::strncmp(line, "Char", 4) == 0) {
      const char* q = std::strchr(line, '=');
      if (!q) continue;
      ++q;
      int code = ReadCharCode(q);
      int v[6];
      if (code < 0 || !ReadSixNumbers(q, v)) continue;
      SetGlyph(code, v[0], v[1], v[2], v[3], v[4], v[5]);
    }
  }
}

bool hgeFont::LoadBitmap(const char* name, const char* file) {
  // The texture lives beside the description: keep its directory part.
  const char* slash = std::strrchr(name, '\\');
  if (!slash) slash = std::strrchr(name, '/');
  size_t dirLength = slash ? static_cast<size_t>(slash - name) + 1 : 0;
  size_t fileLength = std::strlen(file);
  HTEXTURE loaded = 0;
  if (dirLength + fileLength <= PATH_LIMIT) {
    char path[PATH_LIMIT + 1];
    std::memcpy(path, name, dirLength);
    std::memcpy(path + dirLength, file, fileLength + 1);
    loaded = engine->Texture_Load(path, 0, false);
  }
  DropTexture(texture);
  texture = loaded;
  return loaded != 0;
}

void hgeFont::DropTexture(HTEXTURE old) {
  if (!old) return;
  for (const hgeSprite* glyph : glyphs) {
    if (glyph && glyph->GetTexture() == old) {
      if (retiredCount < 256) {
        retired[retiredCount++] = old;
        return;
      }
      break;  // cannot happen: every retired texture holds a distinct glyph
    }
  }
  engine->Texture_Free(old);
}

void hgeFont::SetGlyph(int code, int x, int y, int w, int h, int before, int after) {
  hgeSprite* glyph =
      new (std::nothrow) hgeSprite(texture, static_cast<float>(x), static_cast<float>(y),
                                   static_cast<float>(w), static_cast<float>(h));
  if (!glyph) return;
  hgeSprite* old = glyphs[code];
  glyphs[code] = glyph;
  pre[code] = static_cast<float>(before);
  post[code] = static_cast<float>(after);
  if (static_cast<float>(h) > height) height = static_cast<float>(h);
  if (!old) return;
  HTEXTURE oldTexture = old->GetTexture();
  delete old;
  // The replaced glyph may have been the last user of a retired texture.
  for (int i = 0; i < retiredCount; ++i) {
    if (retired[i] != oldTexture) continue;
    for (const hgeSprite* g : glyphs) {
      if (g && g->GetTexture() == oldTexture) return;
    }
    engine->Texture_Free(oldTexture);
    retired[i] = retired[--retiredCount];
    return;
  }
}

int hgeFont::GlyphIndex(unsigned char code) const {
  if (glyphs[code]) return code;
  if (glyphs[QUESTION_MARK]) return QUESTION_MARK;
  return -1;
}

float hgeFont::MeasureLine(const char* text) const {
  if (!text) return 0.0f;
  float width = 0.0f;
  for (const char* p = text; *p && *p != '\n'; ++p) {
    int g = GlyphIndex(static_cast<unsigned char>(*p));
    if (g < 0) continue;
    width += glyphs[g]->GetWidth() + pre[g] + post[g] + tracking;
  }
  return width * scale;
}

float hgeFont::LineStart(float x, int align, const char* line) const {
  if (align == TEXT_RIGHT) return x - MeasureLine(line);
  if (align == TEXT_CENTER) return x - std::trunc(MeasureLine(line) * 0.5f);
  return x;
}

void hgeFont::DrawString(float x, float y, int align, const char* text) {
  if (!text) return;
  align &= 3;
  float cx = LineStart(x, align, text);
  for (const char* p = text; *p; ++p) {
    if (*p == '\n') {
      y += std::trunc(height * scale * spacing);
      cx = LineStart(x, align, p + 1);
      continue;
    }
    int g = GlyphIndex(static_cast<unsigned char>(*p));
    if (g < 0) continue;
    cx += pre[g] * scale;
    glyphs[g]->RenderTransformed(cx, y, rotation, scale, 0.0f);
    cx += (glyphs[g]->GetWidth() + post[g] + tracking) * scale;
  }
}

void hgeFont::DrawFormatted(float x, float y, int align, const char* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (written < 0) buffer[0] = '\0';
  DrawString(x, y, align, buffer);
}

void hgeFont::SetTextColor(uint32_t c) {
  colour = c;
  for (hgeSprite* glyph : glyphs) {
    if (glyph) glyph->SetColor(c, -1);
  }
}
