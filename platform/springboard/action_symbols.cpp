#include "platform/springboard/action_symbols.h"

#include <map>
#include <utility>

#include "platform/runtime/no_destructor.h"
#include "platform/uikit/rendering/image_context.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "platform/uikit/ui_label.h"

namespace {

constexpr double kSide = 20;

// Words of a title and the glyph that stands for them, first match first.
constexpr std::pair<std::string_view, std::string_view> kSymbols[] = {
    {"Share", "⇪"},      {"Edit", "⊞"},    {"Remove", "⊖"},   {"Delete", "⊖"},  {"Rename", "✎"},
    {"New", "✎"},        {"Search", "◎"},  {"Favorite", "★"}, {"Mute", "☾"},    {"Turn Off", "⊗"},
    {"Settings", "⚙"},   {"Call", "☎"},    {"Contact", "☎"},  {"Shuffle", "⟲"}, {"Check", "⟲"},
    {"Directions", "⌂"}, {"Today", "☀"},   {"Continue", "▶"}, {"Resume", "▶"},  {"Start", "▶"},
    {"Reading", "▶"},    {"Message", "✉"}, {"Wi-Fi", "⌁"},    {"Battery", "▭"}, {"Library", "▤"},
    {"Create", "⊕"},     {"Mark", "✓"},    {"Copy", "⧉"},
};

std::string_view glyphFor(std::string_view title) {
  for (const auto& [words, glyph] : kSymbols) {
    if (title.find(words) != std::string_view::npos) return glyph;
  }
  return "○";
}

Ref<UIImage> drawGlyph(std::string_view glyph) {
  auto label = objc::make<UILabel>();
  label->setText(NSString::from(std::string(glyph)));
  label->setFontSize(17);
  label->setTextAlignment(NSTextAlignmentCenter);
  label->setFrame(CGRectMake(0, 0, kSide, kSide));
  UIGraphicsBeginImageContextWithOptions({kSide, kSide}, false, 0);
  drawViewHierarchy(label.get(), label->bounds());
  Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  return image;
}

}  // namespace

Ref<UIImage> actionSymbolImage(std::string_view title) {
  static objc::NoDestructor<std::map<std::pair<std::string_view, bool>, Ref<UIImage>>> drawn;
  const std::string_view glyph = glyphFor(title);
  const bool dark = UITraitCollection::systemUserInterfaceStyle() == UIUserInterfaceStyleDark;
  auto [entry, added] = drawn->try_emplace({glyph, dark});
  if (added) entry->second = drawGlyph(glyph);
  return entry->second;
}
