#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/graphics/ui_color.h"
#include "platform/uikit/ca_layer.h"
#include "platform/uikit/ui_trait_collection.h"

// A view: a node of the view tree with its layer. Parents own their subviews; a subview's
// superview pointer is weak. Geometry, visibility and opacity live in the layer, so the view
// and the layer always agree.
//
// What a hook may replace is reached by message: `layoutSubviews`, `didMoveToWindow` and
// `description` are runtime methods, and the accessors that key-value coding sets
// (backgroundColor, hidden, alpha, clipsToBounds, frame) are registered too. Hosts run layout
// with layoutIfNeeded(), which sends `layoutSubviews` top-down.
class UIView : public NSObject {
 public:
  UIView();
  ~UIView() override;

  UIView* superview() const { return superview_; }
  const std::vector<Ref<UIView>>& subviews() const { return subviews_; }
  // The subviews as an array object, as the platform's `subviews` returns them.
  Ref<NSArray> subviewsArray() const;
  // Adds at the end (moving it from any other superview); refuses itself or an ancestor.
  void addSubview(Ref<UIView> view);
  void insertSubview(Ref<UIView> view, size_t index);
  void removeFromSuperview();
  bool isDescendantOfView(const UIView* view) const;

  CGRect frame() const { return layer_->frame(); }
  void setFrame(const CGRect& frame) { layer_->setFrame(frame); }
  CGRect bounds() const { return layer_->bounds(); }
  // The frame in the coordinates of the tree's root (the window); no view here scrolls its
  // bounds, so this is the frames' origins added up below the root.
  CGRect frameInWindow() const;

  bool isHidden() const { return layer_->isHidden(); }
  void setHidden(bool hidden) { layer_->setHidden(hidden); }
  CGFloat alpha() const { return layer_->opacity(); }
  void setAlpha(CGFloat alpha) { layer_->setOpacity(static_cast<float>(alpha)); }
  bool clipsToBounds() const { return layer_->masksToBounds(); }
  void setClipsToBounds(bool clips) { layer_->setMasksToBounds(clips); }
  // Nil clears the background.
  const Ref<UIColor>& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(Ref<UIColor> color);

  CALayer* layer() const { return layer_.get(); }

  UIUserInterfaceStyle overrideUserInterfaceStyle() const { return overrideStyle_; }
  void setOverrideUserInterfaceStyle(UIUserInterfaceStyle style) { overrideStyle_ = style; }
  // The view's own override, else its superview's traits, else the system's style.
  Ref<UITraitCollection> traitCollection() const;

  // Sends `layoutSubviews` to this view, then to each subview, depth first.
  void layoutIfNeeded();

  // `animateWithDuration:animations:completion:`. The model shows only settled states, so the
  // animations run at once and then the completion, told that they finished, whatever the
  // duration. Either block may be empty.
  static void animateWithDuration(double /*duration*/, const std::function<void()>& animations,
                                  const std::function<void(bool finished)>& completion) {
    if (animations) animations();
    if (completion) completion(true);
  }

  // "<ClassName: 0x…; frame = (x y; w h); …; layer = <CALayer: 0x…>>".
  std::string descriptionText() const;

 private:
  UIView* superview_ = nullptr;
  std::vector<Ref<UIView>> subviews_;
  Ref<CALayer> layer_;
  Ref<UIColor> backgroundColor_;
  UIUserInterfaceStyle overrideStyle_ = UIUserInterfaceStyleUnspecified;
};
