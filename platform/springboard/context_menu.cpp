#include "platform/springboard/context_menu.h"

#include <algorithm>

#include "platform/uikit/ui_collection_view.h"
#include "platform/uikit/ui_image_view.h"
#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_stack_view.h"
#include "platform/uikit/ui_visual_effect_view.h"

namespace {

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

Ref<UIView> actionCell(const std::string& title) {
  auto cell = systemView<UICollectionViewCell>("_UIContextMenuCell");
  auto content = systemView("_UIContextMenuCellContentView");
  auto labels = objc::make<UIStackView>();
  auto label = objc::make<UILabel>();
  label->setText(NSString::from(title));
  label->setFontSize(17);
  labels->addArrangedSubview(label);
  content->addSubview(labels);
  content->addSubview(objc::make<UIImageView>());
  cell->contentView()->addSubview(content);
  return cell;
}

Ref<UICollectionReusableView> separator(const char* className, const char* reuseIdentifier) {
  auto view = systemView<UICollectionReusableView>(className);
  if (reuseIdentifier) view->setReuseIdentifier(NSString::from(reuseIdentifier));
  return view;
}

Ref<UIView> actionList(const std::vector<std::vector<std::string>>& sections) {
  auto collection = objc::make<UICollectionView>();
  bool first = true;
  for (const auto& section : sections) {
    if (section.empty()) continue;
    if (!first) {
      auto gap = separator("UICollectionReusableView", "kContextMenuSectionSeparator");
      gap->setBackgroundColor(UIColor::colorWithWhite(0, 0.08));
      collection->addSubview(gap);
    }
    first = false;
    for (size_t i = 0; i < section.size(); ++i) {
      if (i > 0) {
        auto line = separator("_UIContextMenuReusableSeparatorView", nullptr);
        line->setBackgroundColor(UIColor::colorWithWhite(0, 0.18));
        collection->addSubview(line);
      }
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

}  // namespace

Ref<UIView> buildContextMenu(const ContextMenuSpec& spec, const CGRect& presentingBounds) {
  auto container = systemView("_UIContextMenuContainerView");
  container->setFrame(presentingBounds);
  auto platter = objc::make<UIView>();
  platter->setFrame(container->bounds());
  auto dimming = effectViewWithBackdrop();
  dimming->setFrame(platter->bounds());
  platter->addSubview(dimming);

  auto transition = systemView("_UIContextMenuPlatterTransitionView");
  auto morphing = systemView("_UIMorphingPlatterView");
  transition->setFrame(spec.anchor);
  morphing->setFrame({{0, 0}, spec.anchor.size});
  if (spec.preview) morphing->addSubview(spec.preview);
  transition->addSubview(morphing);
  platter->addSubview(transition);

  // Below the pressed view when it fits, else above; inside the screen's margins.
  constexpr double kMargin = 16, kGap = 12;
  const double height = listHeight(spec.sections);
  double x = std::clamp(spec.anchor.minX(), kMargin,
                        std::max(kMargin, presentingBounds.width() - kContextMenuWidth - kMargin));
  double y = spec.anchor.maxY() + kGap;
  if (y + height > presentingBounds.height() - kMargin) {
    y = std::max(kMargin, spec.anchor.minY() - kGap - height);
  }
  auto menu = systemView("_UIContextMenuView");
  menu->setFrame(CGRectMake(x, y, kContextMenuWidth, height));
  auto list = systemView("_UIContextMenuListView");
  auto clipping = objc::make<UIView>();
  clipping->setClipsToBounds(true);
  clipping->layer()->setCornerRadius(13);
  clipping->addSubview(effectViewWithBackdrop());
  clipping->addSubview(actionList(spec.sections));
  list->addSubview(systemView("_UICutoutShadowView"));
  list->addSubview(clipping);
  menu->addSubview(list);
  platter->addSubview(menu);
  container->addSubview(platter);
  return container;
}
