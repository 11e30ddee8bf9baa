// Drawing for the engine: the window's renderer, the texture table, lines,
// textured quads, presentation and read-back.
//
// Two paths. Accelerated: SDL's GPU renderer draws everything, lines batched
// into strips. Software (chosen where the only OpenGL is a software
// rasteriser, or when asked): the frame lives in a CPU ARGB buffer; lines
// are blended straight into it, quads go through an SDL software renderer
// made for that buffer, and the frame is uploaded once per frame to the
// window's software renderer.
//
// A frame's drawing is recorded between Begin and Present and carried out at
// Present. A frame whose record equals the previous one is not drawn or
// shown again (the window still shows it), which keeps an idle program
// nearly free; an exposed or resized window, a freed texture or turning
// capture on forces the next frame out.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/sdl/backend_control.h"
#include "engine/sdl/line_blend.h"
#include "gfx/engine.h"

class FrameRenderer {
 public:
  struct Settings {
    int width = 1200;  // logical drawing area
    int height = 960;
    bool linearFiltering = false;
    backend::RendererChoice choice = backend::RendererChoice::Automatic;
  };

  // Creates the renderer for the window. On failure returns false with the
  // reason in *error.
  bool Create(SDL_Window* window, const Settings& settings, std::string* error);
  void Destroy();
  bool Ready() const { return windowRenderer_ != nullptr; }
  bool Software() const { return frame_ != nullptr; }
  const std::string& Description() const { return description_; }
  SDL_Renderer* WindowRenderer() const { return windowRenderer_; }

  // Textures: handles count from 1; 0 and freed or unknown handles are
  // ignored everywhere. Slots are not reused, so a stale handle never
  // reaches another texture.
  HTEXTURE AddTexture(SDL_Surface* image);
  void FreeTexture(HTEXTURE texture);
  bool TextureSize(HTEXTURE texture, int* width, int* height) const;

  // Starts recording a frame (what was recorded and not presented is
  // dropped).
  void Begin() { commands_.clear(); }
  void Clear(uint32_t colour);
  void Line(float x1, float y1, float x2, float y2, uint32_t colour);
  void Quad(const hgeQuad& quad);
  // Draws the recorded frame and shows it, unless it is the frame shown.
  void Present();
  // The window needs its frame again (exposed, resized, restored).
  void Invalidate() { invalid_ = true; }
  // Off: every frame is drawn and shown even when unchanged (benchmarks).
  void SetSkipUnchanged(bool on) { skipUnchanged_ = on; }
  // Frames drawn and shown, and frames skipped as unchanged.
  long long FramesShown() const { return framesShown_; }
  long long FramesSkipped() const { return framesSkipped_; }

  void SetCapture(bool on) {
    if (on && !capture_) invalid_ = true;
    capture_ = on;
  }
  bool ReadFrame(std::vector<uint32_t>* pixels, int* width, int* height);

 private:
  bool CreateSoftware(SDL_Window* window, std::string* error);
  bool CreateAccelerated(SDL_Window* window, SDL_Renderer* made, std::string* error);
  SDL_Renderer* DrawRenderer() const { return frameRenderer_ ? frameRenderer_ : windowRenderer_; }
  SDL_Texture* Lookup(HTEXTURE texture) const;
  template <typename T>
  void Record(uint8_t kind, const T& payload);
  void Replay();
  void DrawClear(uint32_t colour);
  void DrawLine(float x1, float y1, float x2, float y2, uint32_t colour);
  void DrawQuad(const hgeQuad& quad);
  void Show();
  void FlushQuads();
  void FlushStrip();
  void CaptureAccelerated();

  Settings settings_;
  std::string description_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* windowRenderer_ = nullptr;

  // Software path.
  SDL_Surface* frame_ = nullptr;
  SDL_Renderer* frameRenderer_ = nullptr;  // draws quads into frame_
  SDL_Texture* frameTexture_ = nullptr;    // frame_ uploaded for the window
  bool sharesTexture_ = false;             // frame_ is frameTexture_'s own memory
  PixelFrame pixels_;
  bool quadsPending_ = false;
  bool presentedOnce_ = false;

  // Accelerated path: consecutive joined lines of one colour.
  std::vector<SDL_FPoint> strip_;
  uint32_t stripColour_ = 0;

  struct Texture {
    SDL_Texture* texture = nullptr;
    int width = 0, height = 0;
  };
  std::vector<Texture> textures_;

  // This frame's drawing and the previous frame's, as kind bytes each
  // followed by the call's arguments.
  std::vector<unsigned char> commands_, shown_;
  std::vector<LineSegment> lineBatch_;
  bool invalid_ = true;
  bool skipUnchanged_ = true;
  long long framesShown_ = 0, framesSkipped_ = 0;

  bool capture_ = false;
  std::vector<uint32_t> captured_;
  int capturedWidth_ = 0, capturedHeight_ = 0;
};
