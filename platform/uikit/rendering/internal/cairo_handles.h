#pragma once

#include <cairo.h>

#include <memory>

// Owning handles for cairo's reference-counted objects: each releases its one reference when
// it goes. Adopt only a reference the caller owns (what a create function returns).
namespace rendering {

struct SurfaceRelease {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct PatternRelease {
  void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};
struct FontOptionsRelease {
  void operator()(cairo_font_options_t* options) const { cairo_font_options_destroy(options); }
};

using SurfaceHandle = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using ContextHandle = std::unique_ptr<cairo_t, ContextRelease>;
using PatternHandle = std::unique_ptr<cairo_pattern_t, PatternRelease>;
using FontOptionsHandle = std::unique_ptr<cairo_font_options_t, FontOptionsRelease>;

// Saves the context's state and restores it at the end of the scope.
class SavedState {
 public:
  explicit SavedState(cairo_t* cr) : cr_(cr) { cairo_save(cr_); }
  ~SavedState() { cairo_restore(cr_); }
  SavedState(const SavedState&) = delete;
  SavedState& operator=(const SavedState&) = delete;

 private:
  cairo_t* cr_;
};

}  // namespace rendering
