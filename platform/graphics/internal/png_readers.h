#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/foundation/result.h"
#include "platform/graphics/bitmap.h"

// The two readers behind decodePNG, and the limits both keep.

// At most this many pixels (1 GiB of pixels is not an icon); checked before allocating.
inline constexpr uint64_t kMaxPNGPixels = uint64_t{1} << 26;
// The largest chunk besides the image data that is read: the chunks that shape the pixels
// (palette, transparency) hold at most 1 KiB.
inline constexpr uint32_t kMaxPNGChunkBytes = 64 << 10;
// Deflate cannot shrink data more than 1032 to 1: less image data than a 1032nd of the
// pixels is a file cut short, refused before the pixels are allocated.
inline constexpr uint64_t kMaxDeflateRatio = 1032;

// The kind of file nearly every icon is (8-bit RGB or RGBA, not interlaced, no palette or
// transparency chunk, every chunk intact and where PNG puts it), read without libpng with
// faster inflating and unfiltering; the same pixels as the general reader. Nothing for any
// other file, damaged ones included, so that refusals keep the general reader's reasons.
std::optional<Bitmap> decodePlainPNG(std::string_view bytes);

// Any PNG, with every guard, through libpng.
Result<Bitmap> decodePNGWithLibpng(std::string_view bytes);
