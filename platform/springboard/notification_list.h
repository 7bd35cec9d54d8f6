#pragma once

#include <string_view>
#include <vector>

#include "platform/springboard/notification_platter.h"

// The lock screen's notifications as the system lays them out. The structured list's
// controller (`NCNotificationStructuredListViewController`) shows a list view
// (`NCNotificationListView`, a scroll view: the system's list is no collection view) whose
// subviews are stacks, one per app, newest app first; each stack is a list view of its own
// holding one cell (`NCNotificationListCell`) per notification. The newest notification sits on
// top at full size; older ones peek out beneath it, narrower, as a collapsed stack shows them.
// On 15 the list starts under the clock; from 16 it rests at the bottom of the screen.
class NotificationList {
 public:
  // Needs setUpHost() first; `screen` is the lock screen's bounds.
  NotificationList(const AppCatalogue& catalogue, std::vector<PostedNotification> newestFirst,
                   const CGRect& screen);

  // The controller's view: the list, in the lock screen's coordinates.
  UIView* view() const { return controller_->view(); }
  // The notification on top of each stack, top stack first.
  std::vector<NCNotificationShortLookViewController*> stackTops() const;
  // The top notification of the stack the view belongs to (a cell, a notification behind the
  // top one, or anything inside them), or null.
  NCNotificationShortLookViewController* stackTopHolding(const UIView* view) const;
  // The top notification of the app's stack; when the app has none, its notification arrives
  // and its stack goes first.
  NCNotificationShortLookViewController* notificationOf(const AppEntry& app);

 private:
  struct Stack {
    Ref<UIView> view;
    // Newest first.
    std::vector<Ref<NCNotificationShortLookViewController>> notifications;
  };

  void addStack(const std::vector<PostedNotification>& newestFirst, bool first);
  void layOut();

  const AppCatalogue& catalogue_;
  CGRect screen_;
  Ref<UIViewController> controller_;
  std::vector<Stack> stacks_;
};

// What the lock screen shows at rest: a few of the catalogue's apps (Mail first when it has
// it, as a locked phone most often shows), some with two notifications; empty without apps.
std::vector<PostedNotification> restingNotifications(const AppCatalogue& catalogue);

// A notification of the app saying it has news, as a banner or a list shows one.
PostedNotification newsFrom(const AppEntry& app);
