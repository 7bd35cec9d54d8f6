#pragma once

#include <vector>

#include "platform/springboard/sb_icon_view.h"

// The dock as SpringBoard builds it on 15 to 17 (the same tree on each):
//
//   SBDockView                      a rounded platter floating above the screen's bottom edge
//    ├ MTMaterialView               its background: the dock's material, whose layer blurs
//    │                              what lies behind (no visual effect view)
//    └ SBDockIconListView           the icons, evenly spaced, without labels
//       └ SBIconView × up to 4
//
// The icon views are the caller's (with their icons and actions); the dock lays them out.
Ref<UIView> buildDock(const std::vector<Ref<SBIconView>>& icons, const CGRect& screenBounds);

// The dock's frame on a screen of these bounds, and the frame of the icon view at place (0 to
// 3, left to right), in the screen's points.
CGRect dockFrame(const CGRect& screenBounds);
CGRect dockIconFrame(size_t place, const CGRect& screenBounds);
