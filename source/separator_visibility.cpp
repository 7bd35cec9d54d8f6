#include "source/separator_visibility.h"

namespace separator_visibility {

objc::Imp hostDidMoveToWindow;

void didMoveToWindow(UICollectionView* self, SEL cmd) {
  hostDidMoveToWindow.call<void>(self, cmd);
}

void hideViewsMatchingSubstring(UICollectionView*, SEL, NSString*) {}
void adjustSeparatorForiOS16AndAbove(UICollectionView*, SEL) {}
void adjustSeparatorForiOS15AndBelow(UICollectionView*, SEL) {}
void handleSeparatorVisibilityForNonLockScreen(UICollectionView*, SEL) {}

}  // namespace separator_visibility
