#pragma once

#include "platform/uikit/rendering/internal/pixels.h"

namespace rendering {

// A blurred picture of a region, kept at reduced resolution: pixel (i, j) of `surface`
// stands for the factor × factor device pixels from origin + (i, j) × factor. Large blurs
// lose nothing visible at a fraction of the resolution, and cost a fraction of the time.
struct BlurredImage {
  SurfaceHandle surface;
  int originX = 0, originY = 0;
  int factor = 1;
};

// Blurs `area` of source, an image surface covering `sourceArea` (both in device pixels; area
// must lie within sourceArea) with a Gaussian of about sigma pixels (three box passes).
// With alphaOnly the result is an A8 surface of the alpha channel, padded by the blur's reach
// so that the blur can spread past the area, else ARGB32 with edge pixels extended.
// An empty surface for an empty area or a surface cairo cannot make.
BlurredImage blurArea(cairo_surface_t* source, const PixelRect& sourceArea, const PixelRect& area,
                      double sigma, bool alphaOnly);

// A pattern of the blurred image for a context whose transform is the identity (user space =
// device pixels), scaled back up smoothly to where it came from and shifted by (dx, dy) pixels.
// Colour blurs extend their edges; alpha blurs fade to nothing past their margin.
PatternHandle blurredPattern(const BlurredImage& image, double dx = 0, double dy = 0);

// Scales the saturation of an ARGB32 surface's pixels by amount (1 leaves them).
void saturatePixels(cairo_surface_t* surface, double amount);

}  // namespace rendering
