#include "source/menu_capture.h"

namespace menu_capture {

objc::Imp hostApplicationShortcutItems;
objc::Imp hostContainerViewForPresentingContextMenu;

Ref<NSArray> applicationShortcutItems(SBIconView* self, SEL cmd) {
  return hostApplicationShortcutItems.call<Ref<NSArray>>(self, cmd);
}

Ref<UIView> containerViewForPresentingContextMenuForIconView(SBIconController* self, SEL cmd,
                                                             SBIconView* iconView) {
  return hostContainerViewForPresentingContextMenu.call<Ref<UIView>>(self, cmd, iconView);
}

}  // namespace menu_capture
