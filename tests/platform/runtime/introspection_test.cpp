// Listing the runtime's classes, methods and properties, as a class browser does.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <thread>

#include "platform/runtime/runtime.h"
#include "test_classes.h"

using namespace testing_classes;

namespace {

bool listed(objc::Class* cls) {
  std::vector<objc::Class*> classes = objc_copyClassList();
  return std::find(classes.begin(), classes.end(), cls) != classes.end();
}

std::set<std::string> selectorNames(const objc::Class* cls) {
  std::set<std::string> names;
  for (const objc::Method* method : class_copyMethodList(cls))
    names.insert(sel_getName(method_getName(method)));
  return names;
}

}  // namespace

TEST(IntrospectionTest, ClassListHoldsRegisteredClassesOnly) {
  objc::Class* pending = objc_allocateClassPair(animalClass(), "PendingListing", 0);
  ASSERT_NE(pending, nullptr);
  EXPECT_FALSE(listed(pending)) << "not registered yet";
  objc_registerClassPair(pending);
  EXPECT_TRUE(listed(pending));
  EXPECT_TRUE(listed(dogClass()));
  std::vector<objc::Class*> classes = objc_copyClassList();
  EXPECT_TRUE(std::none_of(classes.begin(), classes.end(), class_isMetaClass));
}

TEST(IntrospectionTest, MethodListsHoldOwnMethodsWithTheirNamesAndEncodings) {
  objc::Class* base = freshSubclass(animalClass(), "Kennel");
  objc::Class* derived = freshSubclass(base, "Barker");
  objc::addMethod(base, "sleep", [](Animal*, SEL) {});
  objc::addMethod(derived,
                  "bark:", [](Animal* self, SEL, int times) { return self->legs * times; });
  objc::addMethod(derived, "legs", [](Animal* self, SEL) { return self->legs; });
  objc::addClassMethod(derived, "breed", [](objc::Class*, SEL) { return 1.5; });

  EXPECT_EQ(selectorNames(derived), (std::set<std::string>{"bark:", "legs"}))
      << "inherited methods are the superclass's";
  EXPECT_EQ(selectorNames(object_getClass(derived)), std::set<std::string>{"breed"});
  for (const objc::Method* method : class_copyMethodList(derived)) {
    EXPECT_STREQ(method_getTypeEncoding(method),
                 method_getName(method) == objc::sel("bark:") ? "i@:i" : "i@:");
  }
  EXPECT_STREQ(method_getTypeEncoding(class_copyMethodList(object_getClass(derived)).front()),
               "d@:");
  EXPECT_TRUE(class_copyMethodList(nullptr).empty());
  EXPECT_EQ(method_getName(nullptr), nullptr);
}

TEST(IntrospectionTest, MethodListShowsAReplacementOnceInstalled) {
  objc::Class* cls = freshSubclass(animalClass(), "Hooked");
  objc::addMethod(cls, "legs", [](Animal* self, SEL) { return self->legs; });
  const std::vector<const objc::Method*> before = class_copyMethodList(cls);
  objc::Imp replacement = objc::Imp::of([](Animal*, SEL) { return 3; });
  objc::Imp original;
  MSHookMessageEx(cls, objc::sel("legs"), replacement, &original);

  const std::vector<const objc::Method*> after = class_copyMethodList(cls);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(method_getImplementation(after.front()), replacement);
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(method_getImplementation(before.front()), original) << "an earlier list is kept";
}

TEST(IntrospectionTest, PropertyListHoldsOwnPropertiesInTheOrderDeclared) {
  objc::Class* base = freshSubclass(animalClass(), "Cell");
  objc::Class* derived = freshSubclass(base, "SwitchCell");
  objc_property_attribute_t flag[] = {{"T", "B"}, {"N", ""}};
  objc_property_attribute_t view[] = {{"T", "@\"UIView\""}, {"&", ""}};
  class_addProperty(base, "highlighted", flag, 2);
  class_addProperty(derived, "on", flag, 2);
  class_addProperty(derived, "control", view, 2);

  std::vector<const objc::Property*> properties = class_copyPropertyList(derived);
  ASSERT_EQ(properties.size(), 2u);
  EXPECT_STREQ(property_getName(properties[0]), "on");
  EXPECT_STREQ(property_getAttributes(properties[0]), "TB,N");
  EXPECT_STREQ(property_getName(properties[1]), "control");
  EXPECT_STREQ(property_getAttributes(properties[1]), "T@\"UIView\",&");
  EXPECT_TRUE(class_copyPropertyList(object_getClass(derived)).empty());
  EXPECT_TRUE(class_copyPropertyList(nullptr).empty());
}

// A browser lists a process whose libraries may still be registering classes and methods.
TEST(IntrospectionTest, ListingWhileClassesAreRegisteredSeesWholeEntries) {
  constexpr int kClasses = 50, kMembers = 20;
  std::atomic<bool> done{false};
  std::thread registrar([&] {
    objc_property_attribute_t flag[] = {{"T", "B"}};
    for (int i = 0; i < kClasses; ++i) {
      // Registered first and filled afterwards, as a class made at run time may be.
      objc::Class* cls = freshSubclass(animalClass(), "Concurrent");
      for (int member = 0; member < kMembers; ++member) {
        const std::string name = "member" + std::to_string(member);
        objc::addMethod(cls, name, [](Animal* self, SEL) { return self->legs; });
        class_addProperty(cls, name.c_str(), flag, 1);
      }
    }
    done = true;
  });
  bool whole = true;
  do {
    for (objc::Class* cls : objc_copyClassList()) {
      for (const objc::Method* method : class_copyMethodList(cls))
        whole = whole && method_getName(method) && method_getTypeEncoding(method);
      for (const objc::Property* property : class_copyPropertyList(cls))
        whole = whole && property_getName(property) && property_getAttributes(property);
    }
  } while (!done);
  registrar.join();
  std::vector<objc::Class*> classes = objc_copyClassList();
  EXPECT_GE(std::count_if(classes.begin(), classes.end(),
                          [](objc::Class* cls) {
                            return std::string(class_getName(cls)).starts_with("Concurrent_");
                          }),
            kClasses);
  EXPECT_TRUE(whole);
}
