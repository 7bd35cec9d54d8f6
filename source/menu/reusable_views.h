#pragma once

#include "platform/runtime/runtime.h"
#include "platform/uikit/ui_collection_view.h"
#include "source/hook_boundary.h"

// Separators and reusable views of menus: colour, thickness, width and visibility, and the
// action-group separators that must stay visible.
namespace reusable_views {

// Whether this view's background has been customised (false until set).
bool hasCustomizedBackgroundColor(UICollectionReusableView* self, SEL cmd);
void setHasCustomizedBackgroundColor(UICollectionReusableView* self, SEL cmd, bool customized);

Ref<UIView> findMaterialViewInView(UICollectionReusableView* self, SEL cmd, UIView* view);

extern hook_boundary::HostMethod hostReusableLayoutSubviews;
void reusableLayoutSubviews(UICollectionReusableView* self, SEL cmd);
void customizeBackgroundColorLS(UICollectionReusableView* self, SEL cmd);
void customizeBackgroundColorHS(UICollectionReusableView* self, SEL cmd);
bool shouldColorThinSeparatorsForHomeScreen(UICollectionReusableView* self, SEL cmd);
bool isViewOrAncestorAContextMenuCell(UICollectionReusableView* self, SEL cmd, UIView* view);
void applyModificationsConditionally(UICollectionReusableView* self, SEL cmd);
bool shouldColorBoldSeparatorsForLockScreen(UICollectionReusableView* self, SEL cmd);
bool shouldColorThinSeparatorsForLockScreen(UICollectionReusableView* self, SEL cmd);
void customizeBackgroundColorBoldSeparators(UICollectionReusableView* self, SEL cmd);
bool shouldColorBoldSeparatorsForHomeScreen(UICollectionReusableView* self, SEL cmd);

extern hook_boundary::HostMethod hostVibrantSeparatorLayoutSubviews;
void vibrantSeparatorLayoutSubviews(UIView* self, SEL cmd);

}  // namespace reusable_views
