// The backend controls for tools and tests (see backend_control.h).
#include "engine/sdl/backend_control.h"

#include "engine/sdl/backend.h"

namespace backend {

void SetVideoDriver(const std::string& driver) {
  TheBackend().controls.videoDriver = driver;
}
void SetRendererChoice(RendererChoice choice) {
  TheBackend().controls.rendererChoice = choice;
}
bool UsesSoftwareFrame() {
  return TheBackend().renderer.Software();
}
std::string RendererDescription() {
  return TheBackend().renderer.Description();
}
void SetResourceDirectory(const std::string& directory) {
  TheBackend().resources.SetDirectory(directory);
}

void UseManualClock(float seconds) {
  TheBackend().controls.manualDelta = seconds > 0.0f ? seconds : 0.0f;
}

void SetBeforeFrameHook(BeforeFrameHook hook) {
  TheBackend().controls.beforeFrame = std::move(hook);
}
void SetAfterFrameHook(AfterFrameHook hook) {
  TheBackend().controls.afterFrame = std::move(hook);
}
void SetFrameLimit(int frames) {
  TheBackend().controls.frameLimit = frames > 0 ? frames : 0;
}

int RunFrames(int count, bool* ended) {
  if (ended) *ended = false;
  if (count <= 0) return 0;
  return RunFrameLoop(count, ended);
}

void InjectMouseMove(float x, float y) {
  TheBackend().input.Queue({InputState::Injected::MOVE, 0, x, y});
}
void InjectKey(int key, bool down) {
  TheBackend().input.Queue(
      {down ? InputState::Injected::KEY_DOWN : InputState::Injected::KEY_UP, key, 0, 0});
}
void InjectClick(int key) {
  InjectKey(key, true);
  InjectKey(key, false);
}
void InjectMouseOver(bool over) {
  TheBackend().input.Queue(
      {over ? InputState::Injected::OVER : InputState::Injected::OUT, 0, 0, 0});
}
void InjectWindowClose() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_PushEvent(&e);
}

void SetMessageBoxHook(MessageBoxHook hook) {
  TheBackend().controls.messageBox = std::move(hook);
}
void SetProgramStarterHook(ProgramStarterHook hook) {
  TheBackend().controls.programStarter = std::move(hook);
}

void SetFrameCapture(bool on) {
  TheBackend().controls.capture = on;
  TheBackend().renderer.SetCapture(on);
}

bool ReadFrame(std::vector<uint32_t>* pixels, int* width, int* height) {
  if (!pixels || !width || !height) return false;
  return TheBackend().renderer.ReadFrame(pixels, width, height);
}

void SetSkipUnchangedFrames(bool on) {
  TheBackend().controls.skipUnchanged = on;
  TheBackend().renderer.SetSkipUnchanged(on);
}
long long FramesShown() {
  return TheBackend().renderer.FramesShown();
}
long long FramesSkipped() {
  return TheBackend().renderer.FramesSkipped();
}

void ResetControls() {
  Backend& b = TheBackend();
  b.controls = BackendControls();
  b.renderer.SetCapture(false);
  b.renderer.SetSkipUnchanged(true);
  b.resources.SetDirectory("");
  b.input.DropInjected();
}

}  // namespace backend
