#include "platform/runtime/property.h"

#include <gtest/gtest.h>

#include "test_classes.h"

using namespace testing_classes;

TEST(PropertyTest, DeclaredAttributesCanBeQueried) {
  objc::Class* cls = freshSubclass(animalClass(), "Controller");
  objc_property_attribute_t attributes[] = {{"T", "@\"UIView\""}, {"&", ""}, {"N", ""}};
  ASSERT_TRUE(class_addProperty(cls, "tavrelView", attributes, 3));
  const objc::Property* property = class_getProperty(cls, "tavrelView");
  ASSERT_NE(property, nullptr);
  EXPECT_STREQ(property_getName(property), "tavrelView");
  EXPECT_STREQ(property_getAttributes(property), "T@\"UIView\",&,N");
  EXPECT_EQ(property_copyAttributeValue(property, "T"), "@\"UIView\"");
  EXPECT_EQ(property_copyAttributeValue(property, "N"), "");
  EXPECT_EQ(property_copyAttributeValue(property, "R"), std::nullopt);
}

TEST(PropertyTest, SubclassesSeeInheritedPropertiesAndNamesAreUnique) {
  objc::Class* base = freshSubclass(animalClass(), "Reusable");
  objc::Class* derived = freshSubclass(base, "Cell");
  objc_property_attribute_t attributes[] = {{"T", "B"}, {"N", ""}};
  EXPECT_TRUE(class_addProperty(base, "hasCustomizedBackgroundColor", attributes, 2));
  EXPECT_FALSE(class_addProperty(base, "hasCustomizedBackgroundColor", attributes, 2));
  EXPECT_NE(class_getProperty(derived, "hasCustomizedBackgroundColor"), nullptr);
  EXPECT_EQ(class_getProperty(base, "other"), nullptr);
  EXPECT_FALSE(class_addProperty(nullptr, "x", attributes, 2));
}
