// Property lists as XML and binary documents: what is read, what is written, what is refused.
#include <gtest/gtest.h>
#include <plist/plist.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/property_list.h"
#include "property_list_samples.h"

namespace fs = std::filesystem;
using namespace property_list_samples;

namespace {

std::string bytesOf(plist_t root) {
  char* raw = nullptr;
  uint32_t length = 0;
  plist_to_bin(root, &raw, &length);
  std::string bytes(raw, length);
  plist_to_bin_free(raw);
  plist_free(root);
  return bytes;
}

// A binary list of n arrays, each holding the next one `width` times (2-byte references).
std::string chainOfArrays(int count, int width) {
  std::string bytes = "bplist00";
  std::vector<uint32_t> offsets;
  for (int i = 0; i < count; ++i) {
    offsets.push_back(static_cast<uint32_t>(bytes.size()));
    int children = i + 1 < count ? width : 0;
    bytes += static_cast<char>(0xA0 | children);
    for (int c = 0; c < children; ++c) {
      bytes += static_cast<char>((i + 1) >> 8);
      bytes += static_cast<char>(i + 1);
    }
  }
  uint64_t table = bytes.size();
  for (uint32_t offset : offsets) {
    for (int shift = 24; shift >= 0; shift -= 8)
      bytes += static_cast<char>(offset >> shift);
  }
  std::string trailer(32, '\0');
  trailer[6] = 4;
  trailer[7] = 2;
  for (int k = 0; k < 8; ++k) {
    trailer[8 + k] = static_cast<char>(uint64_t(count) >> (56 - 8 * k));
    trailer[24 + k] = static_cast<char>(table >> (56 - 8 * k));
  }
  return bytes + trailer;
}

Ref<NSNumber> numberIn(const Result<Ref<NSObject>>& parsed) {
  return parsed ? Ref<NSNumber>(dynamic_cast<NSNumber*>(parsed.value().get())) : nullptr;
}

}  // namespace

TEST(PropertyListDateTest, XmlKeepsWholeSecondsRoundedDown) {
  for (auto [seconds, expected] : {std::pair{12.75, 12.0}, {-0.5, -1.0}, {-3.0, -3.0}}) {
    Ref<NSObject> date = NSDate::dateWithTimeIntervalSinceReferenceDate(seconds);
    Result<std::string> xml = xmlPropertyList(date.get());
    ASSERT_TRUE(xml) << xml.error();
    Ref<NSObject> parsed = parsePropertyList(xml.value()).valueOr(nullptr);
    auto* read = dynamic_cast<NSDate*>(parsed.get());
    ASSERT_TRUE(read) << xml.value();
    EXPECT_EQ(read->timeIntervalSinceReferenceDate(), expected) << seconds;
  }
}

TEST(PropertyListDateTest, DatesOutsideTheXmlRangeAreRefusedNotWrapped) {
  for (double seconds : {3.2e9, -2.2e9, std::numeric_limits<double>::quiet_NaN()}) {
    Ref<NSObject> date = NSDate::dateWithTimeIntervalSinceReferenceDate(seconds);
    Result<std::string> xml = xmlPropertyList(date.get());
    ASSERT_FALSE(xml) << seconds;
    EXPECT_NE(xml.error().find("1932 to 2069"), std::string::npos) << xml.error();
  }
}

TEST(PropertyListXmlTest, WritesThePlatformsXmlFormat) {
  Result<std::string> xml = xmlPropertyList(
      NSDictionary::from({{"on", NSNumber::numberWithBool(true)}, {"n", integer(-2)}}).get());
  ASSERT_TRUE(xml) << xml.error();
  EXPECT_TRUE(xml.value().starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
  EXPECT_NE(xml.value().find("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\""),
            std::string::npos);
  EXPECT_NE(xml.value().find("<plist version=\"1.0\">"), std::string::npos);
  EXPECT_NE(xml.value().find("<key>on</key>\n\t<true/>"), std::string::npos) << xml.value();
  EXPECT_NE(xml.value().find("<integer>-2</integer>"), std::string::npos) << xml.value();
}

TEST(PropertyListXmlTest, NestingUpToTheBoundWritesAndReadsBack) {
  auto nested = [](int depth) {
    Ref<NSObject> tree = NSArray::from({});
    for (int i = 1; i < depth; ++i)
      tree = NSArray::from({tree});
    return tree;
  };
  Result<std::string> deepest = xmlPropertyList(nested(kPropertyListMaxDepth).get());
  ASSERT_TRUE(deepest) << deepest.error();
  Result<Ref<NSObject>> read = parsePropertyList(deepest.value());
  ASSERT_TRUE(read) << read.error();
  EXPECT_TRUE(propertyListsEqual(read.value().get(), nested(kPropertyListMaxDepth).get()));
  EXPECT_FALSE(xmlPropertyList(nested(kPropertyListMaxDepth + 1).get()));
}

TEST(PropertyListXmlTest, ReadsDocumentsWithByteOrderMarkCommentsAndHexIntegers) {
  Result<Ref<NSObject>> read = parsePropertyList(
      "\xEF\xBB\xBF" +
      xmlDocument("<!-- <array> is not read here --><dict><key>a</key><integer> 0x1F "
                  "</integer><key>b</key><string><![CDATA[<dict>]]></string></dict>"));
  ASSERT_TRUE(read) << read.error();
  EXPECT_TRUE(propertyListsEqual(
      read.value().get(), NSDictionary::from({{"a", integer(31)}, {"b", text("<dict>")}}).get()));
}

TEST(PropertyListXmlTest, RefusesScalarsThatWouldBeMisreadInsteadOfGuessing) {
  const char* kBodies[] = {
      "<integer>abc</integer>",
      "<integer>010</integer>",
      "<integer>12abc</integer>",
      "<integer>-9223372036854775809</integer>",
      "<integer>18446744073709551616</integer>",
      "<integer/>",
      "<real>fast</real>",
      "<date>2001-02-30T00:00:00Z</date>",
      "<date>2100-01-01T00:00:00Z</date>",
      "<date>yesterday</date>",
      "<data>!!not base64!!</data>",
  };
  for (const char* body : kBodies) {
    Result<Ref<NSObject>> read = parsePropertyList(xmlDocument(body));
    EXPECT_FALSE(read) << body;
    if (!read) {
      EXPECT_FALSE(read.error().empty());
    }
  }
}

TEST(PropertyListXmlTest, NulBytesAreRefusedBeforeLibplistSeesThem) {
  // libplist aborts on a string holding NUL, and cuts a key short at one.
  for (std::string body : {"<string>a_b</string>", "<dict><key>a_b</key><true/></dict>"}) {
    body[body.find('_')] = '\0';
    Result<Ref<NSObject>> read = parsePropertyList(xmlDocument(body));
    ASSERT_FALSE(read);
    EXPECT_NE(read.error().find("NUL"), std::string::npos) << read.error();
  }
}

// --- Binary property lists.

TEST(PropertyListBinaryTest, ReadsWhatLibplistWritesWithEveryKind) {
  plist_t root = plist_new_dict();
  plist_dict_set_item(root, "flag", plist_new_bool(1));
  plist_dict_set_item(root, "negative", plist_new_uint(static_cast<uint64_t>(-5)));
  plist_dict_set_item(root, "real", plist_new_real(0.1));
  plist_dict_set_item(root, "name", plist_new_string("Grüße"));
  plist_dict_set_item(root, "bytes", plist_new_data("\x00\x01", 2));
  plist_dict_set_item(root, "later", plist_new_date(10, 250000));
  plist_dict_set_item(root, "earlier", plist_new_date(0, -250000));
  plist_dict_set_item(root, "uid", plist_new_uid(3));
  plist_t list = plist_new_array();
  plist_array_append_item(list, plist_new_string("x"));
  plist_dict_set_item(root, "list", list);

  Result<Ref<NSObject>> read = parsePropertyList(bytesOf(root));
  ASSERT_TRUE(read) << read.error();
  Ref<NSDictionary> expected = NSDictionary::from({
      {"flag", NSNumber::numberWithBool(true)},
      {"negative", integer(-5)},
      {"real", NSNumber::numberWithDouble(0.1)},
      {"name", text("Grüße")},
      {"bytes", NSData::from({0, 1})},
      {"later", NSDate::dateWithTimeIntervalSinceReferenceDate(10.25)},
      {"earlier", NSDate::dateWithTimeIntervalSinceReferenceDate(-0.25)},
      {"uid", integer(3)},
      {"list", NSArray::from({text("x")})},
  });
  EXPECT_TRUE(propertyListsEqual(read.value().get(), expected.get()))
      << describe(read.value().get());
}

TEST(PropertyListBinaryTest, SixteenByteIntegersReadAsUnsigned) {
  plist_t node = nullptr;
  std::string xml = xmlDocument("<integer>18446744073709551615</integer>");
  plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &node);
  Ref<NSNumber> number = numberIn(parsePropertyList(bytesOf(node)));
  ASSERT_TRUE(number);
  EXPECT_STREQ(number->objCType(), "Q");
  EXPECT_EQ(number->unsignedLongLongValue(), UINT64_MAX);

  std::string tooWide =
      handMadeBinary({std::string("\x14\x01", 2) + std::string(14, '\0') + "\x05"});
  EXPECT_FALSE(parsePropertyList(tooWide)) << "the high half would be dropped silently";
}

TEST(PropertyListBinaryTest, ReadsABinaryFileFromDisk) {
  plist_t root = plist_new_dict();
  plist_dict_set_item(root, "key", plist_new_string("value"));
  std::string path = fs::temp_directory_path() / ("binary." + std::to_string(::getpid()));
  std::ofstream(path, std::ios::binary) << bytesOf(root);
  Ref<NSDictionary> read = dictionaryWithContentsOfFile(path);
  fs::remove(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->objectForKey<NSString>("key")->string(), "value");
}

TEST(PropertyListBinaryTest, RefusesDamagedLayoutsWithoutCrashing) {
  std::string good = handMadeBinary({"\xA1\x01", "\x09"});
  ASSERT_TRUE(parsePropertyList(good));
  std::vector<std::string> damaged = {
      good.substr(0, good.size() - 1),                               // truncated trailer
      good.substr(0, 10) + good.substr(good.size() - 32),            // objects cut away
      handMadeBinary({std::string("\xA1\x00", 2)}),                  // an array holding itself
      handMadeBinary({"\xA2\x01\x02", "\x09"}),                      // a reference to no object
      handMadeBinary({"\xAF\x10\x7F"}),                              // more references than bytes
      handMadeBinary({"\x5F\x13\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"}),  // a string of 2^64 bytes
      handMadeBinary({std::string("\x00", 1)}),                      // a null object
      handMadeBinary({"\x75"}),                                      // an unknown type
      handMadeBinary({std::string("\x53"
                                  "a\0b",
                                  4)}),              // NUL in text: libplist would abort
      handMadeBinary({std::string("\x61\0\0", 3)}),  // the same in UTF-16
      "bplist15" + good.substr(8),                   // a version libplist cannot read
  };
  for (const std::string& bytes : damaged) {
    Result<Ref<NSObject>> read = parsePropertyList(bytes);
    EXPECT_FALSE(read);
    if (!read) {
      EXPECT_FALSE(read.error().empty());
    }
  }
}

TEST(PropertyListBinaryTest, SharedObjectsCannotExpandWithoutBound) {
  // Arrays that each hold the next twice expand to 2^n values from a few hundred bytes.
  for (int count : {20, 40}) {
    Result<Ref<NSObject>> read = parsePropertyList(chainOfArrays(count, 2));
    ASSERT_FALSE(read) << count;
    EXPECT_NE(read.error().find("expand"), std::string::npos) << read.error();
  }
  // Sharing that stays small is fine.
  EXPECT_TRUE(parsePropertyList(chainOfArrays(10, 2)));
}

TEST(PropertyListBinaryTest, DeepNestingIsRefusedBeforeLibplistRecurses) {
  EXPECT_TRUE(parsePropertyList(chainOfArrays(kPropertyListMaxDepth, 1)));
  Result<Ref<NSObject>> read = parsePropertyList(chainOfArrays(60000, 1));
  ASSERT_FALSE(read);
  EXPECT_NE(read.error().find("nested deeper"), std::string::npos) << read.error();
}

TEST(PropertyListWriteTest, ValuesAPropertyListCannotHoldAreRefused) {
  EXPECT_FALSE(xmlPropertyList(nullptr));
  EXPECT_FALSE(xmlPropertyList(text(std::string("a\0b", 3)).get()));
  EXPECT_FALSE(xmlPropertyList(NSDictionary::from({{std::string("k\0", 2), integer(1)}}).get()));
  Ref<NSMutableArray> loop = NSMutableArray::from({});
  loop->addObject(loop);
  Result<std::string> xml = xmlPropertyList(loop.get());
  loop->removeAllObjects();  // break the cycle so the array can be freed
  ASSERT_FALSE(xml);
  EXPECT_NE(xml.error().find("nested deeper"), std::string::npos) << xml.error();
}
