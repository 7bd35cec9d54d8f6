#include "source/menu/separator_visibility.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "source/menu/menu_state.h"
#include "source/settings/settings.h"
#include "source/styling_support.h"

namespace separator_visibility {
namespace {

constexpr std::string_view kItemSeparator = "_UIContextMenuReusableSeparatorView";
constexpr std::string_view kSectionSeparator = "UICollectionReusableView";

// A collection view's direct subviews, each described once, when first asked for: one entry
// into a window runs several steps over them, and a description costs more than the steps.
class DescribedSubviews {
 public:
  explicit DescribedSubviews(UIView* view) : view_(view) {}

  // Calls action with each subview whose description holds any of the words.
  template <class Action>
  void forEachMatching(std::initializer_list<std::string_view> words, Action action) {
    if (!described_) describe();
    for (const auto& [subview, description] : *described_) {
      for (std::string_view word : words) {
        if (mentions(description, word)) {
          action(subview.get());
          break;
        }
      }
    }
  }

  void hideMatching(std::initializer_list<std::string_view> words) {
    forEachMatching(words, [](UIView* subview) { subview->setHidden(true); });
  }

 private:
  void describe() {
    described_.emplace();
    for (const auto& subview : view_->subviews())
      described_->emplace_back(subview, ::describe(subview.get()));
  }

  UIView* view_;
  std::optional<std::vector<std::pair<Ref<UIView>, std::string>>> described_;
};

// Colours the item separators and reshapes them from their current frames: inset by width on
// each side, thickness tall.
void restyleItemSeparators(UIView* view, DescribedSubviews& subviews, const Ref<UIColor>& color,
                           double width, double thickness, bool rounded) {
  subviews.forEachMatching({kItemSeparator}, [&](UIView* separator) {
    separator->setBackgroundColor(color);
    if (rounded) {
      separator->layer()->setCornerRadius(1.0);
      view->layer()->setCornerRadius(1.0);
    }
    CGRect frame = insetHorizontally(separator->frame(), width, width);
    frame.size.height = thickness;
    separator->setFrame(frame);
  });
}

// With both switches on, only the item separators go.
void hideForHomeScreen(DescribedSubviews& subviews) {
  const Settings& s = settings();
  if (s.hideHSThinSep) {
    subviews.hideMatching({kItemSeparator});
  } else if (s.hideHSBoldSep) {
    subviews.hideMatching({kSectionSeparator});
  }
}

// From 16 the home screen's choice applies on either screen; before 16 the menu goes without
// separators of either kind, whatever the settings.
void hideForSystemVersion(DescribedSubviews& subviews, long majorVersion) {
  if (majorVersion >= 16) {
    hideForHomeScreen(subviews);
  } else {
    subviews.hideMatching({kSectionSeparator, kItemSeparator});
  }
}

void styleForLockScreen(UIView* view, DescribedSubviews& subviews) {
  const Settings& s = settings();
  if (s.colorLSBoldSeparators || s.colorLSThinSeparators) {
    restyleItemSeparators(view, subviews, menuState().color2, s.LSsepWidth, s.LSsepthickness, true);
  }
  if (s.LSfuckSep) subviews.hideMatching({kSectionSeparator});
}

void styleForHomeScreen(UIView* view, DescribedSubviews& subviews) {
  const Settings& s = settings();
  if (s.colorHSBoldSeparators || s.colorHSThinSeparators) {
    restyleItemSeparators(view, subviews, menuState().color, s.sepWidth, s.septhickness, false);
  }
  hideForHomeScreen(subviews);
}

}  // namespace

hook_boundary::HostMethod hostDidMoveToWindow;

void didMoveToWindow(UICollectionView* self, SEL cmd) {
  hostDidMoveToWindow.call<void>(self, cmd);
  if (!settings().enabled) return;
  const bool lockScreen = isLockScreenVisible();
  const long majorVersion = systemMajorVersion();
  DescribedSubviews subviews(self);
  if (lockScreen) {
    styleForLockScreen(self, subviews);
  } else {
    styleForHomeScreen(self, subviews);
  }
  hideForSystemVersion(subviews, majorVersion);
}

void hideViewsMatchingSubstring(UICollectionView* self, SEL, NSString* substring) {
  if (substring) DescribedSubviews(self).hideMatching({substring->string()});
}

void adjustSeparatorForiOS16AndAbove(UICollectionView* self, SEL) {
  DescribedSubviews subviews(self);
  hideForHomeScreen(subviews);
}

void adjustSeparatorForiOS15AndBelow(UICollectionView* self, SEL) {
  DescribedSubviews(self).hideMatching({kSectionSeparator, kItemSeparator});
}

void handleSeparatorVisibilityForNonLockScreen(UICollectionView* self, SEL) {
  DescribedSubviews subviews(self);
  hideForHomeScreen(subviews);
}

}  // namespace separator_visibility
