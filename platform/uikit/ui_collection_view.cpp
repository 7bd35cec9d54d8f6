#include "platform/uikit/ui_collection_view.h"

UICollectionViewCell::UICollectionViewCell() : contentView_(objc::make<UIView>()) {
  addSubview(contentView_);
}
