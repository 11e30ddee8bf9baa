// Definition order is initialisation order: the panels, the frame timing,
// the genome (named after the program), the world. Clean-up runs in reverse.
#include "app/config.h"

TARNGUI CandidatePanel;
TARNGUI SystemPanel;

const float FRAME_TIME = 1.0f / FRAME_RATE;
const float INPUT_DELAY = 0.35f / FRAME_TIME;

QUEN_GENOM TemplateGenome(PROGRAM_NAME);
QPATH World;

hgeEngine* Engine = nullptr;
TARN* MainScene = nullptr;
hgeFont* BigFont = nullptr;
hgeFont* SmallFont = nullptr;
TARN_OBJECT* LogoObject = nullptr;
float FrameClock = 0.0f;
float NextInputTime = 0.0f;
float LogoFadeStep = 0.001f;
