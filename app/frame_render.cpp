// The render callback: the map border, the scene, the panels, the link and
// help labels with their overlay, and last the candidate tours, whose
// lengths are measured here for the next frame's evolution step.
#include <cmath>
#include <cstdio>

#include "app/config.h"
#include "app/frame.h"
#include "app/program.h"

namespace {

constexpr uint32_t WHITE = 0xFFFFFFFF;
constexpr uint32_t YELLOW = 0xFFFFFF00;
constexpr uint32_t LIGHT_GREY = 0xFFC0C0C0;
constexpr uint32_t SEPARATOR = 0x80FFFFFF;

// Rows of the bottom strip and of the overlay, from the map's edges and
// centre.
constexpr float LABEL_Y = MAP_HEIGHT - 15;     // 945
constexpr float UNDERLINE_Y = MAP_HEIGHT - 2;  // 958
constexpr float CENTRE_X = MAP_WIDTH * 0.5f;   // 480
constexpr float CENTRE_Y = MAP_HEIGHT * 0.5f;  // 480

// A format's "%" signs doubled, so a text can be put into a format as is.
std::string EscapePercent(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    out += *p;
    if (*p == '%') out += '%';
  }
  return out;
}

std::string Format(const char* format, const char* argument) {
  int size = std::snprintf(nullptr, 0, format, argument);
  if (size <= 0) return std::string();
  std::string out(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), format, argument);
  out.resize(static_cast<size_t>(size));
  return out;
}

hgeSprite* LogoSprite() {
  if (!LogoObject || !LogoObject->graphics) return nullptr;
  return LogoObject->graphics->sprite;
}

}  // namespace

const std::string& CreditsFormat() {
  // Thanks, a blank line, the engine, the credits to the maker's host
  // (SITE_HOST_FORMAT brings the one "%s"), a blank line, the maker.
  static const std::string format =
      std::string("Thank you for trying this little demonstration!\n") + "\n" +
      "Graphics engine: HGE by Relish Games\n" +
      "Theme, development and design: " + SITE_HOST_FORMAT + " and the authors of " +
      EscapePercent(PROGRAM_NAME) + "\n" + "\n" + "Made with care by " + EscapePercent(SITE_NAME);
  return format;
}

std::string CreditsText() {
  return Format(CreditsFormat().c_str(), SITE_NAME);
}

std::string SiteHostLabel() {
  return Format(SITE_HOST_FORMAT, SITE_NAME);
}

void DrawLine(hgeEngine* engine, uint32_t colour, float x1, float y1, float x2, float y2, float z) {
  if (engine) engine->Gfx_RenderLine(x1, y1, x2, y2, colour, z);
}

double PointDistance(float x1, float y1, float x2, float y2) {
  const float dx = x2 - x1;
  const float dy = y2 - y1;
  return std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
}

void DrawTours() {
  if (!MainScene) return;
  NamedList<TARN_OBJECT>* houses = MainScene->CollectObjectsToList("qbuilding", false, nullptr);
  const int n = houses ? houses->Count() : 0;
  if (n >= 2) {
    const int m = MainScene->CollectObjects("qpath", false, nullptr);
    int shortest = -1;
    float shortestLength = 0.0f;
    for (int i = 0; i < m; ++i) {
      TARN_OBJECT* object = MainScene->GetResult(i);
      QPATHDATA* entry = object ? static_cast<QPATHDATA*>(object->owner) : nullptr;
      if (!entry) continue;
      bool drawn = true;
      uint32_t colour = TOUR_FAINT_COLOUR;
      if (object == World.highlighted) {
        colour = entry->best ? TOUR_BEST_COLOUR : TOUR_HIGHLIGHT_COLOUR;
      } else if (World.highlighted) {
        drawn = false;  // another candidate's tour is shown alone
      }
      float length = 0.0f;
      for (int j = 0; j < n; ++j) {
        // Genes name houses by position; one that names none (a stale tour)
        // adds no segment rather than reading past the list.
        const TARN_OBJECT* a = houses->Object(entry->genes.GetGene(j));
        const TARN_OBJECT* b = houses->Object(entry->genes.GetGene((j + 1) % n));
        if (!a || !b) continue;
        if (drawn) DrawLine(Engine, colour, a->x, a->y, b->x, b->y, 0.0f);
        length = static_cast<float>(length + PointDistance(a->x, a->y, b->x, b->y));
      }
      entry->length = length;
      entry->best = 0;
      // Ties go to the later candidate in result order.
      if (shortest < 0 || length <= shortestLength) {
        shortest = i;
        shortestLength = length;
      }
    }
    if (shortest >= 0) {
      TARN_OBJECT* object = MainScene->GetResult(shortest);
      if (object && object->owner) static_cast<QPATHDATA*>(object->owner)->best = 1;
    }
  }
  delete houses;
}

bool FrameRender() {
  if (!Engine) return false;
  float mx = 0.0f, my = 0.0f;
  Engine->Input_GetMousePos(&mx, &my);
  const bool over = Engine->Input_IsMouseOver();

  Engine->Gfx_BeginScene(0);
  Engine->Gfx_Clear(0);
  DrawLine(Engine, SEPARATOR, MAP_WIDTH, 0, MAP_WIDTH, MAP_HEIGHT, 0);
  if (MainScene) MainScene->Render(0, 0, 0, 0);
  CandidatePanel.Draw();
  SystemPanel.Draw();

  const bool help = over && InHelpLabel(mx, my);
  if (SmallFont) {
    SmallFont->SetTextColor(over && InLeftLink(mx, my) ? YELLOW : WHITE);
    SmallFont->DrawFormatted(5, LABEL_Y, TEXT_LEFT, SITE_HOST_FORMAT, SITE_NAME);
    DrawLine(Engine, WHITE, 5, UNDERLINE_Y, 117, UNDERLINE_Y, 0);

    SmallFont->SetTextColor(over && InRightLink(mx, my) ? YELLOW : WHITE);
    SmallFont->DrawFormatted(MAP_WIDTH - 5, LABEL_Y, TEXT_RIGHT, "%s", ENGINE_LINK_LABEL);
    DrawLine(Engine, WHITE, MAP_WIDTH - 95, UNDERLINE_Y, MAP_WIDTH - 5, UNDERLINE_Y, 0);

    SmallFont->SetTextColor(help ? YELLOW : WHITE);
    SmallFont->DrawFormatted(CENTRE_X, LABEL_Y, TEXT_CENTER, "%s", HELP_LABEL);
  }
  if (help) {
    if (BigFont) {
      BigFont->SetTextColor(LIGHT_GREY);
      BigFont->DrawFormatted(CENTRE_X, CENTRE_Y + 40, TEXT_CENTER, "%s", PROGRAM_NAME);
    }
    if (SmallFont) {
      SmallFont->SetTextColor(LIGHT_GREY);
      SmallFont->DrawFormatted(CENTRE_X, CENTRE_Y + 68, TEXT_CENTER, "%s", HELP_TEXT);
    }
  }
  if ((help || LogoObject) && SmallFont) {
    // Without the help the credits show only with the logo, in its colour.
    hgeSprite* logo = LogoSprite();
    SmallFont->SetTextColor(!help && logo ? logo->GetColor(0) : LIGHT_GREY);
    SmallFont->DrawFormatted(CENTRE_X, CENTRE_Y + 260, TEXT_CENTER, CreditsFormat().c_str(),
                             SITE_NAME);
  }

  DrawTours();
  Engine->Gfx_EndScene();
  return false;
}
