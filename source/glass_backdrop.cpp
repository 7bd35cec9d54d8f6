#include "source/glass_backdrop.h"

namespace glass_backdrop {

objc::Imp hostBackdropLayoutSubviews;

void backdropLayoutSubviews(UIView* self, SEL cmd) {
  hostBackdropLayoutSubviews.call<void>(self, cmd);
}

void applyCornerRadiusToAllSubviewsOfView(UIView*, SEL, double, UIView*) {}
void applyCornerRadiusToView(UIView*, SEL, double, UIView*) {}

}  // namespace glass_backdrop
