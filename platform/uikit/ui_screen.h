#pragma once

#include "platform/foundation/ns_object.h"
#include "platform/graphics/geometry.h"

// The device's screen: its size in points and its scale (pixels per point, 3 unless the host
// says otherwise).
class UIScreen : public NSObject {
 public:
  static UIScreen* mainScreen();

  double scale() const { return scale_; }
  void setScale(double scale) { scale_ = scale > 0 ? scale : 1; }
  CGRect bounds() const { return bounds_; }
  void setBounds(const CGRect& bounds) { bounds_ = bounds; }

 private:
  double scale_ = 3;
  CGRect bounds_ = CGRectMake(0, 0, 390, 844);
};
