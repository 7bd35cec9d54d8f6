#pragma once

#include <chrono>
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

  // `animateWithDuration:animations:completion:`. As the model layer of the device does, the
  // animations set their final values at once; the completion, told that they finished, runs
  // on the main run loop once the duration has passed (a zero duration: on its next turn).
  // Either block may be empty. Whatever the completion needs later it must hold by value.
  // Main thread only, as on the device.
  static void animateWithDuration(double duration, const std::function<void()>& animations,
                                  std::function<void(bool finished)> completion);
  // How many completions wait for their time.
  static size_t pendingAnimationCompletions();
  // Runs the waiting completions in the order they fall due, each no earlier than its time
  // (waiting for it), with those they start in turn, as long as they fall due within `limit`
  // from now; answers whether none is left. Pictures are drawn after this, as the screen
  // shows once its animations are over; the default bound is far above any system animation.
  static bool finishAnimations(std::chrono::milliseconds limit = std::chrono::seconds(2));
  // Runs `then` on the main run loop once no completion waits any more (on its next turn when
  // none does), without holding the loop up meanwhile.
  static void whenAnimationsFinish(std::function<void()> then);

  // "<ClassName: 0x…; frame = (x y; w h); …; layer = <CALayer: 0x…>>".
  std::string descriptionText() const;

 private:
  UIView* superview_ = nullptr;
  std::vector<Ref<UIView>> subviews_;
  Ref<CALayer> layer_;
  Ref<UIColor> backgroundColor_;
  UIUserInterfaceStyle overrideStyle_ = UIUserInterfaceStyleUnspecified;
};
