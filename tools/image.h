// Image: an RGBA picture with straight (not premultiplied) alpha, and its
// PNG encoding and decoding through SDL2_image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;  // rows top down

  Image() = default;
  Image(int w, int h, Rgba fill = {})
      : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
  Rgba& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  const Rgba& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Gives fully transparent pixels the colour of their visible neighbours, so
// that linear filtering at the edges blends towards the shape's colour
// instead of towards black. Alpha is left as it is.
void BleedColour(Image* image);

// The PNG file bytes of the image; false with a reason on failure.
bool EncodePng(const Image& image, std::string* png, std::string* error);
// Decodes PNG (or any format SDL2_image reads) bytes into RGBA.
bool DecodePng(const std::string& bytes, Image* image, std::string* error);
