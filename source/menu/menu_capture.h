#pragma once

#include "platform/foundation/ns_array.h"
#include "platform/runtime/runtime.h"
#include "platform/springboard/sb_icon_controller.h"
#include "platform/springboard/sb_icon_view.h"
#include "source/hook_boundary.h"

// The long-pressed icon's colour, captured before its menu is built, and the actions the user
// removed from icon menus.
namespace menu_capture {

extern hook_boundary::HostMethod hostApplicationShortcutItems;
Ref<NSArray> applicationShortcutItems(SBIconView* self, SEL cmd);

extern hook_boundary::HostMethod hostContainerViewForPresentingContextMenu;
Ref<UIView> containerViewForPresentingContextMenuForIconView(SBIconController* self, SEL cmd,
                                                             SBIconView* iconView);

}  // namespace menu_capture
