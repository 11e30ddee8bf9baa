// The fake backend: defines the engine operations, hgeCreate and the two
// OS calls on top of the FakeEngine test double.
#include "tests/support/fake_engine.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gfx/os.h"

struct EngineBackendAccess {
  static hgeEngine* Make() { return new hgeEngine(); }
  static void Destroy(hgeEngine* engine) { delete engine; }
};

namespace {
hgeEngine* g_engine = nullptr;
FakeEngine& F() { return FakeEngine::Get(); }
}  // namespace

FakeEngine& FakeEngine::Get() {
  static FakeEngine fake;
  return fake;
}

std::string FakeEngine::Normalise(const std::string& name) {
  std::string out = name;
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

void FakeEngine::Reset() {
  int refs = refCount;
  int creates = createCount;
  int destroys = destroyCount;
  *this = FakeEngine();
  refCount = refs;
  createCount = creates;
  destroyCount = destroys;
}

void FakeEngine::AddResource(const std::string& name, const std::string& bytes) {
  resources[Normalise(name)] = bytes;
}
void FakeEngine::RemoveResource(const std::string& name) { resources.erase(Normalise(name)); }
void FakeEngine::AddTexture(const std::string& name, int width, int height) {
  textureFiles[Normalise(name)] = {width, height};
}
void FakeEngine::RemoveTexture(const std::string& name) { textureFiles.erase(Normalise(name)); }

std::string FakeEngine::TextureName(HTEXTURE texture) const {
  auto it = liveTextures.find(texture);
  return it == liveTextures.end() ? std::string() : it->second;
}

bool FakeEngine::RunFrame() {
  bool stop = frameFunc ? frameFunc() : false;
  if (renderFunc) renderFunc();
  frameKey = 0;
  return stop;
}

int FakeEngine::RunFrames(int count) {
  int ran = 0;
  while (ran < count) {
    ++ran;
    if (RunFrame()) break;
  }
  return ran;
}

// ---- hgeCreate / Release --------------------------------------------------

hgeEngine* hgeCreate(int version) {
  if (version != ENGINE_VERSION) return nullptr;
  if (!g_engine) {
    g_engine = EngineBackendAccess::Make();
    F().createCount++;
  }
  F().refCount++;
  return g_engine;
}

void hgeEngine::Release() {
  FakeEngine& f = F();
  if (f.refCount <= 0) return;
  if (--f.refCount == 0) {
    EngineBackendAccess::Destroy(g_engine);
    g_engine = nullptr;
    f.destroyCount++;
    f.frameFunc = nullptr;
    f.renderFunc = nullptr;
  }
}

// ---- System ---------------------------------------------------------------

void hgeEngine::System_SetState(EngineBoolState state, bool value) {
  F().stateCalls.push_back({state, value ? 1 : 0, ""});
}
void hgeEngine::System_SetState(EngineIntState state, int value) {
  F().stateCalls.push_back({state, value, ""});
}
void hgeEngine::System_SetState(EngineFuncState state, hgeCallback value) {
  F().stateCalls.push_back({state, value ? 1 : 0, ""});
  if (state == STATE_FRAME_FUNC) F().frameFunc = value;
  if (state == STATE_RENDER_FUNC) F().renderFunc = value;
}
void hgeEngine::System_SetState(EngineTextState state, const char* value) {
  F().stateCalls.push_back({state, 0, value ? value : ""});
}

bool hgeEngine::System_Initiate() {
  F().initiateCount++;
  return !F().failInitiate;
}

const char* hgeEngine::System_GetErrorMessage() { return F().errorMessage.c_str(); }

bool hgeEngine::System_Start() {
  FakeEngine& f = F();
  f.startCount++;
  f.RunFrames(f.framesOnStart);
  return false;
}

void hgeEngine::System_Shutdown() { F().shutdownCount++; }

void hgeEngine::System_Log(const char* format, ...) {
  char line[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  F().logLines.emplace_back(line);
}

// ---- Resources ------------------------------------------------------------

bool hgeEngine::Resource_AttachPack(const char* filename, const char* password) {
  F().attachedPack = filename ? filename : "";
  F().attachedPassword = password ? password : "";
  return F().packAttachResult;
}

void* hgeEngine::Resource_Load(const char* filename, uint32_t* size) {
  if (size) *size = 0;
  if (!filename) return nullptr;
  auto it = F().resources.find(FakeEngine::Normalise(filename));
  if (it == F().resources.end()) return nullptr;
  const std::string& bytes = it->second;
  // One spare byte so an empty resource still gives a distinct pointer.
  char* copy = static_cast<char*>(std::malloc(bytes.size() + 1));
  std::memcpy(copy, bytes.data(), bytes.size());
  copy[bytes.size()] = '\0';
  if (size) *size = static_cast<uint32_t>(bytes.size());
  F().outstandingResources++;
  return copy;
}

void hgeEngine::Resource_Free(void* resource) {
  if (!resource) return;
  std::free(resource);
  F().outstandingResources--;
}

// ---- Textures -------------------------------------------------------------

HTEXTURE hgeEngine::Texture_Load(const char* filename, uint32_t size, bool) {
  if (!filename || size != 0) return 0;  // the fake decodes no image data
  FakeEngine& f = F();
  std::string name = FakeEngine::Normalise(filename);
  if (!f.textureFiles.count(name)) return 0;
  HTEXTURE texture = f.nextTexture++;
  f.liveTextures[texture] = name;
  return texture;
}

void hgeEngine::Texture_Free(HTEXTURE texture) { F().liveTextures.erase(texture); }

int hgeEngine::Texture_GetWidth(HTEXTURE texture, bool) {
  auto it = F().liveTextures.find(texture);
  if (it == F().liveTextures.end()) return 0;
  auto size = F().textureFiles.find(it->second);
  return size == F().textureFiles.end() ? 0 : size->second.first;
}

int hgeEngine::Texture_GetHeight(HTEXTURE texture, bool) {
  auto it = F().liveTextures.find(texture);
  if (it == F().liveTextures.end()) return 0;
  auto size = F().textureFiles.find(it->second);
  return size == F().textureFiles.end() ? 0 : size->second.second;
}

// ---- Timer and input ------------------------------------------------------

float hgeEngine::Timer_GetDelta() { return F().delta; }

void hgeEngine::Input_GetMousePos(float* x, float* y) {
  if (x) *x = F().mouseX;
  if (y) *y = F().mouseY;
}

bool hgeEngine::Input_IsMouseOver() { return F().mouseOver; }
bool hgeEngine::Input_GetKeyState(int key) { return F().held.count(key) != 0; }
int hgeEngine::Input_GetKey() { return F().frameKey; }

// ---- Drawing --------------------------------------------------------------

bool hgeEngine::Gfx_BeginScene(HTARGET) {
  F().beginSceneCount++;
  return true;
}
void hgeEngine::Gfx_EndScene() { F().endSceneCount++; }
void hgeEngine::Gfx_Clear(uint32_t colour) { F().clears.push_back(colour); }

void hgeEngine::Gfx_RenderLine(float x1, float y1, float x2, float y2, uint32_t colour, float z) {
  FakeEngine& f = F();
  f.lineCount++;
  if (f.recordDrawing) f.lines.push_back({x1, y1, x2, y2, colour, z});
}

void hgeEngine::Gfx_RenderQuad(const hgeQuad* quad) {
  FakeEngine& f = F();
  if (!quad) return;
  f.quadCount++;
  if (f.recordDrawing) f.quads.push_back(*quad);
}

// ---- OS calls -------------------------------------------------------------

int OS_MessageBox(const char* text, const char* caption, unsigned flags) {
  FakeEngine& f = F();
  f.messageBoxes.push_back({text ? text : "", caption ? caption : "", flags});
  if (f.onMessageBox) f.onMessageBox(f.messageBoxes.back());
  return 1;
}

unsigned OS_StartProgram(const char* commandLine, int showMode) {
  F().started.push_back({commandLine ? commandLine : "", showMode});
  return 33;
}
