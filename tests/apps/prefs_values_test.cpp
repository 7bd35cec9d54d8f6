#include <gtest/gtest.h>

#include "apps/vitrel/settings_file.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"

namespace {

using settings_file::ValueType;

// The value as `vitrel prefs get` prints it, or "refused: " with the reason.
std::string parsed(std::string_view text, ValueType type) {
  Result<Ref<NSObject>> value = settings_file::parseValue(text, type);
  return value ? settings_file::format(value.value().get()) : "refused: " + value.error();
}

bool refused(std::string_view text, ValueType type) {
  return !settings_file::parseValue(text, type).ok();
}

}  // namespace

TEST(PrefsValueTest, BooleansAreTheirWordsInAnyCase) {
  for (const char* text : {"true", "TRUE", "Yes", "on", "1"})
    EXPECT_EQ(parsed(text, ValueType::boolean), "true") << text;
  for (const char* text : {"false", "No", "OFF", "0"})
    EXPECT_EQ(parsed(text, ValueType::boolean), "false") << text;
  for (const char* text : {"", " true", "true ", "truee", "2", "-1", "y", "enabled", "nil"})
    EXPECT_TRUE(refused(text, ValueType::boolean)) << text;
  EXPECT_EQ(parsed("maybe", ValueType::boolean),
            "refused: \"maybe\" is not a boolean (use true or false)");
}

TEST(PrefsValueTest, NumbersAreWholeFiniteDecimals) {
  EXPECT_EQ(parsed("12.5", ValueType::number), "12.5");
  EXPECT_EQ(parsed("-3", ValueType::number), "-3");
  EXPECT_EQ(parsed("1e3", ValueType::number), "1000");
  for (const char* text : {"", " 12", "12 ", "12px", "1,5", "0x10", "1.2.3", "--1", "nan", "NaN",
                           "inf", "-infinity", "1e400", "-1e400", "\xd9\xa1\xd9\xa2", "true"})
    EXPECT_TRUE(refused(text, ValueType::number)) << text;
}

TEST(PrefsValueTest, TextsAreKeptAsTheyAre) {
  for (const char* text : {"", "Edit Home Screen, Share", "ünïcödé ✓ 😀", "tab\tand\nlines\r",
                           "<key>&amp;</key>", "%2e%2e/"}) {
    Result<Ref<NSObject>> value = settings_file::parseValue(text, ValueType::string);
    ASSERT_TRUE(value) << text << ": " << value.error();
    auto* string = dynamic_cast<const NSString*>(value.value().get());
    ASSERT_TRUE(string) << text;
    EXPECT_EQ(string->string(), text);
  }
}

// The settings file is XML: what it cannot hold would leave a file that strict readers refuse
// whole, taking every other setting with it.
TEST(PrefsValueTest, RefusesTextsThatTheFileCannotHold) {
  using namespace std::string_view_literals;
  for (std::string_view text :
       {"a\0b"sv, "bell\x07"sv, "\x1b[31mred"sv, "\x7f\x01"sv, "\xff"sv, "caf\xe9"sv,
        "\xc0\xaf"sv,              // an overlong '/'
        "\xe0\x80\xaf"sv,          // the same, longer
        "\xed\xa0\x80"sv,          // half of a surrogate pair
        "\xf4\x90\x80\x80"sv,      // beyond U+10FFFF
        "\xf8\x88\x80\x80\x80"sv,  // a five-byte form
        "\xe2\x82"sv, "\x80"sv}) {
    EXPECT_TRUE(refused(text, ValueType::string)) << testing::PrintToString(text);
    EXPECT_TRUE(settings_file::unstorableText(text)) << testing::PrintToString(text);
  }
  EXPECT_EQ(parsed("\x01", ValueType::string),
            "refused: the text cannot be stored: it holds a control character (only tab and line "
            "breaks may be stored)");
  EXPECT_FALSE(settings_file::unstorableText("\xf4\x8f\xbf\xbf"));  // U+10FFFF itself
}

TEST(PrefsValueTest, AValuesTextSuggestsItsType) {
  EXPECT_EQ(settings_file::inferType("yes"), ValueType::boolean);
  EXPECT_EQ(settings_file::inferType("Off"), ValueType::boolean);
  // Digits are numbers first: 1 and 0 are not read as switches.
  EXPECT_EQ(settings_file::inferType("1"), ValueType::number);
  EXPECT_EQ(settings_file::inferType("0"), ValueType::number);
  EXPECT_EQ(settings_file::inferType("12.5"), ValueType::number);
  for (const char* text : {"", "palette", "12px", "nan", "true!"})
    EXPECT_EQ(settings_file::inferType(text), ValueType::string) << text;
}

TEST(PrefsValueTest, KeysAreReadAsTheLibraryReadsThem) {
  EXPECT_EQ(settings_file::knownType("enabled"), ValueType::boolean);
  EXPECT_EQ(settings_file::knownType("cornerRadius"), ValueType::number);
  EXPECT_EQ(settings_file::knownType("colorMethodTavrel"), ValueType::string);
  for (const char* key : {"", "Enabled", "cornerradius", "enabled ", "colorMethodTavrel\n"})
    EXPECT_EQ(settings_file::knownType(key), std::nullopt) << key;
  EXPECT_EQ(settings_file::typeNamed("number"), ValueType::number);
  for (const char* name : {"", "Bool", "boolean", "int", "string "})
    EXPECT_EQ(settings_file::typeNamed(name), std::nullopt) << name;
}

TEST(PrefsValueTest, StoredValuesHaveTheirTypes) {
  EXPECT_EQ(settings_file::typeOf(NSNumber::numberWithBool(false).get()), ValueType::boolean);
  EXPECT_EQ(settings_file::typeOf(NSNumber::numberWithDouble(0).get()), ValueType::number);
  EXPECT_EQ(settings_file::typeOf(NSString::from("0").get()), ValueType::string);
  EXPECT_EQ(settings_file::typeOf(nullptr), std::nullopt);
  EXPECT_EQ(settings_file::typeOf(NSDictionary::from({}).get()), std::nullopt);
}
