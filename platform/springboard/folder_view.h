#pragma once

#include <string>
#include <vector>

#include "platform/springboard/sb_icon_view.h"

// A folder opened from its icon, as SpringBoard presents it on 15 to 17 (the same tree on
// each), over the whole screen:
//
//   SBFolderContainerView
//    ├ SBHomeScreenBackdropView              the home screen behind, blurred and dimmed
//    │  └ MTMaterialView                     (a material whose layer blurs what lies behind)
//    └ SBFloatyFolderView
//       ├ SBFolderTitleTextField             the folder's name, above the plate
//       └ SBFloatyFolderBackgroundClipView   the plate: rounded, clips what it holds
//          ├ SBFolderBackgroundView └ MTMaterialView
//          └ SBIconScrollView └ SBFolderIconListView └ SBIconView × n   (three to a row)
//
// SpringBoard lays folders out in icon list views, not collection views; the title is a text
// field on the phone and a label here (it is not edited).
struct OpenFolderView {
  Ref<UIView> container;
  // The rounded plate holding the icons, and the title above it.
  Ref<UIView> plate;
  Ref<UIView> title;
};

// Builds the open folder with the caller's icon views (with their icons and actions), laid out
// on the plate, for a screen of these bounds.
OpenFolderView buildOpenFolder(const std::string& title, const std::vector<Ref<SBIconView>>& icons,
                               const CGRect& screenBounds);
