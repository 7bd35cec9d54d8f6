#include "source/reusable_views.h"

#include "platform/foundation/ns_number.h"
#include "platform/foundation/value_conversion.h"

namespace reusable_views {
namespace {
const char kHasCustomizedBackgroundColorKey = 0;
}  // namespace

objc::Imp hostReusableLayoutSubviews;
objc::Imp hostVibrantSeparatorLayoutSubviews;

bool hasCustomizedBackgroundColor(UICollectionReusableView* self, SEL) {
  return boolValueOf(objc_getAssociatedObject(self, &kHasCustomizedBackgroundColorKey).get());
}

void setHasCustomizedBackgroundColor(UICollectionReusableView* self, SEL, bool customized) {
  objc_setAssociatedObject(self, &kHasCustomizedBackgroundColorKey,
                           NSNumber::numberWithBool(customized).get(),
                           OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

Ref<UIView> findMaterialViewInView(UICollectionReusableView*, SEL, UIView*) {
  return nullptr;
}

void reusableLayoutSubviews(UICollectionReusableView* self, SEL cmd) {
  hostReusableLayoutSubviews.call<void>(self, cmd);
}

void customizeBackgroundColorLS(UICollectionReusableView*, SEL) {}
void customizeBackgroundColorHS(UICollectionReusableView*, SEL) {}
bool shouldColorThinSeparatorsForHomeScreen(UICollectionReusableView*, SEL) {
  return false;
}
bool isViewOrAncestorAContextMenuCell(UICollectionReusableView*, SEL, UIView*) {
  return false;
}
void applyModificationsConditionally(UICollectionReusableView*, SEL) {}
bool shouldColorBoldSeparatorsForLockScreen(UICollectionReusableView*, SEL) {
  return false;
}
bool shouldColorThinSeparatorsForLockScreen(UICollectionReusableView*, SEL) {
  return false;
}
void customizeBackgroundColorBoldSeparators(UICollectionReusableView*, SEL) {}
bool shouldColorBoldSeparatorsForHomeScreen(UICollectionReusableView*, SEL) {
  return false;
}

void vibrantSeparatorLayoutSubviews(UIView* self, SEL cmd) {
  hostVibrantSeparatorLayoutSubviews.call<void>(self, cmd);
}

}  // namespace reusable_views
