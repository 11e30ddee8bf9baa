// The engine interface: window, frame loop, timer, input, resources,
// textures and drawing, as the rest of the program sees them.
//
// The class has no data and no virtual functions. Exactly one backend defines
// its operations and hgeCreate at link time: engine/sdl for the program and
// the tools, tests/support for the unit tests. No platform header is
// included here.
#pragma once

#include <cstdint>

// Texture handle; 0 means none.
using HTEXTURE = uint32_t;
// Render target handle; 0 is the screen, the only target this program uses.
using HTARGET = uint32_t;

// The interface version the program asks for.
constexpr int ENGINE_VERSION = 0x160;

// Frame and render callbacks. The frame callback returns true to end the
// frame loop; the render callback's result is ignored.
using hgeCallback = bool (*)();

// State codes, by the type of their value.
enum EngineBoolState : int {
  STATE_WINDOWED = 11,
  STATE_ZBUFFER = 12,
  STATE_TEXTURE_FILTER = 13,
  STATE_USE_SOUND = 18,
  STATE_DONT_SUSPEND = 24,  // keep running without focus
  STATE_HIDE_MOUSE = 25,    // hide the system cursor
};
enum EngineFuncState : int {
  STATE_FRAME_FUNC = 1,
  STATE_RENDER_FUNC = 2,
};
enum EngineIntState : int {
  STATE_SCREEN_WIDTH = 8,
  STATE_SCREEN_HEIGHT = 9,
  STATE_SCREEN_BPP = 10,
  STATE_FPS = 23,
};
enum EngineTextState : int {
  STATE_TITLE = 7,
};

// Key codes reported by the input operations (virtual-key numbering).
enum : int {
  KEY_NONE = 0,
  KEY_LBUTTON = 0x01,
  KEY_RBUTTON = 0x02,
  KEY_MBUTTON = 0x04,
  KEY_BACKSPACE = 0x08,
  KEY_TAB = 0x09,
  KEY_ENTER = 0x0D,
  KEY_SHIFT = 0x10,
  KEY_CTRL = 0x11,
  KEY_ALT = 0x12,
  KEY_ESCAPE = 0x1B,
  KEY_SPACE = 0x20,
  KEY_PGUP = 0x21,
  KEY_PGDN = 0x22,
  KEY_END = 0x23,
  KEY_HOME = 0x24,
  KEY_LEFT = 0x25,
  KEY_UP = 0x26,
  KEY_RIGHT = 0x27,
  KEY_DOWN = 0x28,
  KEY_INSERT = 0x2D,
  KEY_DELETE = 0x2E,
  KEY_0 = 0x30,  // KEY_0 .. KEY_9 are 0x30 .. 0x39
  KEY_9 = 0x39,
  KEY_A = 0x41,  // KEY_A .. KEY_Z are 0x41 .. 0x5A
  KEY_F = 0x46,
  KEY_Z = 0x5A,
  KEY_F1 = 0x70,  // KEY_F1 .. KEY_F12 are 0x70 .. 0x7B
  KEY_F12 = 0x7B,
};

// Blend mode 2, the default: vertex colour multiplies the texture colour,
// alpha blending on, no depth writes. Other values draw the same way.
constexpr int BLEND_DEFAULT = 2;

// One vertex of a quad: screen position, depth 0..1, ARGB colour, texture
// coordinates 0..1.
struct hgeVertex {
  float x, y;
  float z;
  uint32_t colour;
  float u, v;
};

// A textured quad. Vertex 0 is the top-left corner, 1 top-right,
// 2 bottom-right, 3 bottom-left.
struct hgeQuad {
  hgeVertex v[4];
  HTEXTURE texture;
  int blend;
};

class hgeEngine {
 public:
  // Gives back one reference; the last one destroys the engine.
  void Release();

  // System.
  void System_SetState(EngineBoolState state, bool value);
  void System_SetState(EngineIntState state, int value);
  void System_SetState(EngineFuncState state, hgeCallback value);
  void System_SetState(EngineTextState state, const char* value);
  // Applies the states and opens the window; false with a reason on failure.
  bool System_Initiate();
  const char* System_GetErrorMessage();
  // Runs the frame loop: frame callback, then render callback, once per
  // frame, until the frame callback returns true (or the window is closed).
  bool System_Start();
  void System_Shutdown();
  // One diagnostic line.
  void System_Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Resources: an attached pack first, then a file of that path beside the
  // executable. Names may use "\" or "/" as separator.
  bool Resource_AttachPack(const char* filename, const char* password);
  // The bytes of a resource (released with Resource_Free) and their size,
  // or null when it cannot be read.
  void* Resource_Load(const char* filename, uint32_t* size = nullptr);
  void Resource_Free(void* resource);

  // Textures. With size 0 the image is read from the named resource; with a
  // non-zero size `filename` points at that many bytes of image data.
  HTEXTURE Texture_Load(const char* filename, uint32_t size = 0, bool mipmap = false);
  void Texture_Free(HTEXTURE texture);
  // Stored size of the texture in pixels (0 for no texture).
  int Texture_GetWidth(HTEXTURE texture, bool original = false);
  int Texture_GetHeight(HTEXTURE texture, bool original = false);

  // Seconds the last frame took.
  float Timer_GetDelta();

  // Input, as of the current frame.
  void Input_GetMousePos(float* x, float* y);
  bool Input_IsMouseOver();
  bool Input_GetKeyState(int key);
  // The key or button that went down during this frame, 0 if none.
  int Input_GetKey();

  // Drawing.
  bool Gfx_BeginScene(HTARGET target = 0);
  void Gfx_EndScene();
  void Gfx_Clear(uint32_t colour);
  void Gfx_RenderLine(float x1, float y1, float x2, float y2, uint32_t colour = 0xFFFFFFFF,
                      float z = 0.5f);
  void Gfx_RenderQuad(const hgeQuad* quad);

 private:
  hgeEngine() = default;
  ~hgeEngine() = default;
  friend struct EngineBackendAccess;
};

// Returns the engine with one more reference, creating it on first use.
// `version` must be ENGINE_VERSION; any other gives null.
hgeEngine* hgeCreate(int version);
