// Drawing for the engine: the window's renderer, the texture table, lines,
// textured quads, presentation and read-back.
//
// Two paths. Accelerated: SDL's GPU renderer draws everything, lines batched
// into strips. Software (chosen where the only OpenGL is a software
// rasteriser, or when asked): the frame lives in a CPU ARGB buffer; lines
// are blended straight into it, quads go through an SDL software renderer
// made for that buffer, and the frame is uploaded once per frame to the
// window's software renderer.
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

  void Clear(uint32_t colour);
  void Line(float x1, float y1, float x2, float y2, uint32_t colour);
  void Quad(const hgeQuad& quad);
  // Finishes the frame and shows it.
  void Present();

  void SetCapture(bool on) { capture_ = on; }
  bool ReadFrame(std::vector<uint32_t>* pixels, int* width, int* height);

 private:
  bool CreateSoftware(SDL_Window* window, std::string* error);
  bool CreateAccelerated(SDL_Window* window, SDL_Renderer* made, std::string* error);
  SDL_Renderer* DrawRenderer() const { return frameRenderer_ ? frameRenderer_ : windowRenderer_; }
  SDL_Texture* Lookup(HTEXTURE texture) const;
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

  bool capture_ = false;
  std::vector<uint32_t> captured_;
  int capturedWidth_ = 0, capturedHeight_ = 0;
};
