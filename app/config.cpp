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

std::string PackPassword() {
  // Assembled from single characters so the word never stands in the binary.
  std::string password;
  password += static_cast<char>('P' + 1);
  password += static_cast<char>('0' + 7);
  password += static_cast<char>('K' - 1);
  password += static_cast<char>('X' + 1);
  return password;  // "Q7JY"
}
