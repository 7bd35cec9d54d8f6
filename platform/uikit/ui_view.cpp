#include "platform/uikit/ui_view.h"

#include <algorithm>
#include <cstdio>

UIView::UIView() : layer_(objc::make<CALayer>()) {
  layer_->setDelegate(this);
}

UIView::~UIView() {
  // Someone else may still hold the layer.
  layer_->setDelegate(nullptr);
  for (const auto& subview : subviews_)
    subview->superview_ = nullptr;
}

Ref<NSArray> UIView::subviewsArray() const {
  return NSArray::from(NSArray::Objects(subviews_.begin(), subviews_.end()));
}

void UIView::addSubview(Ref<UIView> view) {
  insertSubview(std::move(view), SIZE_MAX);
}

void UIView::insertSubview(Ref<UIView> view, size_t index) {
  if (!view) return;
  if (view.get() == this || isDescendantOfView(view.get())) {
    throw objc::Exception("NSInvalidArgumentException",
                          "Can't add self or an ancestor as subview: " + view->descriptionText());
  }
  view->removeFromSuperview();
  index = std::min(index, subviews_.size());
  // Keep the layer tree in step: the new layer goes just below the layer of the subview it is
  // inserted before.
  const auto& sublayers = layer_->sublayers();
  size_t layerIndex = sublayers.size();
  if (index < subviews_.size()) {
    auto found = std::find(sublayers.begin(), sublayers.end(), subviews_[index]->layer_);
    layerIndex = static_cast<size_t>(found - sublayers.begin());
  }
  layer_->insertSublayer(view->layer_, layerIndex);
  view->superview_ = this;
  subviews_.insert(subviews_.begin() + index, std::move(view));
}

void UIView::removeFromSuperview() {
  if (!superview_) return;
  Ref<UIView> keepAlive(this);
  layer_->removeFromSuperlayer();
  std::erase(superview_->subviews_, keepAlive);
  superview_ = nullptr;
}

bool UIView::isDescendantOfView(const UIView* view) const {
  for (const UIView* ancestor = this; ancestor; ancestor = ancestor->superview_) {
    if (ancestor == view) return true;
  }
  return false;
}

CGRect UIView::frameInWindow() const {
  CGRect frame = this->frame();
  for (const UIView* parent = superview_; parent && parent->superview_;
       parent = parent->superview_) {
    frame.origin.x += parent->frame().origin.x;
    frame.origin.y += parent->frame().origin.y;
  }
  return frame;
}

void UIView::setBackgroundColor(Ref<UIColor> color) {
  layer_->setBackgroundColor(cgColorOf(color.get()));
  backgroundColor_ = std::move(color);
}

Ref<UITraitCollection> UIView::traitCollection() const {
  for (const UIView* view = this; view; view = view->superview_) {
    if (view->overrideStyle_ != UIUserInterfaceStyleUnspecified) {
      return UITraitCollection::traitCollectionWithUserInterfaceStyle(view->overrideStyle_);
    }
  }
  return UITraitCollection::traitCollectionWithUserInterfaceStyle(
      UITraitCollection::systemUserInterfaceStyle());
}

void UIView::layoutIfNeeded() {
  objc::msgSend<void>(this, objc::sel("layoutSubviews"));
  // A layout pass may add or remove views; walk the subviews as they were.
  std::vector<Ref<UIView>> snapshot = subviews_;
  for (const auto& subview : snapshot)
    subview->layoutIfNeeded();
}

std::string UIView::descriptionText() const {
  char text[256];
  CGRect f = frame();
  std::string description = defaultDescription(this);
  description.pop_back();
  std::snprintf(text, sizeof text, "; frame = (%g %g; %g %g)", f.origin.x, f.origin.y, f.size.width,
                f.size.height);
  description += text;
  if (clipsToBounds()) description += "; clipsToBounds = YES";
  if (isHidden()) description += "; hidden = YES";
  if (alpha() != 1) {
    std::snprintf(text, sizeof text, "; alpha = %g", alpha());
    description += text;
  }
  if (backgroundColor_) description += "; backgroundColor = " + backgroundColor_->descriptionText();
  return description + "; layer = " + defaultDescription(layer_.get()) + ">";
}
