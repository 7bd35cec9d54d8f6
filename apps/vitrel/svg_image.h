#pragma once

#include <cstdint>
#include <filesystem>
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
// own parameters (feTurbulence with a billion octaves draws for minutes), nor an embedded data:
// picture's memory, and nothing can stop librsvg mid-drawing: readSVGImage therefore draws in a
// forked child under limits, and a child that passes them is killed. All librsvg, glib and cairo
// work happens in such children, so no other thread of this process can hold their locks at fork.

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

// What drawing one SVG may take. 10 s of wall-clock time (and as much processor time) is
// hundreds of times what an icon needs, even on a loaded machine. 1 GiB of memory beyond what
// the child starts with holds the largest bitmap (64 MiB) many times over with librsvg's
// intermediate surfaces; the memory cap is left off under AddressSanitizer and ThreadSanitizer,
// which reserve terabytes of address space.
struct SVGDrawingLimits {
  unsigned seconds = 10;
  uint64_t memoryBytes = uint64_t{1} << 30;
};

// The SVG file drawn at size pixels (as rasteriseSVG, in a forked child within limits), at the
// scale its name gives, as a PNG file's name gives it: "icon@3x.svg" at 180 pixels is 60 × 60
// points. Failures name the file; a child stopped at a limit says which.
Result<Ref<UIImage>> readSVGImage(const std::filesystem::path& path, int size,
                                  const SVGDrawingLimits& limits = {});
