#pragma once

#include "platform/foundation/ns_string.h"
#include "platform/uikit/ui_scroll_view.h"

// The views a collection view shows besides its cells (headers, separators…), told apart by
// their reuse identifier.
class UICollectionReusableView : public UIView {
 public:
  NSString* reuseIdentifier() const { return reuseIdentifier_.get(); }
  void setReuseIdentifier(Ref<NSString> identifier) { reuseIdentifier_ = std::move(identifier); }

 private:
  Ref<NSString> reuseIdentifier_;
};

// A cell: a reusable view whose content goes into its content view, made with the cell.
class UICollectionViewCell : public UICollectionReusableView {
 public:
  UICollectionViewCell();
  UIView* contentView() const { return contentView_.get(); }
  // Cells of the system's own kinds bring a content view of their own class.
  void setContentView(Ref<UIView> contentView);

 private:
  Ref<UIView> contentView_;
};

// A scrolling list of cells and reusable views, all direct subviews. `didMoveToWindow` is
// sent by the host when the collection view enters a window.
class UICollectionView : public UIScrollView {
 public:
  // The host's list layout: cells and section separators one below the other at full width
  // (cells 44 points tall, section separators 8), each item separator a hairline along the top
  // of the cell that follows it. As UIKit applies its layout attributes, `layoutSubviews` only
  // lays the items out again when the layout is invalid: first, and after the collection
  // view's size or its number of items changed. Between those, frames that others set on
  // items stay.
  void layOutItemsIfInvalid();
  void layOutItems();

 private:
  CGSize laidOutSize_ = {-1, -1};
  size_t laidOutItems_ = 0;
};
