// TARNGUI_PART: measuring a text of several lines, placing it by its
// alignment flags and drawing it (or the part's image) in the colour that
// matches the item's state.
#include "gui/part.h"

#include <cmath>

namespace {

// Bytes of code 32 and below count as blanks at the ends of a line.
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

std::string TrimBlanks(const std::string& line) {
  size_t begin = 0;
  size_t end = line.size();
  while (begin < end && IsBlank(line[begin])) ++begin;
  while (end > begin && IsBlank(line[end - 1])) --end;
  return line.substr(begin, end - begin);
}

}  // namespace

TARNGUI_PART::TARNGUI_PART() {
  acceptedChars.reserve(224);
  for (int code = 32; code <= 255; ++code) acceptedChars.push_back(static_cast<char>(code));
}

TARNGUI_PART::~TARNGUI_PART() {
  delete image;
}

void TARNGUI_PART::Setup(float x, float y, const std::string& text, hgeFont* font, int align,
                         uint32_t colorNormal, uint32_t colorHighlight, uint32_t colorDisabled) {
  if (!font) return;
  this->x = x;
  this->y = y;
  highlighted = false;
  editable = false;
  focused = false;
  this->text = text;
  this->font = font;
  this->colorNormal = colorNormal;
  this->colorHighlight = colorHighlight;
  this->colorDisabled = colorDisabled;
  this->align = align;
  MeasureText(text, font, &width, &height);
}

int TARNGUI_PART::MeasureText(const std::string& text, hgeFont* font, float* width, float* height) {
  if (!font) return 0;
  font->SetDrawScale(1.0f);

  int lines = 1;
  float widest = 0.0f;
  std::string line;
  auto measureLine = [&]() {
    float w = font->MeasureLine(TrimBlanks(line).c_str());
    if (w > widest) widest = w;
    line.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      ++lines;
      // CR LF and LF CR are one break; CR CR and LF LF are two.
      if (i + 1 < text.size()) {
        char next = text[i + 1];
        if ((c == '\r' && next == '\n') || (c == '\n' && next == '\r')) ++i;
      }
      measureLine();
    } else {
      line.push_back(c);
    }
  }
  measureLine();

  float h = font->GetLineHeight() * static_cast<float>(lines);
  if (width) *width = widest * scale;
  if (height) *height = h * scale;
  return lines;
}

void TARNGUI_PART::UpdateSize() {
  MeasureText(text, font, &width, &height);
}

hgeRect TARNGUI_PART::GetBounds() const {
  float w, h;
  if (image) {
    w = image->GetWidth() * scale;
    h = image->GetHeight() * scale;
  } else if (font) {
    w = width;
    h = height;
  } else {
    return hgeRect(0, 0, 0, 0);
  }
  float x1 = x, y1 = y, x2 = x + w, y2 = y + h;
  if (align & TEXT_RIGHT) {
    x1 -= w;
    x2 -= w;
  } else if (align & TEXT_CENTER) {
    x1 -= w * 0.5f;
    x2 -= w * 0.5f;
  }
  if (align & TEXT_BOTTOM) {
    y1 -= h;
    y2 -= h;
  } else if (align & TEXT_MIDDLE) {
    y1 -= h * 0.5f;
    y2 -= h * 0.5f;
  }
  return hgeRect(x1, y1, x2, y2);
}

void TARNGUI_PART::Draw(float dx, float dy, bool enabled) {
  if (image) {
    uint32_t colour = !enabled ? colorDisabled : highlighted ? colorHighlight : colorNormal;
    image->SetColor(colour, -1);
    image->RenderTransformed(x + dx, y + dy, 0.0f, scale, 0.0f);
    return;
  }
  if (!font) return;

  font->SetDrawScale(scale);
  uint32_t colour;
  if (!enabled)
    colour = colorDisabled;
  else if (highlighted || (editable && focused))
    colour = colorHighlight;
  else
    colour = colorNormal;
  font->SetTextColor(colour);

  // Whole pixels, cut towards zero: a height of 15 in the middle lifts by 7.
  float offset = 0.0f;
  if (align & TEXT_BOTTOM)
    offset = std::trunc(-height);
  else if (align & TEXT_MIDDLE)
    offset = std::trunc(-height * 0.5f);

  float px = std::floor(x + dx);
  float py = std::floor(y + dy) + offset;
  // Through "%s" so that a "%" in the text is drawn, not interpreted.
  font->DrawFormatted(px, py, align, "%s", text.c_str());

  if (editable && text.empty()) {
    // An empty edit field shows three dots.
    font->DrawString(std::floor(x + dx - 3.0f), py, align, ".");
    font->DrawString(std::floor(x + dx), py, align, ".");
    font->DrawString(std::floor(x + dx + 3.0f), py, align, ".");
  }
}
