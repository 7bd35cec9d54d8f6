#pragma once

#include <string>

#include "platform/springboard/app_catalogue.h"
#include "platform/springboard/notification_views.h"

// A notification as an app posts it: the app, the title (the app's name) and the message.
struct PostedNotification {
  std::string bundleIdentifier;
  std::string title;
  std::string message;
};

// The short look of a notification, as the lock screen's list and the banner show it: the
// controller's view (the platter) at `frame`, on the home screen's material with the app's
// icon at its leading edge and the title and message beside it. `opacity` is the material's:
// a banner's is thicker than a list's, since a banner lies over icons.
Ref<NCNotificationShortLookViewController> makeShortLook(const AppCatalogue& catalogue,
                                                         const PostedNotification& notification,
                                                         const CGRect& frame, double opacity);
