#include "platform/runtime/substrate.h"

#include <gtest/gtest.h>

#include "platform/runtime/runtime.h"
#include "test_classes.h"

using namespace testing_classes;
using objc::msgSend;
using objc::sel;

namespace {

// Each replacement below records the implementation it replaced here, as a hook module does.
objc::Imp previousDescribe;

std::string callPrevious(Animal* self, SEL cmd) {
  return previousDescribe.call<int>(self, cmd) == 1 ? "host" : "?";
}

class SubstrateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base = freshSubclass(animalClass(), "Base");
    derived = freshSubclass(base, "Derived");
    objc::addMethod(base, "describe", [](Animal*, SEL) { return 1; });
    previousDescribe = objc::Imp();
  }
  objc::Class* base = nullptr;
  objc::Class* derived = nullptr;
};

}  // namespace

TEST_F(SubstrateTest, ReplacementReachesTheHostImplementation) {
  MSHookMessageEx(base, sel("describe"), objc::Imp::of([](Animal* self, SEL cmd) {
                    return callPrevious(self, cmd) == "host" ? 10 : -1;
                  }),
                  &previousDescribe);
  ASSERT_TRUE(previousDescribe);
  EXPECT_EQ(msgSend<int>(objc::createInstance(base), sel("describe")), 10);
  EXPECT_EQ(msgSend<int>(objc::createInstance(derived), sel("describe")), 10);
}

TEST_F(SubstrateTest, HookingAnInheritedMethodLeavesTheSuperclassAlone) {
  MSHookMessageEx(derived, sel("describe"), objc::Imp::of([](Animal* self, SEL cmd) {
                    return previousDescribe.call<int>(self, cmd) + 20;
                  }),
                  &previousDescribe);
  EXPECT_EQ(msgSend<int>(objc::createInstance(derived), sel("describe")), 21);
  EXPECT_EQ(msgSend<int>(objc::createInstance(base), sel("describe")), 1);
}

TEST_F(SubstrateTest, HooksStackInInstallationOrder) {
  static objc::Imp first, second;
  MSHookMessageEx(
      base, sel("describe"),
      objc::Imp::of([](Animal* self, SEL cmd) { return first.call<int>(self, cmd) * 10; }), &first);
  MSHookMessageEx(base, sel("describe"), objc::Imp::of([](Animal* self, SEL cmd) {
                    return second.call<int>(self, cmd) + 5;
                  }),
                  &second);
  EXPECT_EQ(msgSend<int>(objc::createInstance(base), sel("describe")), 15);
}

TEST_F(SubstrateTest, MissingClassOrSelectorInstallsNothing) {
  auto replacement = objc::Imp::of([](Animal*, SEL) { return 99; });
  objc::Imp untouched = objc::Imp::of([](Animal*, SEL) { return 0; });
  objc::Imp previous = untouched;
  MSHookMessageEx(objc_getClass("NoSuchHostClass"), sel("describe"), replacement, &previous);
  MSHookMessageEx(base, sel("noSuchMethod"), replacement, &previous);
  EXPECT_EQ(previous, untouched);
  EXPECT_FALSE(class_respondsToSelector(base, sel("noSuchMethod")));
  EXPECT_EQ(msgSend<int>(objc::createInstance(base), sel("describe")), 1);
}

TEST_F(SubstrateTest, ReplacementOfAnotherTypeIsRefused) {
  std::string reported;
  objc::setDiagnosticHandler([&](std::string_view message) { reported = message; });
  MSHookMessageEx(base, sel("describe"), objc::Imp::of([](Animal*, SEL) { return 2.0; }),
                  &previousDescribe);
  objc::setDiagnosticHandler(nullptr);
  EXPECT_FALSE(previousDescribe);
  EXPECT_EQ(msgSend<int>(objc::createInstance(base), sel("describe")), 1);
  EXPECT_NE(reported.find("has type i@:, the replacement d@:"), std::string::npos) << reported;
}

TEST_F(SubstrateTest, CallingAnEmptyImplementationThrows) {
  objc::Imp empty;
  EXPECT_THROW(empty.call<int>(objc::createInstance(base).get(), sel("describe")), objc::Exception);
}
