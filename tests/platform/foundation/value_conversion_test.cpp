#include "platform/foundation/value_conversion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"

namespace {
Ref<NSString> text(const char* value) {
  return NSString::from(value);
}
}  // namespace

TEST(ValueConversionTest, NumbersAreTrueWhenNonZero) {
  EXPECT_TRUE(boolValueOf(NSNumber::numberWithLongLong(2).get()));
  EXPECT_TRUE(boolValueOf(NSNumber::numberWithDouble(0.25).get()));
  EXPECT_FALSE(boolValueOf(NSNumber::numberWithDouble(0.0).get()));
  EXPECT_TRUE(boolValueOf(NSNumber::numberWithBool(true).get()));
  EXPECT_FLOAT_EQ(floatValueOf(NSNumber::numberWithBool(true).get()), 1.0f);
  EXPECT_EQ(floatValueOf(NSNumber::numberWithDouble(0.1).get()), 0.1f);
}

TEST(ValueConversionTest, StringsConvertByTheirLeadingText) {
  for (const char* yes : {"YES", "yes", "true", "T", "  1", "+7", "-3", "0009", "y-not"}) {
    EXPECT_TRUE(boolValueOf(text(yes).get())) << yes;
  }
  for (const char* no : {"", "NO", "false", "0", "000", "  ", "abc", "+", "-0"}) {
    EXPECT_FALSE(boolValueOf(text(no).get())) << no;
  }
  EXPECT_FLOAT_EQ(floatValueOf(text("  12.5pt").get()), 12.5f);
  EXPECT_FLOAT_EQ(floatValueOf(text("-.5").get()), -0.5f);
  EXPECT_FLOAT_EQ(floatValueOf(text("1e2x").get()), 100.0f);
  EXPECT_FLOAT_EQ(floatValueOf(text("3e").get()), 3.0f);
  EXPECT_EQ(floatValueOf(text("0x10").get()), 0.0f) << "hexadecimal is not decimal";
  EXPECT_EQ(floatValueOf(text("abc").get()), 0.0f);
  EXPECT_TRUE(std::isinf(doubleValueOf(text("1e999").get())));
  EXPECT_EQ(longLongValueOf(text(" -42 apples").get()), -42);
}

TEST(ValueConversionTest, OtherObjectsAndNilGiveZeroInsteadOfFailing) {
  EXPECT_FALSE(boolValueOf(nullptr));
  EXPECT_EQ(floatValueOf(nullptr), 0.0f);
  EXPECT_FALSE(boolValueOf(NSArray::from({text("1")}).get()));
  EXPECT_EQ(floatValueOf(NSData::from({1, 2}).get()), 0.0f);
  EXPECT_EQ(longLongValueOf(NSDate::dateWithTimeIntervalSinceReferenceDate(5).get()), 0);
}

TEST(NumberTest, KeepsItsKindAndComparesAcrossKinds) {
  EXPECT_STREQ(NSNumber::numberWithBool(false)->objCType(), "B");
  EXPECT_STREQ(NSNumber::numberWithDouble(1)->objCType(), "d");
  auto minusOne = NSNumber::numberWithLongLong(-1);
  auto huge = NSNumber::numberWithUnsignedLongLong(UINT64_MAX);
  EXPECT_FALSE(minusOne->isEqualToNumber(huge.get())) << "same bits, different values";
  EXPECT_TRUE(
      NSNumber::numberWithLongLong(3)->isEqualToNumber(NSNumber::numberWithDouble(3.0).get()));
  EXPECT_EQ(huge->stringValue(), "18446744073709551615");
  EXPECT_EQ(NSNumber::numberWithDouble(0.1)->stringValue(), "0.1");
  EXPECT_EQ(NSNumber::numberWithBool(true)->stringValue(), "1");
}
