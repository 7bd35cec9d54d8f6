#include "platform/springboard/folder_view.h"

#include <algorithm>

#include "platform/springboard/internal/class_definitions.h"
#include "platform/springboard/internal/system_view.h"
#include "platform/springboard/material_view.h"

namespace {

using springboard_classes::systemView;

constexpr size_t kColumns = 3;
constexpr double kMargin = 40, kPadding = 22, kRowHeight = 100, kCornerRadius = 38;
constexpr double kTitleGap = 24, kTitleHeight = 44;
constexpr double kScreenBlur = 24, kPlateBlur = 20;

Ref<UIView> filling(Ref<UIView> view, const CGRect& bounds) {
  view->setFrame(bounds);
  return view;
}

// The plate is square while it holds up to nine icons (three rows), taller beyond.
CGRect plateFrame(size_t icons, const CGRect& screen) {
  const double width = screen.width() - 2 * kMargin;
  const size_t rows = std::max<size_t>(3, (icons + kColumns - 1) / kColumns);
  const double height = std::max(width, 2 * kPadding + rows * kRowHeight);
  return CGRectMake(kMargin, (screen.height() - height) / 2, width, height);
}

Ref<UIView> iconList(const std::vector<Ref<SBIconView>>& icons, const CGRect& bounds) {
  auto list = filling(systemView("SBFolderIconListView"), bounds);
  const double gap = (bounds.width() - kColumns * SBIconView::kSize.width) / (kColumns + 1);
  for (size_t i = 0; i < icons.size(); ++i) {
    const double column = static_cast<double>(i % kColumns),
                 row = static_cast<double>(i / kColumns);
    icons[i]->setFrame(
        {{gap + column * (SBIconView::kSize.width + gap), kPadding + row * kRowHeight},
         SBIconView::kSize});
    list->addSubview(icons[i]);
  }
  return list;
}

Ref<UIView> titleField(const std::string& title, const CGRect& plate) {
  auto field = systemView("SBFolderTitleTextField");
  field->setFrame(CGRectMake(plate.minX(), plate.minY() - kTitleGap - kTitleHeight, plate.width(),
                             kTitleHeight));
  if (auto* label = dynamic_cast<UILabel*>(field.get())) {
    label->setText(NSString::from(title));
    label->setTextFont({.size = 32, .weight = UIFontWeightBold});
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setTextColor(UIColor::whiteColor());
  }
  return field;
}

}  // namespace

OpenFolderView buildOpenFolder(const std::string& title, const std::vector<Ref<SBIconView>>& icons,
                               const CGRect& screenBounds) {
  OpenFolderView folder;
  folder.container = filling(systemView("SBFolderContainerView"), screenBounds);
  auto backdrop = filling(systemView("SBHomeScreenBackdropView"), screenBounds);
  Ref<UIView> blur = filling(makeBackdropMaterial(kScreenBlur), screenBounds);
  blur->setBackgroundColor(
      UIColor::dynamicColor(Color::rgb(0, 0, 0, 0.12), Color::rgb(0, 0, 0, 0.32)));
  backdrop->addSubview(blur);
  folder.container->addSubview(backdrop);

  auto floaty = filling(systemView("SBFloatyFolderView"), screenBounds);
  const CGRect plate = plateFrame(icons.size(), screenBounds);
  folder.title = titleField(title, plate);
  floaty->addSubview(folder.title);
  folder.plate = filling(systemView("SBFloatyFolderBackgroundClipView"), plate);
  folder.plate->layer()->setCornerRadius(kCornerRadius);
  folder.plate->setClipsToBounds(true);
  const CGRect inside{{0, 0}, plate.size};
  auto background = filling(systemView("SBFolderBackgroundView"), inside);
  background->addSubview(filling(makeBackdropMaterial(kPlateBlur), inside));
  folder.plate->addSubview(background);
  auto scroll = filling(systemView("SBIconScrollView"), inside);
  scroll->addSubview(iconList(icons, inside));
  folder.plate->addSubview(scroll);
  floaty->addSubview(folder.plate);
  folder.container->addSubview(floaty);
  return folder;
}

namespace springboard_classes {

void defineFolderClasses(const SystemHas& systemHas) {
  defineSystemSubclass(systemHas, "SBFolderContainerView", "UIView");
  defineSystemSubclass(systemHas, "SBHomeScreenBackdropView", "UIView");
  defineSystemSubclass(systemHas, "SBFolderView", "UIView");
  defineSystemSubclass(systemHas, "SBFloatyFolderView", "SBFolderView");
  defineSystemSubclass(systemHas, "SBFloatyFolderBackgroundClipView", "UIView");
  defineSystemSubclass(systemHas, "SBFolderBackgroundView", "UIView");
  defineSystemSubclass(systemHas, "SBIconScrollView", "UIScrollView");
  defineSystemSubclass(systemHas, "SBFolderIconListView", "SBIconListView");
  defineSystemSubclass(systemHas, "SBFolderTitleTextField", "UILabel");
}

}  // namespace springboard_classes
