#pragma once

#include <cstdint>

// One cluster of similar pixels: its colour as 8-bit channel values (premultiplied, as read
// from the working bitmap) and `d`, how many pixels joined it after the one that made it.
struct RGBPixel {
  int32_t r = 0;
  int32_t g = 0;
  int32_t b = 0;
  int32_t d = 0;
};
