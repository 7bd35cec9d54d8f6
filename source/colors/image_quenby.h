#pragma once

#include "platform/graphics/ui_color.h"
#include "platform/graphics/ui_image.h"
#include "source/colors/rgb_pixel.h"

// `Quenby` and the `mirra…` methods are the image category's public names: see
// "Names that cannot change" in the README.

// The image category: an icon's colour by greedy clustering of its pixels, drawn at its point
// size into a working bitmap of about 2000 pixels at most.

// The colour of the largest cluster (threshold 27), or of the second largest when that holds
// more than an eighth as many pixels and is more saturated and bright; a flat icon's one cluster
// gives its colour. System red when there is no cluster at all (a transparent or absent image),
// since callers rely on a colour. Never nil.
Ref<UIColor> mirraDominantColor(const UIImage* image);

// The colour of the largest cluster (threshold 50), or of the second when the largest covers
// more than 60% of the bitmap (typically the icon's plate). System red when there is no
// cluster at all.
Ref<UIColor> mirraSecondDominantColor(const UIImage* image);

// |a.r − b.r| + |a.g − b.g| + |a.b − b.b|, 0 to 765.
int32_t colourDistance(const RGBPixel& a, const RGBPixel& b);

// The working bitmap's size for an image of width × height points: the size itself when it
// holds 2000 pixels or fewer, else the same aspect at about 2000 pixels (60 × 60 → 44 × 44).
struct WorkingSize {
  int32_t width = 0, height = 0;
};
WorkingSize workingSizeForPoints(double width, double height);

// The clusters of the image's pixels with alpha 128 or more, in creation order: each pixel
// joins the first cluster nearer than threshold (halving the channel sums), else starts one.
std::vector<RGBPixel> pixelClusters(const UIImage* image, int32_t threshold,
                                    WorkingSize* size = nullptr);
