#pragma once

#include "platform/runtime/runtime.h"
#include "platform/springboard/notification_views.h"

// A long-pressed notification: its app's colour for the menu, and the expanded platter painted
// with it.
namespace notification_styling {

// The view kept for the controller (nil until set); holding it keeps it alive.
Ref<UIView> tavrelView(UIViewController* self, SEL cmd);
void setTavrelView(UIViewController* self, SEL cmd, UIView* view);

extern objc::Imp hostViewDidAppear;
void viewDidAppear(NCNotificationShortLookViewController* self, SEL cmd, bool animated);

extern objc::Imp hostContainerViewForExpandedContent;
Ref<UIView> containerViewForExpandedContent(NCNotificationShortLookViewController* self, SEL cmd);

extern objc::Imp hostPlatterLayoutSubviews;
void platterLayoutSubviews(UIView* self, SEL cmd);

extern objc::Imp hostViewWillLayoutSubviews;
void viewWillLayoutSubviews(UIViewController* self, SEL cmd);
void recursivelyChangeBackgroundForLabelsInView(UIViewController* self, SEL cmd, UIView* view);

}  // namespace notification_styling
