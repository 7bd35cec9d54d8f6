#pragma once

#include <filesystem>
#include <string_view>

#include "platform/foundation/result.h"
#include "platform/graphics/bitmap.h"

// The largest width or height accepted from a PNG file; larger ones are refused before any
// pixel memory is allocated.
inline constexpr int kMaxPNGDimension = 16384;

// Decodes PNG bytes of any standard kind (8- or 16-bit, palette, grey, with or without alpha,
// interlaced) into a bitmap; 16-bit channels are rounded to 8 bits, grey files keep the grey
// model. Corrupt or truncated data, or dimensions over kMaxPNGDimension, give a failure that
// says why; never a crash. Chunks that do not shape the pixels (text, profiles…) are skipped,
// and the pixels are allocated only when the file holds enough data to fill them, so memory
// stays in proportion to the file's real content.
Result<Bitmap> decodePNG(std::string_view bytes);
Result<Bitmap> readPNG(const std::filesystem::path& path);

// Writes the bitmap as an 8-bit RGBA PNG (un-premultiplied), atomically.
Result<void> writePNG(const Bitmap& bitmap, const std::filesystem::path& path);
