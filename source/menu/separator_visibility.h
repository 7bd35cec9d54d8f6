#pragma once

#include "platform/foundation/ns_string.h"
#include "platform/runtime/runtime.h"
#include "platform/uikit/ui_collection_view.h"
#include "source/hook_boundary.h"

// Which separators of a menu's collection view show, set when it enters a window.
namespace separator_visibility {

extern hook_boundary::HostMethod hostDidMoveToWindow;
void didMoveToWindow(UICollectionView* self, SEL cmd);

void hideViewsMatchingSubstring(UICollectionView* self, SEL cmd, NSString* substring);
void adjustSeparatorForiOS16AndAbove(UICollectionView* self, SEL cmd);
void adjustSeparatorForiOS15AndBelow(UICollectionView* self, SEL cmd);
void handleSeparatorVisibilityForNonLockScreen(UICollectionView* self, SEL cmd);

}  // namespace separator_visibility
