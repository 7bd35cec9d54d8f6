#pragma once

#include "platform/runtime/runtime.h"
#include "platform/uikit/ui_view.h"
#include "source/hook_boundary.h"

// The corner radius of the menu's glass: on the blur backdrop and the views around it.
namespace glass_backdrop {

extern hook_boundary::HostMethod hostBackdropLayoutSubviews;
void backdropLayoutSubviews(UIView* self, SEL cmd);
void applyCornerRadiusToAllSubviewsOfView(UIView* self, SEL cmd, double radius, UIView* view);
void applyCornerRadiusToView(UIView* self, SEL cmd, double radius, UIView* view);

}  // namespace glass_backdrop
