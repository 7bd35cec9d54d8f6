#pragma once

#include <string>
#include <vector>

#include "platform/uikit/ui_view.h"

// A context menu as the system builds it for a long-press: the menu's view tree, made of the
// system's own classes and nested as the running system version nests them, to be added to the
// view the icon controller (or the notification) presents menus in. On 16 and later:
//
//   _UIContextMenuContainerView
//    └ UIView (platter container)
//       ├ UIVisualEffectView (background dimming) └ _UIVisualEffectBackdropView
//       ├ _UIContextMenuPlatterTransitionView └ _UIMorphingPlatterView └ the preview
//       └ _UIContextMenuView
//          └ _UIContextMenuListView
//             ├ _UICutoutShadowView
//             ├ UIView (clipping view, clips) ├ UIVisualEffectView └ _UIVisualEffectBackdropView
//             │                               └ UICollectionView
//             │     ├ _UIContextMenuCell └ _UIContextMenuCellContentView
//             │     │       ├ UIStackView └ UILabel (title)
//             │     │       └ UIImageView (icon), UIImageView (decoration)
//             │     ├ _UIContextMenuReusableSeparatorView (between actions of a section;
//             │     │       on 17 holding its line, a _UIContextMenuSeparatorView)
//             │     └ UICollectionReusableView "kContextMenuSectionSeparator" (between
//             │             sections) └ MTMaterialView
//             └ UIView (border view; 17 only)
//
// On 15 the list clips through two nested views (top, then bottom clipping view) around the
// background and the collection view, the preview sits straight in the transition view, and
// cells have leading and trailing image views.
//
// What the presenter asks a menu to be laid out with.
struct MenuLayoutRequest {
  // The actions, in sections shown top to bottom (empty sections are left out).
  std::vector<std::vector<std::string>> sections;
  // What was pressed, in the presenting view's coordinates; the menu opens below it (above when
  // there is no room) and its preview covers it.
  CGRect anchor;
  // The view shown as the preview (e.g. a snapshot of the icon); may be null.
  Ref<UIView> preview;
};

// Builds the menu for the system version the process reports, sized to the presenting bounds,
// with its actions already placed (as the menu measures itself before it is shown). The host's
// layout passes place the rest.
Ref<UIView> buildContextMenu(const MenuLayoutRequest& request, const CGRect& presentingBounds);

// The width of a menu's list and the height of one action.
inline constexpr double kContextMenuWidth = 250;
inline constexpr double kContextMenuRowHeight = 44;
inline constexpr double kContextMenuSectionGap = 8;
