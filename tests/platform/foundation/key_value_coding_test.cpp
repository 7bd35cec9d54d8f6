#include "platform/foundation/key_value_coding.h"

#include <gtest/gtest.h>

#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"

namespace {

struct Backdrop : NSObject {
  long renderMode = 0;
  bool enabled = false;
  double alpha = 1;
  Ref<NSObject> backgroundColor;
};

objc::Class* backdropClass() {
  static objc::Class* cls = [] {
    objc::Class* c = objc::defineClass<Backdrop, NSObject>("KVCBackdrop");
    objc::addMethod(c, "renderMode", [](Backdrop* self, SEL) { return self->renderMode; });
    objc::addMethod(
        c, "setRenderMode:", [](Backdrop* self, SEL, long mode) { self->renderMode = mode; });
    objc::addMethod(c, "isEnabled", [](Backdrop* self, SEL) { return self->enabled; });
    objc::addMethod(c, "setEnabled:", [](Backdrop* self, SEL, bool on) { self->enabled = on; });
    objc::addMethod(c, "setAlpha:", [](Backdrop* self, SEL, double a) { self->alpha = a; });
    objc::addMethod(c, "backgroundColor",
                    [](Backdrop* self, SEL) { return self->backgroundColor; });
    objc::addMethod(c, "setBackgroundColor:", [](Backdrop* self, SEL, NSObject* color) {
      self->backgroundColor = color;
    });
    return c;
  }();
  return cls;
}

Ref<Backdrop> makeBackdrop() {
  return objc::createInstance<Backdrop>(backdropClass());
}

}  // namespace

TEST(KeyValueCodingTest, SetsScalarsThroughTheirSettersUnboxingNumbers) {
  auto backdrop = makeBackdrop();
  setValueForKey(backdrop.get(), NSNumber::numberWithLongLong(1).get(), "renderMode");
  setValueForKey(backdrop.get(), NSNumber::numberWithBool(true).get(), "enabled");
  setValueForKey(backdrop.get(), NSString::from("0.5").get(), "alpha");
  EXPECT_EQ(backdrop->renderMode, 1);
  EXPECT_TRUE(backdrop->enabled);
  EXPECT_EQ(backdrop->alpha, 0.5);
}

TEST(KeyValueCodingTest, ReadsBoxedScalarsAndObjects) {
  auto backdrop = makeBackdrop();
  backdrop->renderMode = 2;
  backdrop->enabled = true;
  auto mode = valueForKey(backdrop.get(), "renderMode");
  ASSERT_NE(dynamic_cast<NSNumber*>(mode.get()), nullptr);
  EXPECT_EQ(static_cast<NSNumber*>(mode.get())->longLongValue(), 2);
  auto enabled = valueForKey(backdrop.get(), "enabled");
  EXPECT_STREQ(static_cast<NSNumber*>(enabled.get())->objCType(), "B") << "found via isEnabled";
  auto color = NSString::from("red");
  setValueForKey(backdrop.get(), color.get(), "backgroundColor");
  EXPECT_EQ(valueForKey(backdrop.get(), "backgroundColor"), color);
  setValueForKey(backdrop.get(), nullptr, "backgroundColor");
  EXPECT_EQ(backdrop->backgroundColor, nullptr) << "nil clears an object property";
}

TEST(KeyValueCodingTest, UndefinedKeysAndNilScalarsRaise) {
  auto backdrop = makeBackdrop();
  try {
    setValueForKey(backdrop.get(), NSNumber::numberWithLongLong(1).get(), "blurRadius");
    FAIL();
  } catch (const objc::Exception& error) {
    EXPECT_EQ(error.name(), "NSUnknownKeyException");
    EXPECT_NE(std::string(error.what())
                  .find("not key value coding-compliant for the key "
                        "blurRadius"),
              std::string::npos);
  }
  EXPECT_THROW(valueForKey(backdrop.get(), "blurRadius"), objc::Exception);
  EXPECT_THROW(setValueForKey(backdrop.get(), nullptr, "renderMode"), objc::Exception);
  EXPECT_EQ(backdrop->renderMode, 0);
}
