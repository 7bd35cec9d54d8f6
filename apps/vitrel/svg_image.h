#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "platform/foundation/result.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/ui_image.h"

// SVG icons as the colour methods see them: drawn by librsvg to a bitmap.
//
// What an SVG may reach: nothing outside its own bytes. The document is handed to librsvg
// from memory with no base address, and librsvg resolves an external reference (an image, a
// use, an XInclude, a stylesheet or an external entity, by file path or by URL) only against
// a base, so every one of them is refused and draws nothing; only data: URLs inside the file
// load. librsvg's own safety limits stay on (no RSVG_HANDLE_FLAG_UNLIMITED): libxml2's caps on
// nesting and entity expansion, and librsvg's caps on the elements loaded and referenced,
// which bound the work of reference loops and deep <use> chains. They do not bound a filter's
// own parameters: feTurbulence with a billion octaves draws for minutes, and librsvg cannot be
// stopped mid-drawing, only the process drawing; `vitrel colors` therefore draws in processes
// of their own under time and memory limits (SVGServer).

// The largest side drawn: a 4096-pixel bitmap is 64 MiB and every job holds one at a time,
// so a machine of many cores stays within memory where the PNG reader's 16384 (1 GiB a
// picture) would not; icons are drawn at 1024 pixels at most.
inline constexpr int kMaxSVGSize = 4096;
// The largest SVG file read; icons are a few kilobytes.
inline constexpr uint64_t kMaxSVGFileBytes = uint64_t{16} << 20;

// The document drawn to fit size × size pixels, its aspect ratio kept: the longer side gets
// size pixels, the shorter one its share (at least 1); a document without a usable width and
// height (nor a viewBox) is drawn square. Its declared size sets only that ratio, so a huge
// one allocates nothing more. A failure says why: not XML, not SVG, or no area (a zero or
// negative width or height); a size outside 1…kMaxSVGSize is refused.
Result<Bitmap> rasteriseSVG(std::string_view bytes, int size);

// What draws a document's bytes at a size: rasteriseSVG, or the same in another process.
using SVGDrawer = std::function<Result<Bitmap>(std::string_view bytes, int size)>;

// The SVG file drawn at size pixels by draw (rasteriseSVG, in this process, unless another is
// given), at the scale its name gives, as a PNG file's name gives it: "icon@3x.svg" at 180
// pixels is 60 × 60 points. Failures name the file.
Result<Ref<UIImage>> readSVGImage(const std::filesystem::path& path, int size,
                                  const SVGDrawer& draw = rasteriseSVG);
