// Property lists in files: round trips, unreadable files and atomic writes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <limits>
#include <set>
#include <string>
#include <thread>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/property_list.h"
#include "property_list_samples.h"

namespace fs = std::filesystem;
using namespace property_list_samples;

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
  Result<void> written = writePropertyListAtomically(everyKind().get(), file("absent/x.plist"));
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find("does not exist"), std::string::npos) << written.error();
  EXPECT_TRUE(folderEntries().empty());
}

TEST_F(PropertyListFileTest, ObjectsOfOtherClassesAreRefusedAndTheOldFileStays) {
  fs::path path = file("settings.plist");
  ASSERT_TRUE(writePropertyListAtomically(everyKind().get(), path));
  std::string before = contents(path);

  Ref<NSObject> stranger = objc::make<NSObject>();
  Result<void> written = writePropertyListAtomically(
      NSDictionary::from({{"list", NSArray::from({integer(1), stranger})}}).get(), path);
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find("class NSObject"), std::string::npos) << written.error();
  EXPECT_EQ(contents(path), before);
  EXPECT_EQ(folderEntries(), std::set<std::string>{"settings.plist"});
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
  Result<void> written = writePropertyListAtomically(everyKind().get(), file("x.plist"));
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find("permission denied"), std::string::npos) << written.error();
}

TEST_F(PropertyListFileTest, AFolderInPlaceOfTheFileIsNotReplaced) {
  fs::create_directory(file("taken.plist"));
  Result<void> written = writePropertyListAtomically(everyKind().get(), file("taken.plist"));
  ASSERT_FALSE(written);
  EXPECT_TRUE(fs::is_directory(file("taken.plist")));
  EXPECT_EQ(folderEntries(), std::set<std::string>{"taken.plist"});
}
