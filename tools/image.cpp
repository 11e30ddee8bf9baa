// PNG writing goes through a growable in-memory SDL_RWops, so the bytes can
// go straight into the pack or a file without a temporary.
#include "tools/image.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

namespace {

struct MemoryStream {
  std::string* bytes;
  size_t position;
};

Sint64 StreamSize(SDL_RWops* ops) {
  auto* s = static_cast<MemoryStream*>(ops->hidden.unknown.data1);
  return static_cast<Sint64>(s->bytes->size());
}

Sint64 StreamSeek(SDL_RWops* ops, Sint64 offset, int whence) {
  auto* s = static_cast<MemoryStream*>(ops->hidden.unknown.data1);
  Sint64 base = 0;
  if (whence == RW_SEEK_CUR) base = static_cast<Sint64>(s->position);
  if (whence == RW_SEEK_END) base = static_cast<Sint64>(s->bytes->size());
  const Sint64 target = base + offset;
  if (target < 0) return -1;
  s->position = static_cast<size_t>(target);
  return target;
}

size_t StreamRead(SDL_RWops*, void*, size_t, size_t) {
  return 0;
}

size_t StreamWrite(SDL_RWops* ops, const void* data, size_t size, size_t count) {
  auto* s = static_cast<MemoryStream*>(ops->hidden.unknown.data1);
  const size_t total = size * count;
  if (total == 0) return 0;
  if (s->position + total > s->bytes->size()) s->bytes->resize(s->position + total);
  std::memcpy(&(*s->bytes)[s->position], data, total);
  s->position += total;
  return count;
}

int StreamClose(SDL_RWops* ops) {
  SDL_FreeRW(ops);
  return 0;
}

}  // namespace

void BleedColour(Image* image) {
  if (!image || image->width <= 0 || image->height <= 0) return;
  // Spread outwards one ring at a time until every pixel has a colour
  // source; pixels that never get one (an empty image) stay as they are.
  std::vector<uint8_t> known(image->pixels.size());
  for (size_t i = 0; i < known.size(); ++i) known[i] = image->pixels[i].a > 0;
  bool grew = true;
  while (grew) {
    grew = false;
    std::vector<uint8_t> next = known;
    for (int y = 0; y < image->height; ++y) {
      for (int x = 0; x < image->width; ++x) {
        const size_t i = static_cast<size_t>(y) * image->width + x;
        if (known[i]) continue;
        int r = 0, g = 0, b = 0, n = 0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= image->width || ny >= image->height) continue;
            const size_t j = static_cast<size_t>(ny) * image->width + nx;
            if (!known[j]) continue;
            r += image->pixels[j].r;
            g += image->pixels[j].g;
            b += image->pixels[j].b;
            ++n;
          }
        }
        if (n == 0) continue;
        Rgba& p = image->pixels[i];
        p.r = static_cast<uint8_t>(r / n);
        p.g = static_cast<uint8_t>(g / n);
        p.b = static_cast<uint8_t>(b / n);
        next[i] = 1;
        grew = true;
      }
    }
    known.swap(next);
  }
}

bool EncodePng(const Image& image, std::string* png, std::string* error) {
  if (!png) return false;
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * image.height) {
    if (error) *error = "image has no pixels or a wrong pixel count";
    return false;
  }
  static_assert(sizeof(Rgba) == 4, "pixels are packed bytes");
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Rgba*>(image.pixels.data()), image.width,
                                         image.height, 32, image.width * 4, SDL_PIXELFORMAT_RGBA32);
  if (!surface) {
    if (error) *error = std::string("cannot wrap the pixels: ") + SDL_GetError();
    return false;
  }
  SDL_RWops* ops = SDL_AllocRW();
  if (!ops) {
    SDL_FreeSurface(surface);
    if (error) *error = "out of memory";
    return false;
  }
  std::string bytes;
  MemoryStream stream{&bytes, 0};
  ops->type = SDL_RWOPS_UNKNOWN;
  ops->size = StreamSize;
  ops->seek = StreamSeek;
  ops->read = StreamRead;
  ops->write = StreamWrite;
  ops->close = StreamClose;
  ops->hidden.unknown.data1 = &stream;
  const int result = IMG_SavePNG_RW(surface, ops, 1);
  SDL_FreeSurface(surface);
  if (result != 0 || bytes.empty()) {
    if (error) *error = std::string("PNG encoding failed: ") + IMG_GetError();
    return false;
  }
  *png = std::move(bytes);
  return true;
}

bool DecodePng(const std::string& bytes, Image* image, std::string* error) {
  if (!image) return false;
  SDL_RWops* ops = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!ops) {
    if (error) *error = std::string("cannot read the bytes: ") + SDL_GetError();
    return false;
  }
  SDL_Surface* loaded = IMG_Load_RW(ops, 1);
  if (!loaded) {
    if (error) *error = std::string("not a readable image: ") + IMG_GetError();
    return false;
  }
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(loaded);
  if (!rgba) {
    if (error) *error = std::string("cannot convert the image: ") + SDL_GetError();
    return false;
  }
  *image = Image(rgba->w, rgba->h);
  for (int y = 0; y < rgba->h; ++y) {
    std::memcpy(&image->pixels[static_cast<size_t>(y) * rgba->w],
                static_cast<const uint8_t*>(rgba->pixels) + static_cast<ptrdiff_t>(y) * rgba->pitch,
                static_cast<size_t>(rgba->w) * 4);
  }
  SDL_FreeSurface(rgba);
  return true;
}
