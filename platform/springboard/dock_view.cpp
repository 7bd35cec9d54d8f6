#include "platform/springboard/dock_view.h"

#include "platform/springboard/internal/class_definitions.h"
#include "platform/springboard/internal/system_view.h"
#include "platform/springboard/material_view.h"

namespace {

using springboard_classes::systemView;

constexpr double kInset = 10, kHeight = 96, kCornerRadius = 34, kBlur = 20;

}  // namespace

CGRect dockFrame(const CGRect& screenBounds) {
  return CGRectMake(kInset, screenBounds.height() - kInset - kHeight,
                    screenBounds.width() - 2 * kInset, kHeight);
}

// Four places across the dock, each icon's artwork centred in its place.
CGRect dockIconFrame(size_t place, const CGRect& screenBounds) {
  constexpr size_t kPlaces = 4;
  const CGRect dock = dockFrame(screenBounds);
  const double width = dock.width() / kPlaces;
  const CGSize size = SBIconView::kSize;
  return {{dock.minX() + width * static_cast<double>(place) + (width - size.width) / 2,
           dock.minY() + (dock.height() - SBIconView::kImageSide) / 2},
          size};
}

Ref<UIView> buildDock(const std::vector<Ref<SBIconView>>& icons, const CGRect& screenBounds) {
  auto dock = systemView("SBDockView");
  dock->setFrame(dockFrame(screenBounds));
  Ref<UIView> material = makeBackdropMaterial(kBlur);
  material->setFrame(dock->bounds());
  material->layer()->setCornerRadius(kCornerRadius);
  material->setClipsToBounds(true);
  dock->addSubview(material);
  auto list = systemView("SBDockIconListView");
  list->setFrame(dock->bounds());
  for (const auto& icon : icons) {
    // The dock shows its apps' artwork alone.
    icon->label()->setHidden(true);
    list->addSubview(icon);
  }
  const CGPoint origin = dock->frame().origin;
  for (size_t place = 0; place < icons.size(); ++place) {
    CGRect frame = dockIconFrame(place, screenBounds);
    icons[place]->setFrame({{frame.minX() - origin.x, frame.minY() - origin.y}, frame.size});
  }
  dock->addSubview(list);
  return dock;
}

namespace springboard_classes {

void defineDockClasses(const SystemHas& systemHas) {
  defineSystemSubclass(systemHas, "SBDockView", "UIView");
  defineSystemSubclass(systemHas, "SBIconListView", "UIView");
  defineSystemSubclass(systemHas, "SBDockIconListView", "SBIconListView");
}

}  // namespace springboard_classes
