#pragma once

#include <pango/pango.h>

#include <memory>

#include "platform/uikit/rendering/text_metrics.h"

namespace rendering {

struct GObjectRelease {
  void operator()(gpointer object) const { g_object_unref(object); }
};
struct FontDescriptionRelease {
  void operator()(PangoFontDescription* description) const {
    pango_font_description_free(description);
  }
};

using LayoutHandle = std::unique_ptr<PangoLayout, GObjectRelease>;
using FontDescriptionHandle = std::unique_ptr<PangoFontDescription, FontDescriptionRelease>;

// The calling thread's Pango context, which lays text out in points with unhinted metrics, so
// that a line measures the same at every scale. It knows the system font's files and nothing
// else on the machine, so text sets alike everywhere those files are installed. Throws
// std::runtime_error naming the missing file when one is not.
PangoContext* textContext();

// Pango's description of the system font as font asks for it (its size in points).
FontDescriptionHandle describeFont(const TextFont& font);

}  // namespace rendering
