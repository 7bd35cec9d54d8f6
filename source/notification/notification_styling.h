#pragma once

#include "platform/runtime/runtime.h"
#include "platform/springboard/notification_views.h"
#include "source/hook_boundary.h"

// A long-pressed notification: its app's colour for the menu, and the expanded platter painted
// with it.
namespace notification_styling {

// The view kept for the controller (nil until set); holding it keeps it alive.
Ref<UIView> tavrelView(UIViewController* self, SEL cmd);
void setTavrelView(UIViewController* self, SEL cmd, UIView* view);

extern hook_boundary::HostMethod hostViewDidAppear;
void viewDidAppear(NCNotificationShortLookViewController* self, SEL cmd, bool animated);

extern hook_boundary::HostMethod hostContainerViewForExpandedContent;
Ref<UIView> containerViewForExpandedContent(NCNotificationShortLookViewController* self, SEL cmd);

extern hook_boundary::HostMethod hostPlatterLayoutSubviews;
void platterLayoutSubviews(UIView* self, SEL cmd);

extern hook_boundary::HostMethod hostViewWillLayoutSubviews;
void viewWillLayoutSubviews(UIViewController* self, SEL cmd);
void recursivelyChangeBackgroundForLabelsInView(UIViewController* self, SEL cmd, UIView* view);

}  // namespace notification_styling
