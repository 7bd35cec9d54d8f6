#pragma once

#include <optional>
#include <vector>

#include "platform/foundation/ns_object.h"
#include "platform/graphics/color.h"

class UIView;

// A layer: geometry, corner radius, border, shadow and colours, and ordered sublayers, which
// it owns. A view's layer has the layers of the view's subviews among its sublayers, in
// subview order, so walking sublayers reaches them as on the platform.
class CALayer : public NSObject {
 public:
  ~CALayer() override;

  CGRect frame() const { return frame_; }
  void setFrame(const CGRect& frame) { frame_ = frame; }
  // Origin zero, size of the frame.
  CGRect bounds() const { return {{0, 0}, frame_.size}; }

  CGFloat cornerRadius() const { return cornerRadius_; }
  void setCornerRadius(CGFloat radius) { cornerRadius_ = radius; }
  bool masksToBounds() const { return masksToBounds_; }
  void setMasksToBounds(bool masks) { masksToBounds_ = masks; }
  CGFloat borderWidth() const { return borderWidth_; }
  void setBorderWidth(CGFloat width) { borderWidth_ = width; }
  const std::optional<Color>& borderColor() const { return borderColor_; }
  void setBorderColor(std::optional<Color> color) { borderColor_ = std::move(color); }
  const std::optional<Color>& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(std::optional<Color> color) { backgroundColor_ = std::move(color); }
  // Multiplies what the layer's contents draw (text canvases use it to tint text).
  const std::optional<Color>& contentsMultiplyColor() const { return contentsMultiplyColor_; }
  void setContentsMultiplyColor(std::optional<Color> color) {
    contentsMultiplyColor_ = std::move(color);
  }

  const std::optional<Color>& shadowColor() const { return shadowColor_; }
  void setShadowColor(std::optional<Color> color) { shadowColor_ = std::move(color); }
  CGFloat shadowRadius() const { return shadowRadius_; }
  void setShadowRadius(CGFloat radius) { shadowRadius_ = radius; }
  CGSize shadowOffset() const { return shadowOffset_; }
  void setShadowOffset(CGSize offset) { shadowOffset_ = offset; }
  float shadowOpacity() const { return shadowOpacity_; }
  void setShadowOpacity(float opacity) { shadowOpacity_ = opacity; }

  // The compositing filters applied to the layer's contents (the platform's filter objects).
  const std::vector<Ref<NSObject>>& filters() const { return filters_; }
  void setFilters(std::vector<Ref<NSObject>> filters) { filters_ = std::move(filters); }

  float opacity() const { return opacity_; }
  void setOpacity(float opacity) { opacity_ = opacity; }
  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden) { hidden_ = hidden; }

  // The view whose layer this is (the platform's layer delegate), null for a plain layer.
  // Weak: the view owns its layer and clears this when it goes.
  UIView* delegate() const { return delegate_; }
  void setDelegate(UIView* view) { delegate_ = view; }

  CALayer* superlayer() const { return superlayer_; }
  const std::vector<Ref<CALayer>>& sublayers() const { return sublayers_; }
  // Adds (or moves) a layer to the end, or before the sublayer at index.
  void addSublayer(Ref<CALayer> layer);
  void insertSublayer(Ref<CALayer> layer, size_t index);
  void removeFromSuperlayer();

 private:
  CGRect frame_;
  CGFloat cornerRadius_ = 0;
  bool masksToBounds_ = false;
  CGFloat borderWidth_ = 0;
  std::optional<Color> borderColor_;
  std::optional<Color> backgroundColor_;
  std::optional<Color> contentsMultiplyColor_;
  std::optional<Color> shadowColor_;
  CGFloat shadowRadius_ = 3;
  CGSize shadowOffset_ = {0, -3};
  float shadowOpacity_ = 0;
  std::vector<Ref<NSObject>> filters_;
  float opacity_ = 1;
  bool hidden_ = false;
  UIView* delegate_ = nullptr;
  CALayer* superlayer_ = nullptr;  // weak: the superlayer owns this layer
  std::vector<Ref<CALayer>> sublayers_;
};
