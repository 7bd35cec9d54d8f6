#include "platform/foundation/property_list.h"

#include <gtest/gtest.h>
#include <plist/plist.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards.
class PropertyListFileTest : public testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    folder_ = fs::temp_directory_path() / ("property_list_test." + std::to_string(::getpid()) +
                                           "." + std::to_string(counter++));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
  }
  fs::path file(const std::string& name) const { return folder_ / name; }
  void writeBytes(const fs::path& path, std::string_view bytes) const {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  }
  std::set<std::string> folderEntries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }
  std::string contents(const fs::path& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path folder_;
};

Ref<NSObject> integer(int64_t value) {
  return NSNumber::numberWithLongLong(value);
}
Ref<NSObject> text(std::string value) {
  return NSString::from(std::move(value));
}

// Every kind of value, nested as dictionary in array in dictionary.
Ref<NSDictionary> everyKind() {
  Ref<NSDictionary> inner = NSDictionary::from({
      {"negative", integer(-5)},
      {"minimum", integer(std::numeric_limits<int64_t>::min())},
      {"huge", NSNumber::numberWithUnsignedLongLong(std::numeric_limits<uint64_t>::max())},
      {"tenth", NSNumber::numberWithDouble(0.1)},
      {"big", NSNumber::numberWithDouble(1e300)},
      {"empty text", text("")},
      {"unicode", text("Grüße, 世界 😀 <&> \"quoted\"")},
      {"empty data", NSData::from({})},
      {"empty array", NSArray::from({})},
      {"empty dictionary", NSDictionary::from({})},
  });
  return NSDictionary::from({
      {"enabled", NSNumber::numberWithBool(true)},
      {"disabled", NSNumber::numberWithBool(false)},
      {"count", integer(42)},
      {"bytes", NSData::from({0, 1, 2, 254, 255})},
      {"when", NSDate::dateWithTimeIntervalSinceReferenceDate(730902896)},
      {"list", NSArray::from({inner, text("after"), integer(7)})},
  });
}

std::string bytesOf(plist_t root) {
  char* raw = nullptr;
  uint32_t length = 0;
  plist_to_bin(root, &raw, &length);
  std::string bytes(raw, length);
  plist_to_bin_free(raw);
  plist_free(root);
  return bytes;
}

// A binary property list of the given raw objects, with 1-byte offsets and references, object 0
// at the top.
std::string handMadeBinary(const std::vector<std::string>& objects) {
  std::string bytes = "bplist00";
  std::vector<uint8_t> offsets;
  for (const std::string& object : objects) {
    offsets.push_back(static_cast<uint8_t>(bytes.size()));
    bytes += object;
  }
  auto table = static_cast<uint8_t>(bytes.size());
  for (uint8_t offset : offsets)
    bytes += static_cast<char>(offset);
  std::string trailer(32, '\0');
  trailer[6] = 1;
  trailer[7] = 1;
  trailer[15] = static_cast<char>(objects.size());
  trailer[31] = static_cast<char>(table);
  return bytes + trailer;
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

std::string xmlDocument(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body +
         "</plist>\n";
}

Ref<NSNumber> numberIn(const Result<Ref<NSObject>>& parsed) {
  return parsed ? Ref<NSNumber>(dynamic_cast<NSNumber*>(parsed.value().get())) : nullptr;
}

}  // namespace

// --- Round trips through files.

TEST_F(PropertyListFileTest, EveryValueKindSurvivesAFileNested) {
  Ref<NSDictionary> original = everyKind();
  ASSERT_TRUE(writePropertyListAtomically(original.get(), file("all.plist")));
  Result<Ref<NSDictionary>> read = readPropertyListDictionary(file("all.plist"));
  ASSERT_TRUE(read) << read.error();
  EXPECT_TRUE(propertyListsEqual(read.value().get(), original.get()))
      << describe(read.value().get());

  auto enabled = read.value()->objectForKey<NSNumber>("enabled");
  ASSERT_TRUE(enabled);
  EXPECT_STREQ(enabled->objCType(), "B") << "a boolean must not come back as an integer";
  auto list = read.value()->objectForKey<NSArray>("list");
  ASSERT_TRUE(list && list->count() == 3);
  auto* inner = dynamic_cast<NSDictionary*>(list->objectAtIndex(0).get());
  ASSERT_TRUE(inner);
  EXPECT_EQ(inner->objectForKey<NSNumber>("negative")->longLongValue(), -5);
  EXPECT_STREQ(inner->objectForKey<NSNumber>("negative")->objCType(), "q");
  EXPECT_STREQ(inner->objectForKey<NSNumber>("huge")->objCType(), "Q");
  EXPECT_EQ(inner->objectForKey<NSNumber>("huge")->unsignedLongLongValue(), UINT64_MAX);
  EXPECT_EQ(inner->objectForKey<NSNumber>("tenth")->doubleValue(), 0.1);
  EXPECT_EQ(inner->objectForKey<NSString>("unicode")->string(), "Grüße, 世界 😀 <&> \"quoted\"");
}

TEST_F(PropertyListFileTest, IntegersKeepTheirSignAcrossTheSixtyFourBitEdges) {
  const int64_t kSigned[] = {std::numeric_limits<int64_t>::min(), -1, 0,
                             std::numeric_limits<int64_t>::max()};
  const uint64_t kUnsigned[] = {uint64_t{1} << 63, std::numeric_limits<uint64_t>::max() - 4};
  NSArray::Objects values;
  for (int64_t value : kSigned)
    values.push_back(integer(value));
  for (uint64_t value : kUnsigned)
    values.push_back(NSNumber::numberWithUnsignedLongLong(value));
  Ref<NSArray> original = NSArray::from(values);
  ASSERT_TRUE(writePropertyListAtomically(original.get(), file("edges.plist")));
  Result<Ref<NSObject>> read = readPropertyList(file("edges.plist"));
  ASSERT_TRUE(read) << read.error();
  EXPECT_TRUE(propertyListsEqual(read.value().get(), original.get()))
      << describe(read.value().get());
}

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

// --- Unreadable files: a failure that says why, or nil, never a crash.

TEST_F(PropertyListFileTest, UnreadableFilesFailWithTheReasonAndThePath) {
  std::string xml = xmlPropertyList(everyKind().get()).value();
  std::string binary = handMadeBinary({"\xD1\x01\x02", "\x51\x61", "\x09"});
  std::string deep;
  for (int i = 0; i < 100000; ++i)
    deep += "<array>";
  struct Case {
    std::string name, bytes, reason;
  } cases[] = {
      {"garbage.plist", "\x7f\x45\x4c\x46 not a plist at all", "neither XML nor binary"},
      {"truncated.plist", xml.substr(0, xml.size() / 2), "XML"},
      {"truncated-binary.plist", binary.substr(0, binary.size() - 5), "binary"},
      {"empty.plist", "", "empty"},
      {"deep.plist", xmlDocument(deep), "nested deeper"},
  };
  for (const Case& c : cases) {
    writeBytes(file(c.name), c.bytes);
    Result<Ref<NSDictionary>> read = readPropertyListDictionary(file(c.name));
    ASSERT_FALSE(read) << c.name;
    EXPECT_NE(read.error().find(file(c.name).string()), std::string::npos) << read.error();
    EXPECT_NE(read.error().find(c.reason), std::string::npos) << read.error();
    EXPECT_FALSE(dictionaryWithContentsOfFile(file(c.name))) << c.name;
  }
  Result<Ref<NSDictionary>> missing = readPropertyListDictionary(file("missing.plist"));
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().find("no such file"), std::string::npos) << missing.error();
  EXPECT_FALSE(dictionaryWithContentsOfFile(file("missing.plist")));
  Result<Ref<NSObject>> folder = readPropertyList(folder_);
  ASSERT_FALSE(folder);
  EXPECT_NE(folder.error().find("folder"), std::string::npos) << folder.error();
}

TEST_F(PropertyListFileTest, AnArrayRootIsAPropertyListButNotADictionary) {
  ASSERT_TRUE(writePropertyListAtomically(NSArray::from({integer(1)}).get(), file("a.plist")));
  EXPECT_TRUE(readPropertyList(file("a.plist")));
  Result<Ref<NSDictionary>> read = readPropertyListDictionary(file("a.plist"));
  ASSERT_FALSE(read);
  EXPECT_NE(read.error().find("its root is an array, not a dictionary"), std::string::npos)
      << read.error();
  EXPECT_FALSE(dictionaryWithContentsOfFile(file("a.plist")));
}

TEST_F(PropertyListFileTest, FilesOverTheBoundAreRefusedUnread) {
  ASSERT_TRUE(writePropertyListAtomically(everyKind().get(), file("big.plist")));
  fs::resize_file(file("big.plist"), kPropertyListMaxBytes + 1);  // sparse: costs no disk
  Result<Ref<NSDictionary>> read = readPropertyListDictionary(file("big.plist"));
  ASSERT_FALSE(read);
  EXPECT_NE(read.error().find("larger than 16 MiB"), std::string::npos) << read.error();
  EXPECT_FALSE(dictionaryWithContentsOfFile(file("big.plist")));
}

// --- Writing.

TEST_F(PropertyListFileTest, ConcurrentReaderSeesOnlyWholeFiles) {
  Ref<NSDictionary> small = NSDictionary::from({{"size", text("small")}});
  NSDictionary::Entries entries;
  for (int i = 0; i < 2000; ++i)
    entries["key " + std::to_string(i)] = text(std::string(20, 'x'));
  Ref<NSDictionary> large = NSDictionary::from(entries);
  fs::path path = file("shared.plist");
  ASSERT_TRUE(writePropertyListAtomically(small.get(), path));

  std::atomic<bool> writing{true};
  std::atomic<int> failedWrites{0};
  std::thread writer([&] {
    for (int i = 0; i < 60; ++i) {
      if (!writePropertyListAtomically(i % 2 ? small.get() : large.get(), path)) ++failedWrites;
    }
    writing = false;
  });
  int reads = 0, partial = 0;
  std::set<size_t> sizesSeen;
  while (writing || reads == 0) {
    Result<Ref<NSDictionary>> read = readPropertyListDictionary(path);
    ++reads;
    if (!read || !(propertyListsEqual(read.value().get(), small.get()) ||
                   propertyListsEqual(read.value().get(), large.get()))) {
      ++partial;
    } else {
      sizesSeen.insert(read.value()->count());
    }
  }
  writer.join();
  EXPECT_EQ(failedWrites, 0);
  EXPECT_EQ(partial, 0) << "of " << reads << " reads";
  EXPECT_EQ(folderEntries(), std::set<std::string>{"shared.plist"});
}

TEST_F(PropertyListFileTest, WritingIntoAMissingFolderFailsAndCreatesNothing) {
  Result<bool> written = writePropertyListAtomically(everyKind().get(), file("absent/x.plist"));
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find("does not exist"), std::string::npos) << written.error();
  EXPECT_TRUE(folderEntries().empty());
}

TEST_F(PropertyListFileTest, ObjectsOfOtherClassesAreRefusedAndTheOldFileStays) {
  fs::path path = file("settings.plist");
  ASSERT_TRUE(writePropertyListAtomically(everyKind().get(), path));
  std::string before = contents(path);

  Ref<NSObject> stranger = objc::make<NSObject>();
  Result<bool> written = writePropertyListAtomically(
      NSDictionary::from({{"list", NSArray::from({integer(1), stranger})}}).get(), path);
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find("class NSObject"), std::string::npos) << written.error();
  EXPECT_EQ(contents(path), before);
  EXPECT_EQ(folderEntries(), std::set<std::string>{"settings.plist"});
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

TEST_F(PropertyListFileTest, RewritingKeepsTheFilesPermissionBits) {
  fs::path path = file("private.plist");
  ASSERT_TRUE(writePropertyListAtomically(everyKind().get(), path));
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(writePropertyListAtomically(NSDictionary::from({}).get(), path));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(PropertyListFileTest, TemporariesOfWritersThatDiedAreSweptOthersKept) {
  pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ::waitpid(child, nullptr, 0);
  std::string dead = ".settings.plist." + std::to_string(child) + ".1a2b.tmp";
  std::string mine = ".settings.plist." + std::to_string(::getpid()) + ".3c4d.tmp";
  std::string otherFile = ".other.plist." + std::to_string(child) + ".5e6f.tmp";
  for (const std::string& name : {dead, mine, otherFile})
    writeBytes(file(name), "partial");

  ASSERT_TRUE(writePropertyListAtomically(everyKind().get(), file("settings.plist")));
  EXPECT_EQ(folderEntries(), (std::set<std::string>{"settings.plist", mine, otherFile}))
      << "a temporary of this process may belong to a write in progress";
}

TEST_F(PropertyListFileTest, WritingWithoutPermissionFailsWithTheReason) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
  Result<bool> written = writePropertyListAtomically(everyKind().get(), file("x.plist"));
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find("permission denied"), std::string::npos) << written.error();
}

TEST_F(PropertyListFileTest, AFolderInPlaceOfTheFileIsNotReplaced) {
  fs::create_directory(file("taken.plist"));
  Result<bool> written = writePropertyListAtomically(everyKind().get(), file("taken.plist"));
  ASSERT_FALSE(written);
  EXPECT_TRUE(fs::is_directory(file("taken.plist")));
  EXPECT_EQ(folderEntries(), std::set<std::string>{"taken.plist"});
}
