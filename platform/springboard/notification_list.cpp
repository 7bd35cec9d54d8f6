#include "platform/springboard/notification_list.h"

#include <algorithm>
#include <map>

#include "platform/foundation/process_info.h"
#include "platform/springboard/internal/class_definitions.h"

namespace {

constexpr double kCellHeight = 76, kStackGap = 8, kSideMargin = 8, kOpacity = 0.62;
// How far each older notification peeks out beneath the one above it, and how much narrower it
// is on each side; a collapsed stack shows at most two of them.
constexpr double kPeek = 8, kPeekInset = 12;
constexpr size_t kPeeking = 2;
// On 15 the list starts under the clock; from 16 it ends above the flashlight and camera.
constexpr double kTopUnderClock = 220, kBottomAboveButtons = 120;

const char* const kRestingApp = "com.vitrel.sample.mail";

Ref<UIView> viewOf(const char* className, const char* fallback) {
  objc::Class* cls = objc_getClass(className);
  return objc::createInstance<UIView>(cls ? cls : objc_getClass(fallback));
}

double stackHeight(size_t notifications) {
  return kCellHeight + kPeek * static_cast<double>(std::min(notifications - 1, kPeeking));
}

// What the sample apps say; any other app says it has news.
std::vector<std::string> messagesOf(const AppEntry& app) {
  static const std::map<std::string, std::vector<std::string>, std::less<>> kSamples = {
      {"com.vitrel.sample.mail", {"Anna: Lunch on Friday?", "Your order has shipped."}},
      {"com.vitrel.sample.calendar", {"Team meeting in 15 minutes."}},
      {"com.vitrel.sample.photos", {"A new memory: Summer by the sea.", "3 photos shared."}},
  };
  auto found = kSamples.find(app.bundleIdentifier);
  if (found != kSamples.end()) return found->second;
  return {newsFrom(app).message};
}

}  // namespace

PostedNotification newsFrom(const AppEntry& app) {
  return {app.bundleIdentifier, app.name, "You have a new message from " + app.name + "."};
}

std::vector<PostedNotification> restingNotifications(const AppCatalogue& catalogue) {
  std::vector<const AppEntry*> apps;
  if (const AppEntry* mail = catalogue.app(kRestingApp)) apps.push_back(mail);
  for (const AppEntry& app : catalogue.apps()) {
    if (apps.size() == 3) break;
    if (app.bundleIdentifier != kRestingApp) apps.push_back(&app);
  }
  std::vector<PostedNotification> notifications;
  for (const AppEntry* app : apps) {
    for (const std::string& message : messagesOf(*app))
      notifications.push_back({app->bundleIdentifier, app->name, message});
  }
  return notifications;
}

NotificationList::NotificationList(const AppCatalogue& catalogue,
                                   std::vector<PostedNotification> newestFirst,
                                   const CGRect& screen)
    : catalogue_(catalogue), screen_(screen) {
  objc::Class* controller = objc_getClass("NCNotificationStructuredListViewController");
  controller_ = objc::createInstance<UIViewController>(
      controller ? controller : objc_getClass("UIViewController"));
  controller_->setView(viewOf("NCNotificationListView", "UIScrollView"));
  // The system groups by app, in the order of each app's newest notification.
  std::vector<std::vector<PostedNotification>> byApp;
  for (PostedNotification& notification : newestFirst) {
    auto group = std::find_if(byApp.begin(), byApp.end(), [&](const auto& stack) {
      return stack.front().bundleIdentifier == notification.bundleIdentifier;
    });
    if (group == byApp.end()) group = byApp.emplace(byApp.end());
    group->push_back(std::move(notification));
  }
  for (const auto& stack : byApp)
    addStack(stack, false);
  layOut();
}

void NotificationList::addStack(const std::vector<PostedNotification>& newestFirst, bool first) {
  Stack stack{viewOf("NCNotificationListView", "UIScrollView"), {}};
  const double width = screen_.width() - 2 * kSideMargin;
  for (size_t age = 0; age < newestFirst.size(); ++age) {
    const double peeking = static_cast<double>(std::min(age, kPeeking));
    const double inset = kPeekInset * peeking;
    // An older notification's cell is the strip of it that peeks out beneath the one above (its
    // platter's lower edge): nothing of it shows through the translucent platters on top.
    const CGRect frame =
        age == 0 ? CGRectMake(0, 0, width, kCellHeight)
                 : CGRectMake(inset, kCellHeight + kPeek * (peeking - 1), width - 2 * inset, kPeek);
    Ref<UIView> cell = viewOf("NCNotificationListCell", "UIView");
    cell->setFrame(frame);
    cell->setClipsToBounds(true);
    auto shortLook = makeShortLook(
        catalogue_, newestFirst[age],
        CGRectMake(0, frame.height() - kCellHeight, frame.width(), kCellHeight), kOpacity);
    cell->addSubview(Ref<UIView>(shortLook->view()));
    // Older notifications lie beneath the newer ones.
    stack.view->insertSubview(cell, 0);
    stack.notifications.push_back(std::move(shortLook));
  }
  if (first) {
    view()->insertSubview(stack.view, 0);
    stacks_.insert(stacks_.begin(), std::move(stack));
  } else {
    view()->addSubview(stack.view);
    stacks_.push_back(std::move(stack));
  }
}

void NotificationList::layOut() {
  const double width = screen_.width() - 2 * kSideMargin;
  double height = 0;
  for (const Stack& stack : stacks_) {
    if (height > 0) height += kStackGap;
    stack.view->setFrame(CGRectMake(0, height, width, stackHeight(stack.notifications.size())));
    height += stack.view->frame().height();
  }
  const bool underClock = NSProcessInfo::processInfo()->operatingSystemVersion().majorVersion < 16;
  const double top = underClock ? kTopUnderClock : screen_.height() - kBottomAboveButtons - height;
  view()->setFrame(CGRectMake(kSideMargin, top, width, height));
  if (auto* scroll = dynamic_cast<UIScrollView*>(view())) scroll->setContentSize({width, height});
}

std::vector<NCNotificationShortLookViewController*> NotificationList::stackTops() const {
  std::vector<NCNotificationShortLookViewController*> tops;
  for (const Stack& stack : stacks_)
    tops.push_back(stack.notifications.front().get());
  return tops;
}

NCNotificationShortLookViewController* NotificationList::stackTopHolding(const UIView* view) const {
  if (!view) return nullptr;
  for (const Stack& stack : stacks_) {
    if (view->isDescendantOfView(stack.view.get())) return stack.notifications.front().get();
  }
  return nullptr;
}

NCNotificationShortLookViewController* NotificationList::notificationOf(const AppEntry& app) {
  for (const Stack& stack : stacks_) {
    NCNotificationShortLookViewController* top = stack.notifications.front().get();
    if (top->notificationRequest()->sectionIdentifier()->string() == app.bundleIdentifier) {
      return top;
    }
  }
  addStack({newsFrom(app)}, true);
  layOut();
  return stacks_.front().notifications.front().get();
}

namespace springboard_classes {

void defineNotificationListClasses(const SystemHas& systemHas) {
  const std::pair<const char*, const char*> classes[] = {
      {"NCNotificationStructuredListViewController", "UIViewController"},
      {"NCNotificationListView", "UIScrollView"},
      // A plain view holding a notification's view, not a collection-view cell.
      {"NCNotificationListCell", "UIView"},
  };
  for (const auto& [name, superclass] : classes) {
    if (!systemHas(name) || objc_getClass(name)) continue;
    objc_registerClassPair(objc_allocateClassPair(objc_getClass(superclass), name, 0));
  }
}

}  // namespace springboard_classes
