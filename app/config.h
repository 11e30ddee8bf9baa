// The program's configuration constants and program-wide objects.
#pragma once

#include <string>

#include "gfx/engine.h"
#include "gfx/font.h"
#include "gui/panel.h"
#include "scene/scene.h"
#include "solver/genome.h"
#include "solver/world.h"

inline constexpr float MAP_WIDTH = 960.0f;
inline constexpr float MAP_HEIGHT = 960.0f;
inline constexpr float PANEL_WIDTH = 240.0f;
inline constexpr int FRAME_RATE = 50;
// One frame unit in seconds (0.02) and the input hold-off in frame units
// (17.5, that is 0.35 s).
extern const float FRAME_TIME;
extern const float INPUT_DELAY;

inline constexpr char PROGRAM_NAME[] = "QuenPath";
inline constexpr char SITE_NAME[] = "Pelmora";
// The left link label is SITE_NAME formatted into the maker's host name.
inline constexpr char SITE_HOST_FORMAT[] = "www.%s.org";
inline constexpr char SITE_URL[] = "https://www.pelmora.org/";
inline constexpr char ENGINE_SITE_URL[] = "http://hge.relishgames.com/";
inline constexpr char PACK_FILE[] = "Graphics.paq";

extern hgeEngine* Engine;
extern TARN* MainScene;
extern hgeFont* BigFont;
extern hgeFont* SmallFont;
extern TARNGUI CandidatePanel;
extern TARNGUI SystemPanel;
extern QUEN_GENOM TemplateGenome;
extern QPATH World;
extern TARN_OBJECT* LogoObject;
extern float FrameClock;
extern float NextInputTime;
extern float LogoFadeStep;
