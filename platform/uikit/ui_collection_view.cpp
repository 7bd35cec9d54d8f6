#include "platform/uikit/ui_collection_view.h"

UICollectionViewCell::UICollectionViewCell() : contentView_(objc::make<UIView>()) {
  addSubview(contentView_);
}

void UICollectionViewCell::setContentView(Ref<UIView> contentView) {
  contentView_->removeFromSuperview();
  contentView_ = std::move(contentView);
  insertSubview(contentView_, 0);
}

void UICollectionView::layOutItemsIfInvalid() {
  if (bounds().size != laidOutSize_ || subviews().size() != laidOutItems_) layOutItems();
}

void UICollectionView::layOutItems() {
  laidOutSize_ = bounds().size;
  laidOutItems_ = subviews().size();
  constexpr double kRowHeight = 44, kSectionGap = 8, kHairline = 1.0 / 3.0;
  const double width = bounds().width();
  double y = 0;
  for (const auto& item : subviews()) {
    auto* reusable = dynamic_cast<UICollectionReusableView*>(item.get());
    if (dynamic_cast<UICollectionViewCell*>(item.get())) {
      item->setFrame(CGRectMake(0, y, width, kRowHeight));
      y += kRowHeight;
    } else if (reusable && reusable->reuseIdentifier()) {
      item->setFrame(CGRectMake(0, y, width, kSectionGap));
      y += kSectionGap;
    } else if (reusable) {
      item->setFrame(CGRectMake(0, y, width, kHairline));
    }
  }
  setContentSize({width, y});
}
