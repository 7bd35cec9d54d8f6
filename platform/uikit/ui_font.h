#pragma once

#include <string>
#include <vector>

#include "platform/foundation/ns_string.h"

// The weights the system font comes in, as the platform numbers them.
inline constexpr double UIFontWeightRegular = 0.0;
inline constexpr double UIFontWeightMedium = 0.23;
inline constexpr double UIFontWeightSemibold = 0.3;
inline constexpr double UIFontWeightBold = 0.4;
inline constexpr double UIFontWeightLight = -0.4;

// A font: a family name, a size in points and a weight. Immutable. "System" names the system
// font; monospaced digits keep numbers from jumping as they change.
class UIFont : public NSObject {
 public:
  static Ref<UIFont> systemFontOfSize(double size, double weight = UIFontWeightRegular);
  static Ref<UIFont> monospacedDigitSystemFontOfSize(double size, double weight);
  // Any family name is accepted; the host draws what it has closest to it.
  static Ref<UIFont> fontWithName(std::string name, double size);

  const std::string& fontName() const { return name_; }
  double pointSize() const { return size_; }
  double weight() const { return weight_; }
  bool monospacedDigits() const { return monospacedDigits_; }

 private:
  std::string name_ = "System";
  double size_ = 17;
  double weight_ = UIFontWeightRegular;
  bool monospacedDigits_ = false;
};

// Text with fonts over ranges of its characters (UTF-8 byte offsets); characters outside
// every run take the label's own font.
class NSAttributedString : public NSObject {
 public:
  struct Run {
    size_t location = 0;
    size_t length = 0;
    Ref<UIFont> font;
  };
  static Ref<NSAttributedString> from(std::string text, std::vector<Run> runs = {});

  const std::string& string() const { return text_; }
  const std::vector<Run>& runs() const { return runs_; }

 private:
  std::string text_;
  std::vector<Run> runs_;
};

void defineFontClasses();
