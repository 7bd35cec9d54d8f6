#include "source/colors/color_quenby.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

// The platform's hexadecimal scan: white space, an optional 0x, then hexadecimal digits up to
// the first other character; 0 when there is none, all bits set when it does not fit 32 bits.
uint32_t scanHex(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
    ++i;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    i += 2;
  }
  uint64_t value = 0;
  bool overflow = false;
  for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    value = value * 16 + static_cast<uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
    if (value > UINT32_MAX) overflow = true, value = UINT32_MAX;
  }
  return overflow ? UINT32_MAX : static_cast<uint32_t>(value);
}

// A component times 255, truncated, pinned to what a 32-bit integer holds.
int32_t byteOf(double component) {
  double scaled = component * 255.0;
  if (!(scaled > INT32_MIN)) return INT32_MIN;
  return static_cast<int32_t>(std::min(scaled, static_cast<double>(INT32_MAX)));
}

}  // namespace

Ref<UIColor> mirraRGBAColorFromHexString(const NSString* text) {
  if (!text || text->string().empty()) return UIColor::colorWithRed(0, 0, 0, 1);
  const std::string& string = text->string();
  double alpha = 1.0;
  std::string_view colourPart = string;
  if (size_t colon = string.find(':'); colon != std::string::npos) {
    alpha = NSString::from(string.substr(colon + 1))->floatValue();
    colourPart = std::string_view(string).substr(0, colon);
  }
  // The scan runs over the whole text and stops at the ":" by itself.
  uint32_t value = scanHex(std::string_view(string).substr(colourPart.starts_with('#') ? 1 : 0));
  return UIColor::colorWithRed(((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0,
                               (value & 0xFF) / 255.0, alpha);
}

Ref<NSString> mirraHexStringFromColor(const UIColor* color) {
  auto rgba = color ? color->color().rgba() : std::nullopt;
  if (!rgba) return nullptr;
  char text[48];
  // %02X prints the bits of the integer; a component outside 0…1 shows as it is.
  std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(byteOf(rgba->red)),
                static_cast<unsigned>(byteOf(rgba->green)),
                static_cast<unsigned>(byteOf(rgba->blue)));
  return NSString::from(text);
}

bool mirraIsDarkColor(const UIColor* color) {
  auto rgba = color ? color->color().rgba() : std::nullopt;
  if (!rgba) return false;
  double luminance = (299 * rgba->red + 587 * rgba->green + 114 * rgba->blue) / 1000;
  return luminance < 0.5;
}
