// The engine's drawing on SDL2: renderer choice, textures, lines, quads,
// presentation and frame read-back.
#include "engine/sdl/renderer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace {

constexpr float QUAD_COORD_LIMIT = 1048576.0f;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The OpenGL renderer string of this display ("llvmpipe (LLVM 15.0.6, 256
// bits)", "NVIDIA GeForce ..."), found with a small hidden window so the
// real one is never recreated. Empty with *why set when there is no OpenGL.
std::string ProbeOpenGlNow(std::string* why) {
  SDL_Window* probe = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!probe) {
    *why = SDL_GetError();
    return "";
  }
  std::string name;
  SDL_GLContext context = SDL_GL_CreateContext(probe);
  if (!context) {
    *why = SDL_GetError();
  } else {
    using GetString = const unsigned char* (*)(unsigned int);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* text = getString ? getString(0x1F01 /* GL_RENDERER */) : nullptr;
    if (text) name = reinterpret_cast<const char*>(text);
    if (name.empty()) *why = "the OpenGL driver names no renderer";
    SDL_GL_DeleteContext(context);
  }
  SDL_DestroyWindow(probe);
  return name;
}

// The display's OpenGL does not change while the program runs: probe once
// per video driver (it costs a GL context, and the drivers keep some of it).
std::string ProbeOpenGl(std::string* why) {
  struct Probe {
    std::string driver, renderer, why;
  };
  static auto* probes = new std::vector<Probe>();
  const char* current = SDL_GetCurrentVideoDriver();
  const std::string driver = current ? current : "";
  for (const Probe& p : *probes)
    if (p.driver == driver) {
      *why = p.why;
      return p.renderer;
    }
  Probe probe{driver, "", ""};
  probe.renderer = ProbeOpenGlNow(&probe.why);
  probes->push_back(probe);
  *why = probe.why;
  return probe.renderer;
}

bool IsSoftwareRasteriser(const std::string& glRenderer) {
  const std::string name = Lower(glRenderer);
  for (const char* soft : {"llvmpipe", "softpipe", "software rasterizer", "swrast", "swiftshader"})
    if (name.find(soft) != std::string::npos) return true;
  return false;
}

SDL_Color ColourOf(uint32_t argb) {
  return SDL_Color{static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                   static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24)};
}

bool UsableCoordinate(float v) {
  return std::isfinite(v) && std::fabs(v) < QUAD_COORD_LIMIT;
}

}  // namespace

bool FrameRenderer::Create(SDL_Window* window, const Settings& settings, std::string* error) {
  Destroy();
  settings_ = settings;
  window_ = window;
  using backend::RendererChoice;

  if (settings.choice == RendererChoice::Software) {
    description_ = "software (CPU frame buffer), as asked";
    return CreateSoftware(window, error);
  }
  if (settings.choice == RendererChoice::Accelerated) {
    SDL_Renderer* made = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!made) {
      *error = std::string("No accelerated renderer: ") + SDL_GetError();
      return false;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(made, &info);
    description_ = std::string(info.name ? info.name : "accelerated") + ", as asked";
    return CreateAccelerated(window, made, error);
  }

  // Someone who names SDL's render driver gets it.
  const char* driverHint = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  if (driverHint && *driverHint) {
    SDL_Renderer* made = SDL_CreateRenderer(window, -1, 0);
    SDL_RendererInfo info{};
    if (made && SDL_GetRendererInfo(made, &info) == 0 && info.name &&
        std::strcmp(info.name, "software") != 0) {
      if (!CreateAccelerated(window, made, error)) return false;
      description_ = std::string(info.name) + ", as SDL_RENDER_DRIVER asks";
      return true;
    }
    if (made) SDL_DestroyRenderer(made);
    description_ = "software (CPU frame buffer), as SDL_RENDER_DRIVER asks";
    return CreateSoftware(window, error);
  }

  std::string why;
  const std::string gl = ProbeOpenGl(&why);
  if (gl.empty()) {
    description_ = "software (CPU frame buffer): no OpenGL (" + why + ")";
    return CreateSoftware(window, error);
  }
  if (IsSoftwareRasteriser(gl)) {
    description_ = "software (CPU frame buffer): the only OpenGL is " + gl +
                   ", a software rasteriser, slower than drawing on the CPU directly";
    return CreateSoftware(window, error);
  }
  SDL_Renderer* made = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
  if (!made) {
    description_ = std::string("software (CPU frame buffer): the accelerated renderer failed (") +
                   SDL_GetError() + ")";
    return CreateSoftware(window, error);
  }
  if (!CreateAccelerated(window, made, error)) return false;
  SDL_RendererInfo info{};
  SDL_GetRendererInfo(made, &info);
  description_ = std::string(info.name ? info.name : "accelerated") + " on " + gl;
  return true;
}

bool FrameRenderer::CreateSoftware(SDL_Window* window, std::string* error) {
  const int w = settings_.width, h = settings_.height;
  windowRenderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (!windowRenderer_) {
    *error = std::string("Cannot create a renderer for the window: ") + SDL_GetError();
    return false;
  }
  SDL_RenderSetLogicalSize(windowRenderer_, w, h);
  // The upload is a plain copy when the texture matches the window's
  // surface; XRGB and ARGB share one layout, and the frame is opaque.
  Uint32 format = SDL_PIXELFORMAT_ARGB8888;
  if (SDL_Surface* surface = SDL_GetWindowSurface(window))
    if (surface->format->format == SDL_PIXELFORMAT_RGB888) format = SDL_PIXELFORMAT_RGB888;
  frameTexture_ = SDL_CreateTexture(windowRenderer_, format, SDL_TEXTUREACCESS_STREAMING, w, h);
  // SDL's software renderer keeps a streaming texture in plain memory that a
  // lock hands out: the frame is drawn right there, saving a copy per frame.
  SDL_RendererInfo info{};
  void* texturePixels = nullptr;
  int texturePitch = 0;
  if (frameTexture_ && SDL_GetRendererInfo(windowRenderer_, &info) == 0 && info.name &&
      std::strcmp(info.name, "software") == 0 &&
      SDL_LockTexture(frameTexture_, nullptr, &texturePixels, &texturePitch) == 0) {
    SDL_UnlockTexture(frameTexture_);
    frame_ = SDL_CreateRGBSurfaceWithFormatFrom(texturePixels, w, h, 32, texturePitch,
                                                SDL_PIXELFORMAT_ARGB8888);
    sharesTexture_ = frame_ != nullptr;
  }
  if (!frame_) frame_ = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
  if (frame_) frameRenderer_ = SDL_CreateSoftwareRenderer(frame_);
  if (!frame_ || !frameRenderer_ || !frameTexture_) {
    *error = std::string("Cannot create the frame buffer: ") + SDL_GetError();
    Destroy();
    return false;
  }
  SDL_SetRenderDrawBlendMode(frameRenderer_, SDL_BLENDMODE_BLEND);
  SDL_SetTextureBlendMode(frameTexture_, SDL_BLENDMODE_NONE);
  SDL_SetTextureScaleMode(frameTexture_,
                          settings_.linearFiltering ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  pixels_.pixels = static_cast<uint32_t*>(frame_->pixels);
  pixels_.width = w;
  pixels_.height = h;
  pixels_.pitch = frame_->pitch / 4;
  FillFrame(pixels_, 0);
  return true;
}

bool FrameRenderer::CreateAccelerated(SDL_Window*, SDL_Renderer* made, std::string*) {
  windowRenderer_ = made;
  SDL_RenderSetLogicalSize(windowRenderer_, settings_.width, settings_.height);
  SDL_SetRenderDrawBlendMode(windowRenderer_, SDL_BLENDMODE_BLEND);
  SDL_SetRenderDrawColor(windowRenderer_, 0, 0, 0, 255);
  SDL_RenderClear(windowRenderer_);
  return true;
}

void FrameRenderer::Destroy() {
  for (Texture& t : textures_)
    if (t.texture) SDL_DestroyTexture(t.texture);
  textures_.clear();
  // The frame may live in the frame texture's memory: it goes first.
  if (frameRenderer_) SDL_DestroyRenderer(frameRenderer_);
  if (frame_) SDL_FreeSurface(frame_);
  if (frameTexture_) SDL_DestroyTexture(frameTexture_);
  if (windowRenderer_) SDL_DestroyRenderer(windowRenderer_);
  frameTexture_ = nullptr;
  frameRenderer_ = nullptr;
  frame_ = nullptr;
  sharesTexture_ = false;
  windowRenderer_ = nullptr;
  window_ = nullptr;
  pixels_ = PixelFrame();
  quadsPending_ = false;
  presentedOnce_ = false;
  strip_.clear();
  commands_.clear();
  shown_.clear();
  invalid_ = true;
  framesShown_ = framesSkipped_ = 0;
  captured_.clear();
  capturedWidth_ = capturedHeight_ = 0;
}

// ---- Textures -------------------------------------------------------------

HTEXTURE FrameRenderer::AddTexture(SDL_Surface* image) {
  SDL_Renderer* renderer = DrawRenderer();
  if (!renderer || !image) return 0;
  SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, image);
  if (!texture) return 0;
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture,
                          settings_.linearFiltering ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  textures_.push_back({texture, image->w, image->h});
  return static_cast<HTEXTURE>(textures_.size());
}

SDL_Texture* FrameRenderer::Lookup(HTEXTURE texture) const {
  if (texture == 0 || texture > textures_.size()) return nullptr;
  return textures_[texture - 1].texture;
}

void FrameRenderer::FreeTexture(HTEXTURE texture) {
  SDL_Texture* t = Lookup(texture);
  if (!t) return;
  // A quad queued with it must be drawn before it goes; and the frame shown
  // may hold it, so the next one is drawn afresh.
  FlushQuads();
  FlushStrip();
  SDL_DestroyTexture(t);
  textures_[texture - 1] = Texture();
  invalid_ = true;
}

bool FrameRenderer::TextureSize(HTEXTURE texture, int* width, int* height) const {
  if (!Lookup(texture)) return false;
  *width = textures_[texture - 1].width;
  *height = textures_[texture - 1].height;
  return true;
}

// ---- Drawing --------------------------------------------------------------

void FrameRenderer::FlushQuads() {
  if (quadsPending_ && frameRenderer_) SDL_RenderFlush(frameRenderer_);
  quadsPending_ = false;
}

void FrameRenderer::FlushStrip() {
  if (strip_.size() >= 2) {
    const SDL_Color c = ColourOf(stripColour_);
    SDL_SetRenderDrawColor(windowRenderer_, c.r, c.g, c.b, c.a);
    SDL_RenderDrawLinesF(windowRenderer_, strip_.data(), static_cast<int>(strip_.size()));
  }
  strip_.clear();
}

void FrameRenderer::DrawClear(uint32_t colour) {
  if (!windowRenderer_) return;
  if (frame_) {
    FlushQuads();
    FillFrame(pixels_, colour);
    return;
  }
  FlushStrip();
  const SDL_Color c = ColourOf(colour);
  SDL_SetRenderDrawColor(windowRenderer_, c.r, c.g, c.b, 255);
  SDL_RenderClear(windowRenderer_);
}

void FrameRenderer::DrawLine(float x1, float y1, float x2, float y2, uint32_t colour) {
  if (frame_) {
    FlushQuads();
    BlendLine(pixels_, x1, y1, x2, y2, colour);
    return;
  }
  if (!UsableCoordinate(x1) || !UsableCoordinate(y1) || !UsableCoordinate(x2) ||
      !UsableCoordinate(y2))
    return;
  // Tours come as joined segments of one colour: one strip per tour.
  if (!strip_.empty() && colour == stripColour_ && strip_.back().x == x1 && strip_.back().y == y1) {
    strip_.push_back({x2, y2});
    return;
  }
  FlushStrip();
  stripColour_ = colour;
  strip_.push_back({x1, y1});
  strip_.push_back({x2, y2});
}

void FrameRenderer::DrawQuad(const hgeQuad& quad) {
  SDL_Texture* texture = nullptr;
  if (quad.texture != 0) {
    texture = Lookup(quad.texture);
    if (!texture) return;  // freed or unknown: nothing to draw
  }
  SDL_Vertex vertices[4];
  for (int i = 0; i < 4; ++i) {
    const hgeVertex& v = quad.v[i];
    if (!UsableCoordinate(v.x) || !UsableCoordinate(v.y)) return;
    vertices[i].position = {v.x, v.y};
    vertices[i].color = ColourOf(v.colour);
    vertices[i].tex_coord = {std::isfinite(v.u) ? v.u : 0.0f, std::isfinite(v.v) ? v.v : 0.0f};
  }
  static const int INDICES[6] = {0, 1, 2, 0, 2, 3};
  if (frame_) {
    SDL_RenderGeometry(frameRenderer_, texture, vertices, 4, INDICES, 6);
    quadsPending_ = true;
  } else {
    FlushStrip();
    SDL_RenderGeometry(windowRenderer_, texture, vertices, 4, INDICES, 6);
  }
}

// ---- The recorded frame ---------------------------------------------------

namespace {
enum : uint8_t { CMD_CLEAR = 1, CMD_LINE = 2, CMD_QUAD = 3 };
}  // namespace

template <typename T>
void FrameRenderer::Record(uint8_t kind, const T& payload) {
  const size_t at = commands_.size();
  commands_.resize(at + 1 + sizeof(T));
  commands_[at] = kind;
  std::memcpy(commands_.data() + at + 1, &payload, sizeof(T));
}

void FrameRenderer::Clear(uint32_t colour) {
  if (windowRenderer_) Record(CMD_CLEAR, colour);
}

void FrameRenderer::Line(float x1, float y1, float x2, float y2, uint32_t colour) {
  if (windowRenderer_) Record(CMD_LINE, LineSegment{x1, y1, x2, y2, colour});
}

void FrameRenderer::Quad(const hgeQuad& quad) {
  if (windowRenderer_) Record(CMD_QUAD, quad);
}

void FrameRenderer::Replay() {
  const unsigned char* p = commands_.data();
  const unsigned char* end = p + commands_.size();
  while (p < end) {
    const uint8_t kind = *p++;
    if (kind == CMD_CLEAR) {
      uint32_t colour;
      std::memcpy(&colour, p, sizeof colour);
      p += sizeof colour;
      DrawClear(colour);
    } else if (kind == CMD_LINE && frame_) {
      // A run of lines goes to the frame buffer in one batch.
      lineBatch_.clear();
      for (;;) {
        LineSegment line;
        std::memcpy(&line, p, sizeof line);
        p += sizeof line;
        lineBatch_.push_back(line);
        if (p >= end || *p != CMD_LINE) break;
        ++p;
      }
      FlushQuads();
      BlendLines(pixels_, lineBatch_.data(), lineBatch_.size());
    } else if (kind == CMD_LINE) {
      LineSegment a;
      std::memcpy(&a, p, sizeof a);
      p += sizeof a;
      DrawLine(a.x1, a.y1, a.x2, a.y2, a.colour);
    } else {
      hgeQuad q;
      std::memcpy(&q, p, sizeof q);
      p += sizeof q;
      DrawQuad(q);
    }
  }
}

void FrameRenderer::Present() {
  if (!windowRenderer_) return;
  if (skipUnchanged_ && !invalid_ && commands_ == shown_) {
    ++framesSkipped_;
    commands_.clear();
    return;
  }
  if (sharesTexture_) {
    // Drawing happens while the texture is locked, as SDL wants.
    void* texturePixels = nullptr;
    int texturePitch = 0;
    if (SDL_LockTexture(frameTexture_, nullptr, &texturePixels, &texturePitch) == 0) {
      if (texturePixels != frame_->pixels) {
        frame_->pixels = texturePixels;  // never seen, but then follow it
        pixels_.pixels = static_cast<uint32_t*>(texturePixels);
      }
    }
  }
  Replay();
  Show();
  invalid_ = false;
  ++framesShown_;
  commands_.swap(shown_);
  commands_.clear();
}

void FrameRenderer::Show() {
  if (!frame_) {
    FlushStrip();
    if (capture_) CaptureAccelerated();
    SDL_RenderPresent(windowRenderer_);
    return;
  }
  FlushQuads();
  presentedOnce_ = true;
  // Nothing to show while minimised or hidden: skip the upload.
  if (SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) {
    if (sharesTexture_) SDL_UnlockTexture(frameTexture_);
    return;
  }
  if (sharesTexture_)
    SDL_UnlockTexture(frameTexture_);
  else
    SDL_UpdateTexture(frameTexture_, nullptr, frame_->pixels, frame_->pitch);
  int outW = 0, outH = 0;
  SDL_GetRendererOutputSize(windowRenderer_, &outW, &outH);
  if (outW != settings_.width || outH != settings_.height) {
    // Letterbox bars around the scaled frame.
    SDL_SetRenderDrawColor(windowRenderer_, 0, 0, 0, 255);
    SDL_RenderClear(windowRenderer_);
  }
  SDL_RenderCopy(windowRenderer_, frameTexture_, nullptr, nullptr);
  SDL_RenderPresent(windowRenderer_);
}

// ---- Read-back ------------------------------------------------------------

void FrameRenderer::CaptureAccelerated() {
  // The viewport in output pixels, then scaled back to the logical size.
  SDL_Rect viewport;
  SDL_RenderGetViewport(windowRenderer_, &viewport);
  float sx = 1, sy = 1;
  SDL_RenderGetScale(windowRenderer_, &sx, &sy);
  const int realW = std::max(1, static_cast<int>(std::lround(viewport.w * sx)));
  const int realH = std::max(1, static_cast<int>(std::lround(viewport.h * sy)));
  std::vector<uint32_t> real(static_cast<size_t>(realW) * realH);
  if (SDL_RenderReadPixels(windowRenderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, real.data(),
                           realW * 4) != 0)
    return;
  const int w = settings_.width, h = settings_.height;
  captured_.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const int ry = std::min(realH - 1, static_cast<int>(static_cast<long long>(y) * realH / h));
    for (int x = 0; x < w; ++x) {
      const int rx = std::min(realW - 1, static_cast<int>(static_cast<long long>(x) * realW / w));
      captured_[static_cast<size_t>(y) * w + x] = real[static_cast<size_t>(ry) * realW + rx];
    }
  }
  capturedWidth_ = w;
  capturedHeight_ = h;
}

bool FrameRenderer::ReadFrame(std::vector<uint32_t>* pixels, int* width, int* height) {
  if (frame_) {
    if (!presentedOnce_) return false;
    FlushQuads();
    pixels->resize(static_cast<size_t>(pixels_.width) * pixels_.height);
    for (int y = 0; y < pixels_.height; ++y)
      std::memcpy(pixels->data() + static_cast<size_t>(y) * pixels_.width,
                  pixels_.pixels + static_cast<size_t>(y) * pixels_.pitch,
                  static_cast<size_t>(pixels_.width) * 4);
    *width = pixels_.width;
    *height = pixels_.height;
    return true;
  }
  if (captured_.empty()) return false;
  *pixels = captured_;
  *width = capturedWidth_;
  *height = capturedHeight_;
  return true;
}
