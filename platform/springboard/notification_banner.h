#pragma once

#include "platform/springboard/notification_platter.h"

// The banner system's window over the unlocked home screen: a notification arriving while the
// phone is unlocked shows at its top, in its own layer above the home screen, until it is
// dismissed (an expanded banner goes with its menu). One banner at a time; a new one takes the
// place of the last.
class NotificationBanner {
 public:
  // `screen` is the screen's bounds.
  explicit NotificationBanner(const CGRect& screen);

  // Shows the notification in `window`, above what it shows; answers its short look.
  NCNotificationShortLookViewController* show(const AppCatalogue& catalogue,
                                              const PostedNotification& notification,
                                              UIView* window);
  void hide();
  // The banner shown, or null.
  NCNotificationShortLookViewController* shown() const { return shortLook_.get(); }
  // The banner shown, if the view is part of it; else null.
  NCNotificationShortLookViewController* holding(const UIView* view) const;

 private:
  Ref<UIView> layer_;
  Ref<NCNotificationShortLookViewController> shortLook_;
};
