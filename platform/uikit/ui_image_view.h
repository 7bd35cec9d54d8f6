#pragma once

#include "platform/graphics/ui_image.h"
#include "platform/uikit/ui_view.h"

// A view that shows an image scaled to fill its bounds.
class UIImageView : public UIView {
 public:
  UIImage* image() const { return image_.get(); }
  void setImage(Ref<UIImage> image) { image_ = std::move(image); }

 private:
  Ref<UIImage> image_;
};
