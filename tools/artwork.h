// The images drawn in code for the pack: the house icon the map shows for
// every house, and the maker's logo that fades out after start.
#pragma once

#include <string>

#include "tools/image.h"
#include "tools/typeface.h"

constexpr int HOUSE_SIZE = 24;  // square; the program's hot spot is (12, 14)
constexpr int LOGO_WIDTH = 377;
constexpr int LOGO_HEIGHT = 166;

// A small house, roof and walls, opaque where it is the house and
// transparent around it; its body is centred on the hot spot.
Image DrawHouseIcon();

// An emblem (a round trip over a few houses in a ring) beside the word mark
// `name` set in `wordFace`, with `tagline` under it in `tagFace`; white and
// colour on transparent. Changes both faces' sizes.
bool DrawLogo(Typeface& wordFace, Typeface& tagFace, const std::string& name,
              const std::string& tagline, Image* logo, std::string* error);
