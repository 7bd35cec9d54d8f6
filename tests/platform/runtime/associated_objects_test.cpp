#include "platform/runtime/associated_objects.h"

#include <gtest/gtest.h>

#include "platform/runtime/runtime.h"
#include "test_classes.h"

using namespace testing_classes;
using objc::Ref;

namespace {
const char kFirstKey = 0;
const char kSecondKey = 0;
}  // namespace

TEST(AssociatedObjectsTest, ValueIsRetainedUntilItsOwnerDies) {
  defineOnce();
  int before = Tracked::alive;
  Ref<Animal> owner = objc::make<Animal>();
  objc_setAssociatedObject(owner.get(), &kFirstKey, objc::make<Tracked>().get(),
                           OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  EXPECT_EQ(Tracked::alive, before + 1) << "the association keeps it alive";
  EXPECT_NE(objc_getAssociatedObject(owner.get(), &kFirstKey), nullptr);
  owner = nullptr;
  EXPECT_EQ(Tracked::alive, before);
}

TEST(AssociatedObjectsTest, ReplacingOrClearingReleasesTheOldValue) {
  defineOnce();
  int before = Tracked::alive;
  Ref<Animal> owner = objc::make<Animal>();
  Ref<Tracked> first = objc::make<Tracked>();
  objc_setAssociatedObject(owner.get(), &kFirstKey, first.get(), OBJC_ASSOCIATION_RETAIN);
  first = nullptr;
  objc_setAssociatedObject(owner.get(), &kFirstKey, objc::make<Tracked>().get(),
                           OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  EXPECT_EQ(Tracked::alive, before + 1);
  objc_setAssociatedObject(owner.get(), &kFirstKey, nullptr, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  EXPECT_EQ(Tracked::alive, before);
  EXPECT_EQ(objc_getAssociatedObject(owner.get(), &kFirstKey), nullptr);
}

TEST(AssociatedObjectsTest, KeysAndOwnersAreIndependent) {
  defineOnce();
  Ref<Animal> a = objc::make<Animal>();
  Ref<Animal> b = objc::make<Animal>();
  Ref<Dog> value = objc::make<Dog>();
  objc_setAssociatedObject(a.get(), &kFirstKey, value.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  EXPECT_EQ(objc_getAssociatedObject(a.get(), &kFirstKey), value);
  EXPECT_EQ(objc_getAssociatedObject(a.get(), &kSecondKey), nullptr);
  EXPECT_EQ(objc_getAssociatedObject(b.get(), &kFirstKey), nullptr);
  objc_removeAssociatedObjects(a.get());
  EXPECT_EQ(objc_getAssociatedObject(a.get(), &kFirstKey), nullptr);
  EXPECT_EQ(value->retainCount(), 1u);
}
