#include "platform/uikit/rendering/internal/text_fonts.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <stdexcept>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "platform/uikit/rendering/internal/cairo_handles.h"
#include "platform/uikit/ui_font.h"

namespace rendering {

namespace {

// As Debian's fonts-inter and fonts-dejavu-core install them. The display cut is what the
// system font turns to from 20 points up, as the phone's does.
constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/opentype/inter/Inter-Light.otf",
    "/usr/share/fonts/opentype/inter/Inter-Regular.otf",
    "/usr/share/fonts/opentype/inter/Inter-Medium.otf",
    "/usr/share/fonts/opentype/inter/Inter-SemiBold.otf",
    "/usr/share/fonts/opentype/inter/Inter-Bold.otf",
    "/usr/share/fonts/opentype/inter/InterDisplay-Light.otf",
    "/usr/share/fonts/opentype/inter/InterDisplay-Regular.otf",
    "/usr/share/fonts/opentype/inter/InterDisplay-Medium.otf",
    "/usr/share/fonts/opentype/inter/InterDisplay-SemiBold.otf",
    "/usr/share/fonts/opentype/inter/InterDisplay-Bold.otf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};
constexpr double kDisplaySize = 20;

#if defined(__SANITIZE_ADDRESS__)
class LeakCheckPause {
 public:
  LeakCheckPause() { __lsan_disable(); }
  ~LeakCheckPause() { __lsan_enable(); }
  LeakCheckPause(const LeakCheckPause&) = delete;
  LeakCheckPause& operator=(const LeakCheckPause&) = delete;
};
#else
struct LeakCheckPause {};
#endif

// A font configuration holding the files above and no rules: neither the user's fonts nor
// their settings change how text sets. Shared by every thread (fontconfig locks it), kept for
// the process's life.
FcConfig* systemFontConfig() {
  static FcConfig* const config = [] {
    // Fontconfig keeps its fonts' details behind offsets, where a leak checker cannot follow
    // them from the configuration that holds them.
    [[maybe_unused]] const LeakCheckPause pause;
    // Pango's font maps have fontconfig load its default configuration, which this one
    // replaces; done here first, it is not done in a thread of Pango's.
    FcInit();
    FcConfig* made = FcConfigCreate();
    for (const char* path : kFontFiles) {
      if (!FcConfigAppFontAddFile(made, reinterpret_cast<const FcChar8*>(path))) {
        FcConfigDestroy(made);
        throw std::runtime_error(std::string("cannot read the system font's file ") + path +
                                 " (Debian packages fonts-inter and fonts-dejavu-core)");
      }
    }
    return made;
  }();
  return config;
}

// Pango's font maps and contexts are not safe to share between threads, so each thread that
// sets text has its own, made once: making them, and the fonts they then cache, is what costs.
class ThreadContext {
 public:
  ThreadContext() {
    FcConfig* config = systemFontConfig();
    fontMap_.reset(pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT));
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap_.get()), config);
    context_.reset(pango_font_map_create_context(fontMap_.get()));
    FontOptionsHandle options(cairo_font_options_create());
    cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context_.get(), options.get());
    pango_context_set_round_glyph_positions(context_.get(), FALSE);
  }

  PangoContext* get() const { return context_.get(); }

 private:
  std::unique_ptr<PangoFontMap, GObjectRelease> fontMap_;
  std::unique_ptr<PangoContext, GObjectRelease> context_;
};

// The platform's named weights against the CSS weights of the faces that carry them; weights
// between are interpolated and the closest face drawn.
struct NamedWeight {
  double weight;
  double css;
};
constexpr std::array<NamedWeight, 9> kNamedWeights{{{-0.8, 100},
                                                    {-0.6, 200},
                                                    {UIFontWeightLight, 300},
                                                    {UIFontWeightRegular, 400},
                                                    {UIFontWeightMedium, 500},
                                                    {UIFontWeightSemibold, 600},
                                                    {UIFontWeightBold, 700},
                                                    {0.56, 800},
                                                    {0.62, 900}}};

PangoWeight pangoWeight(double weight) {
  if (!std::isfinite(weight)) return PANGO_WEIGHT_NORMAL;
  weight = std::clamp(weight, kNamedWeights.front().weight, kNamedWeights.back().weight);
  auto above = std::find_if(kNamedWeights.begin(), kNamedWeights.end(),
                            [&](const NamedWeight& named) { return named.weight >= weight; });
  if (above == kNamedWeights.begin()) return static_cast<PangoWeight>(above->css);
  auto below = std::prev(above);
  double along = (weight - below->weight) / (above->weight - below->weight);
  return static_cast<PangoWeight>(std::lround(below->css + along * (above->css - below->css)));
}

}  // namespace

PangoContext* textContext() {
  thread_local const ThreadContext context;
  return context.get();
}

FontDescriptionHandle describeFont(const TextFont& font) {
  FontDescriptionHandle description(pango_font_description_new());
  pango_font_description_set_family_static(description.get(), font.size >= kDisplaySize
                                                                  ? "Inter Display,DejaVu Sans"
                                                                  : "Inter,DejaVu Sans");
  pango_font_description_set_weight(description.get(), pangoWeight(font.weight));
  pango_font_description_set_absolute_size(description.get(), font.size * PANGO_SCALE);
  return description;
}

}  // namespace rendering
