#pragma once

#include "platform/runtime/runtime.h"
#include "platform/uikit/ui_collection_view.h"
#include "source/hook_boundary.h"

// The menu's action cells: label colours, corners and the lock screen's separators in cells.
namespace menu_cells {

extern hook_boundary::HostMethod hostCellLayoutSubviews;
void cellLayoutSubviews(UICollectionViewCell* self, SEL cmd);
void adjustFramesForSubviews(UICollectionViewCell* self, SEL cmd);
void updateLabelColors(UICollectionViewCell* self, SEL cmd);

}  // namespace menu_cells
