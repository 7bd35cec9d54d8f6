#include "platform/springboard/context_menu.h"

#include <algorithm>

#include "platform/foundation/process_info.h"
#include "platform/springboard/action_symbols.h"
#include "platform/uikit/ui_collection_view.h"
#include "platform/uikit/ui_image_view.h"
#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_stack_view.h"
#include "platform/uikit/ui_visual_effect_view.h"

namespace {

constexpr double kCornerRadius = 13;

// An instance of a class of the system, by name, stored as T (a view when the system lacks the
// class, so the tree keeps its shape).
template <class T = UIView>
Ref<T> systemView(const char* className) {
  objc::Class* cls = objc_getClass(className);
  return cls ? objc::createInstance<T>(cls) : objc::make<T>();
}

Ref<UIView> effectViewWithBackdrop() {
  auto effect = objc::make<UIVisualEffectView>();
  effect->addSubview(systemView("_UIVisualEffectBackdropView"));
  return effect;
}

Ref<UIView> clippingView() {
  auto view = objc::make<UIView>();
  view->setClipsToBounds(true);
  view->layer()->setCornerRadius(kCornerRadius);
  return view;
}

Ref<UIView> actionCell(const std::string& title) {
  auto cell = systemView<UICollectionViewCell>("_UIContextMenuCell");
  auto content = systemView("_UIContextMenuCellContentView");
  auto labels = objc::make<UIStackView>();
  auto label = objc::make<UILabel>();
  label->setText(NSString::from(title));
  label->setFontSize(17);
  labels->addArrangedSubview(label);
  content->addSubview(labels);
  // The action's icon, then a second image view: trailing and leading image views on 15,
  // icon and decoration image views later.
  auto icon = objc::make<UIImageView>();
  icon->setImage(actionSymbolImage(title));
  content->addSubview(icon);
  content->addSubview(objc::make<UIImageView>());
  cell->setContentView(content);
  return cell;
}

Ref<UIView> itemSeparator(long version) {
  auto separator = systemView<UICollectionReusableView>("_UIContextMenuReusableSeparatorView");
  auto line = UIColor::dynamicColor(Color::rgb(0, 0, 0, 0.16), Color::rgb(1, 1, 1, 0.16));
  if (version >= 17) {
    auto inner = systemView("_UIContextMenuSeparatorView");
    inner->setBackgroundColor(line);
    separator->addSubview(inner);
  } else {
    separator->setBackgroundColor(line);
  }
  return separator;
}

Ref<UIView> sectionSeparator() {
  auto separator = objc::make<UICollectionReusableView>();
  separator->setReuseIdentifier(NSString::from("kContextMenuSectionSeparator"));
  separator->setBackgroundColor(
      UIColor::dynamicColor(Color::rgb(0, 0, 0, 0.08), Color::rgb(0, 0, 0, 0.25)));
  separator->addSubview(systemView("MTMaterialView"));
  return separator;
}

Ref<UICollectionView> actionList(const std::vector<std::vector<std::string>>& sections,
                                 long version) {
  auto collection = objc::make<UICollectionView>();
  bool first = true;
  for (const auto& section : sections) {
    if (section.empty()) continue;
    if (!first) collection->addSubview(sectionSeparator());
    first = false;
    for (size_t i = 0; i < section.size(); ++i) {
      if (i > 0) collection->addSubview(itemSeparator(version));
      collection->addSubview(actionCell(section[i]));
    }
  }
  return collection;
}

double listHeight(const std::vector<std::vector<std::string>>& sections) {
  double height = 0;
  int shown = 0;
  for (const auto& section : sections) {
    if (section.empty()) continue;
    height += section.size() * kContextMenuRowHeight + (shown++ ? kContextMenuSectionGap : 0);
  }
  return height;
}

// Below the pressed view when it fits, else above; inside the screen's margins.
CGRect menuFrame(const MenuLayoutRequest& request, const CGRect& presentingBounds) {
  constexpr double kMargin = 16, kGap = 12;
  const double height = listHeight(request.sections);
  double x = std::clamp(request.anchor.minX(), kMargin,
                        std::max(kMargin, presentingBounds.width() - kContextMenuWidth - kMargin));
  double y = request.anchor.maxY() + kGap;
  if (y + height > presentingBounds.height() - kMargin) {
    y = std::max(kMargin, request.anchor.minY() - kGap - height);
  }
  return CGRectMake(x, y, kContextMenuWidth, height);
}

Ref<UIView> listView(const MenuLayoutRequest& request, const CGRect& bounds, long version) {
  auto list = systemView("_UIContextMenuListView");
  list->setFrame(bounds);
  list->addSubview(systemView("_UICutoutShadowView"));
  Ref<UIView> clipping = clippingView();
  list->addSubview(clipping);
  if (version < 16) {
    Ref<UIView> bottom = clippingView();
    clipping->addSubview(bottom);
    clipping = bottom;
  }
  Ref<UICollectionView> collection = actionList(request.sections, version);
  clipping->addSubview(effectViewWithBackdrop());
  clipping->addSubview(collection);
  collection->setFrame(bounds);
  collection->layOutItems();
  if (version >= 17) list->addSubview(objc::make<UIView>());  // the border view
  return list;
}

Ref<UIView> previewPlatter(const MenuLayoutRequest& request, long version) {
  auto transition = systemView("_UIContextMenuPlatterTransitionView");
  transition->setFrame(request.anchor);
  if (version < 16) {
    if (request.preview) transition->addSubview(request.preview);
    return transition;
  }
  auto morphing = systemView("_UIMorphingPlatterView");
  morphing->setFrame({{0, 0}, request.anchor.size});
  if (request.preview) morphing->addSubview(request.preview);
  transition->addSubview(morphing);
  return transition;
}

}  // namespace

Ref<UIView> buildContextMenu(const MenuLayoutRequest& request, const CGRect& presentingBounds) {
  const long version =
      static_cast<long>(NSProcessInfo::processInfo()->operatingSystemVersion().majorVersion);
  auto container = systemView("_UIContextMenuContainerView");
  container->setFrame(presentingBounds);
  auto platter = objc::make<UIView>();
  platter->setFrame(container->bounds());
  auto dimming = effectViewWithBackdrop();
  dimming->setFrame(platter->bounds());
  platter->addSubview(dimming);
  platter->addSubview(previewPlatter(request, version));

  auto menu = systemView("_UIContextMenuView");
  menu->setFrame(menuFrame(request, presentingBounds));
  menu->addSubview(listView(request, menu->bounds(), version));
  platter->addSubview(menu);
  container->addSubview(platter);
  return container;
}
