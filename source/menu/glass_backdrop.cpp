#include "source/menu/glass_backdrop.h"

#include <array>
#include <optional>
#include <string>

#include "source/settings/settings.h"
#include "source/styling_support.h"

namespace glass_backdrop {
namespace {

using objc::msgSend;
using objc::sel;

// Glass under these belongs to control centre, action sheets and the home screen's boards, not
// to a menu. The home screen's list has "Borad", the lock screen's "Board": each screen is
// matched against its own list.
constexpr std::array<std::string_view, 3> kHomeScreenExclusions = {"CC", "Action", "Borad"};
constexpr std::array<std::string_view, 3> kLockScreenExclusions = {"CC", "Action", "Board"};

// The backdrop's superview, its superview and the one above (any may be absent), each with its
// description.
struct Surroundings {
  std::array<UIView*, 3> views{};
  std::array<std::string, 3> descriptions;
};

// The surroundings of backdrop, unless some ancestor mentions one of the exclusions. Each
// ancestor's description is built once.
std::optional<Surroundings> surroundingsUnlessExcluded(
    UIView* backdrop, const std::array<std::string_view, 3>& exclusions) {
  Surroundings surroundings;
  size_t level = 0;
  for (UIView* ancestor = backdrop->superview(); ancestor; ancestor = ancestor->superview()) {
    std::string description = describe(ancestor);
    for (std::string_view word : exclusions) {
      if (mentions(description, word)) return std::nullopt;
    }
    if (level < surroundings.views.size()) {
      surroundings.views[level] = ancestor;
      surroundings.descriptions[level] = std::move(description);
    }
    ++level;
  }
  return surroundings;
}

void applyCornerRadius(UIView* backdrop, double radius, UIView* view) {
  static const SEL toView = sel("applyCornerRadius:toView:");
  msgSend<void>(backdrop, toView, radius, view);
}

bool mentionsNeitherAlertNorCC(const std::string& description) {
  return !mentions(description, "Alert") && !mentions(description, "CC");
}

void roundForHomeScreen(UIView* backdrop, double radius) {
  std::optional<Surroundings> around = surroundingsUnlessExcluded(backdrop, kHomeScreenExclusions);
  if (!around) return;
  const auto& [parent, grandparent, above] = around->views;
  const auto& [parentText, grandparentText, aboveText] = around->descriptions;
  applyCornerRadius(backdrop, radius, backdrop);
  if (parent && mentions(parentText, "UIVisualEffectView") &&
      mentionsNeitherAlertNorCC(parentText)) {
    applyCornerRadius(backdrop, radius, parent);
  }
  if (grandparent && mentions(grandparentText, "UIView") &&
      mentionsNeitherAlertNorCC(grandparentText)) {
    applyCornerRadius(backdrop, radius, grandparent);
  }
  if (above && mentions(aboveText, "Context") && mentionsNeitherAlertNorCC(aboveText)) {
    applyCornerRadius(backdrop, radius, above);
  }
}

// The lock screen rounds the backdrop's whole subtree whatever surrounds it, and never the
// grandparent.
void roundForLockScreen(UIView* backdrop, double radius) {
  msgSend<void>(backdrop, sel("applyCornerRadius:toAllSubviewsOfView:"), radius, backdrop);
  std::optional<Surroundings> around = surroundingsUnlessExcluded(backdrop, kLockScreenExclusions);
  if (!around) return;
  const auto& [parent, grandparent, above] = around->views;
  const auto& [parentText, grandparentText, aboveText] = around->descriptions;
  applyCornerRadius(backdrop, radius, backdrop);
  if (parent && mentions(parentText, "UIVisualEffectView")) {
    applyCornerRadius(backdrop, radius, parent);
  }
  if (above && mentions(aboveText, "Context")) applyCornerRadius(backdrop, radius, above);
}

}  // namespace

hook_boundary::HostMethod hostBackdropLayoutSubviews;

void backdropLayoutSubviews(UIView* self, SEL cmd) {
  hostBackdropLayoutSubviews.call<void>(self, cmd);
  if (!settings().enabled) return;
  const Settings& s = settings();
  const bool lockScreen = isLockScreenVisible();
  if (!lockScreen && s.elegantBorder) roundForHomeScreen(self, s.cornerRadius);
  if (lockScreen && s.LSelegantBorder) roundForLockScreen(self, s.LScornerRadius);
}

// Only the views' own layers: sublayers that belong to no view keep their corners.
void applyCornerRadiusToAllSubviewsOfView(UIView* self, SEL, double radius, UIView* view) {
  if (!view) return;
  view->layer()->setCornerRadius(radius);
  view->layer()->setMasksToBounds(true);
  for (const auto& subview : view->subviews()) {
    msgSend<void>(self, sel("applyCornerRadius:toAllSubviewsOfView:"), radius, subview.get());
  }
}

void applyCornerRadiusToView(UIView*, SEL, double radius, UIView* view) {
  if (!view) return;
  CALayer* layer = view->layer();
  layer->setCornerRadius(radius);
  layer->setMasksToBounds(true);
  for (const auto& sublayer : layer->sublayers()) {
    sublayer->setCornerRadius(radius);
    sublayer->setMasksToBounds(true);
  }
}

}  // namespace glass_backdrop
