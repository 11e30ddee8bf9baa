// The per-frame callbacks' steps: input handling and the logo fade of the
// frame update, and the drawing, overlays and tour measuring of the render.
// FrameUpdate and FrameRender themselves are declared in app/program.h.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/engine.h"

// ---- Frame update -----------------------------------------------------------

// Hovering a label selects its candidate's tour; clicks on labels only take
// the hold-off.
void HandleCandidatePanel(float mx, float my);
// Clicks on the SYSTEM panel; true when Ouit was chosen.
bool HandleSystemPanel(float mx, float my);
// Fades the start-up logo and the credits with it.
void UpdateLogoFade();

// The link areas along the bottom of the map (open intervals): the maker's
// page on the left, the engine maker's on the right. Shared by the click
// test and the hover colour of the labels.
bool InLeftLink(float mx, float my);
bool InRightLink(float mx, float my);
bool InHelpLabel(float mx, float my);

// ---- Frame render -----------------------------------------------------------

// Draws every candidate's tour, stores each closed tour's length in its entry
// and marks the shortest candidate best.
void DrawTours();
// A line through the engine, if there is one.
void DrawLine(hgeEngine* engine, uint32_t colour, float x1, float y1, float x2, float y2, float z);
// Euclidean distance: differences in single precision, the root in double.
double PointDistance(float x1, float y1, float x2, float y2);

// Tour colours: the highlighted tour in cyan when it is the shortest, yellow
// otherwise; every tour in faint yellow when none is highlighted.
inline constexpr uint32_t TOUR_BEST_COLOUR = 0xFF00FFFF;
inline constexpr uint32_t TOUR_HIGHLIGHT_COLOUR = 0xFFFFFF00;
inline constexpr uint32_t TOUR_FAINT_COLOUR = 0x10FFFF00;

// Texts of the overlays.
std::string SiteHostLabel();  // the left link label
inline constexpr char ENGINE_LINK_LABEL[] = "HGE Relish Games";
inline constexpr char HELP_LABEL[] = "Help & Credits";
inline constexpr char HELP_TEXT[] =
    "(Travelling salesman problem)\n\nHelp\n\nLeft mouse - add house.\nRight mouse - delete "
    "house.\nF - find path (step).\n";
// The credits: six lines with one "%s", which CreditsText fills with
// SITE_NAME.
const std::string& CreditsFormat();
std::string CreditsText();
