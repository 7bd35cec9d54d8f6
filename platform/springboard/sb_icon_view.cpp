#include "platform/springboard/sb_icon_view.h"

#include <algorithm>

#include "platform/springboard/internal/class_definitions.h"

Ref<SBSApplicationShortcutItem> SBSApplicationShortcutItem::itemWithTitle(std::string title) {
  auto item = objc::make<SBSApplicationShortcutItem>();
  item->localizedTitle_ = NSString::from(std::move(title));
  return item;
}

SBIconView::SBIconView()
    : imageView_(objc::createInstance<SBIconImageView>(objc_getClass("SBIconImageView"))),
      label_(objc::make<UILabel>()) {
  setFrame({{0, 0}, kSize});
  imageView_->setFrame(CGRectMake((kSize.width - kImageSide) / 2, 0, kImageSide, kImageSide));
  imageView_->layer()->setCornerRadius(13.5);
  imageView_->setClipsToBounds(true);
  label_->setFrame(CGRectMake(0, kImageSide + 6, kSize.width, 16));
  label_->setFontSize(12);
  label_->setTextAlignment(NSTextAlignmentCenter);
  label_->setTextColor(UIColor::whiteColor());
  addSubview(imageView_);
  addSubview(label_);
}

void SBIconView::setIcon(Ref<SBIcon> icon) {
  icon_ = std::move(icon);
  imageView_->setImage(icon_ ? icon_->image() : nullptr);
  label_->setText(icon_ ? icon_->displayName() : nullptr);
  for (auto subviews = imageView_->subviews(); const auto& miniature : subviews) {
    miniature->removeFromSuperview();
  }
  imageView_->setBackgroundColor(nullptr);
  if (auto* folderIcon = dynamic_cast<SBFolderIcon*>(icon_.get())) {
    showFolderContents(folderIcon->folder());
  }
}

// A folder's tile: a translucent plate with its first nine icons, three to a row.
void SBIconView::showFolderContents(const SBFolder* folder) {
  imageView_->setBackgroundColor(
      UIColor::dynamicColor(Color::rgb(1, 1, 1, 0.35), Color::rgb(0.2, 0.2, 0.22, 0.5)));
  if (!folder) return;
  constexpr double kMargin = 7, kGap = 3;
  const double side = (kImageSide - 2 * kMargin - 2 * kGap) / 3;
  size_t shown = std::min<size_t>(folder->icons().size(), 9);
  for (size_t i = 0; i < shown; ++i) {
    auto miniature = objc::make<UIImageView>();
    miniature->setImage(folder->icons()[i]->image());
    miniature->setFrame(CGRectMake(kMargin + (i % 3) * (side + kGap),
                                   kMargin + (i / 3) * (side + kGap), side, side));
    miniature->layer()->setCornerRadius(3);
    miniature->setClipsToBounds(true);
    imageView_->addSubview(miniature);
  }
}

namespace springboard_classes {

void defineIconViewClasses(const SystemHas& systemHas) {
  if (systemHas("SBSApplicationShortcutItem")) {
    objc::Class* item =
        objc::defineClass<SBSApplicationShortcutItem, NSObject>("SBSApplicationShortcutItem");
    objc::addMethod(item, "localizedTitle", [](SBSApplicationShortcutItem* self, SEL) {
      return Ref<NSString>(self->localizedTitle());
    });
  }
  objc::addMethod(objc::defineClass<SBIconImageView, UIImageView>("SBIconImageView"),
                  "displayedImage",
                  [](SBIconImageView* self, SEL) { return Ref<UIImage>(self->image()); });
  if (!systemHas("SBIconView")) return;
  objc::Class* iconView = objc::defineClass<SBIconView, UIView>("SBIconView");
  objc::addMethod(iconView, "applicationShortcutItems", [](SBIconView* self, SEL) {
    return NSArray::from(
        NSArray::Objects(self->shortcutItems().begin(), self->shortcutItems().end()));
  });
  objc::addMethod(iconView, "icon",
                  [](SBIconView* self, SEL) { return Ref<SBIcon>(self->icon()); });
  objc::addMethod(iconView, "folder", [](SBIconView* self, SEL) {
    return objc::msgSend<Ref<SBFolder>>(self->icon(), objc::sel("folder"));
  });
  objc::addMethod(iconView, "currentImageView", [](SBIconView* self, SEL) {
    return Ref<SBIconImageView>(self->currentImageView());
  });
}

}  // namespace springboard_classes
