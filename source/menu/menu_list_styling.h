#pragma once

#include "platform/graphics/ui_color.h"
#include "platform/runtime/runtime.h"
#include "platform/uikit/ui_view.h"
#include "source/hook_boundary.h"

// The open menu's outer view and list view: glass backdrops, border and corners.
namespace menu_list_styling {

extern hook_boundary::HostMethod hostContextMenuLayoutSubviews;
void contextMenuLayoutSubviews(UIView* self, SEL cmd);

extern hook_boundary::HostMethod hostListLayoutSubviews;
void listLayoutSubviews(UIView* self, SEL cmd);

// Added to three host classes: the colour with its brightness raised by amount.
Ref<UIColor> colorByAdjustingBrightness(UIView* self, SEL cmd, UIColor* color, double amount);

}  // namespace menu_list_styling
