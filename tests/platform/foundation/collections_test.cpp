#include <gtest/gtest.h>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"

namespace {
Ref<NSString> text(const char* value) {
  return NSString::from(value);
}
}  // namespace

TEST(CollectionsTest, DictionaryStoresReplacesAndRemoves) {
  auto settings = NSMutableDictionary::from({{"b", text("two")}, {"a", nullptr}});
  EXPECT_EQ(settings->count(), 1u) << "nil values are not stored";
  settings->setObject("a", NSNumber::numberWithLongLong(1));
  settings->setObject("b", text("deux"));
  EXPECT_EQ(settings->objectForKey<NSString>("b")->string(), "deux");
  EXPECT_EQ(settings->objectForKey<NSString>("a"), nullptr) << "wrong type reads as nil";
  settings->setObject("a", nullptr);
  EXPECT_EQ(settings->objectForKey("a"), nullptr);
  auto copy = NSMutableDictionary::mutableCopyOf(settings.get());
  copy->setObject("c", text("three"));
  EXPECT_EQ(settings->count(), 1u) << "a copy is independent";
}

TEST(CollectionsTest, ArrayEditsKeepOrderAndIgnoreNil) {
  auto one = text("one"), two = text("two");
  auto list = NSMutableArray::from({one, nullptr, two});
  ASSERT_EQ(list->count(), 2u);
  list->insertObject(text("zero"), 0);
  list->insertObject(text("end"), 99);
  list->addObject(nullptr);
  list->removeObjectIdenticalTo(one.get());
  std::vector<std::string> names;
  for (const auto& item : *list)
    names.push_back(describe(item.get()));
  EXPECT_EQ(names, (std::vector<std::string>{"zero", "two", "end"}));
  EXPECT_EQ(list->objectAtIndex(7), nullptr);
}

TEST(CollectionsTest, DescriptionsReadLikeThePlatformsAndContainElementDescriptions) {
  auto nested =
      NSDictionary::from({{"name", text("Vitrel glass")},
                          {"items", NSArray::from({text("a"), NSNumber::numberWithDouble(0.5)})},
                          {"empty", NSArray::from({})}});
  EXPECT_EQ(describe(nested.get()),
            "{\n"
            "    empty = (\n"
            "    );\n"
            "    items = (\n"
            "        a,\n"
            "        0.5\n"
            "    );\n"
            "    name = \"Vitrel glass\";\n"
            "}");
  EXPECT_EQ(describe(NSData::from({0xde, 0xad}).get()), "{length = 2, bytes = 0xdead}");
  EXPECT_EQ(describe(NSDate::dateWithTimeIntervalSinceReferenceDate(86400).get()),
            "2001-01-02 00:00:00 +0000");
}

TEST(ObjectTest, DefaultDescriptionNamesTheClassAndAddress) {
  Ref<NSObject> object = objc::make<NSObject>();
  std::string text = describe(object.get());
  EXPECT_EQ(text.rfind("<NSObject: 0x", 0), 0u) << text;
  EXPECT_EQ(text.back(), '>');
  EXPECT_EQ(describe(nullptr), "(null)");
  EXPECT_EQ(describe(objc_getClass("NSString")), "NSString");
}

TEST(ObjectTest, RootMethodsAnswerByMessage) {
  Ref<NSObject> string = NSString::from("x");
  EXPECT_TRUE(objc::msgSend<bool>(string, objc::sel("isKindOfClass:"), objc_getClass("NSObject")));
  EXPECT_FALSE(objc::msgSend<bool>(string, objc::sel("isKindOfClass:"), objc_getClass("NSArray")));
  EXPECT_TRUE(objc::msgSend<bool>(string, objc::sel("respondsToSelector:"), objc::sel("init")));
  EXPECT_EQ(objc::msgSend<objc::Class*>(string, objc::sel("class")), objc_getClass("NSString"));
  objc::Class* stringClass = objc_getClass("NSString");
  EXPECT_EQ(objc::msgSend<objc::Class*>(stringClass, objc::sel("class")), stringClass);
}
