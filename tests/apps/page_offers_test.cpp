#include "apps/vitrel/page_offers.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/property_list.h"

namespace {

Ref<NSObject> yes() {
  return NSNumber::numberWithBool(true);
}
Ref<NSObject> number(double value) {
  return NSNumber::numberWithDouble(value);
}
Ref<NSObject> text(const char* value) {
  return NSString::from(value);
}

// Refusals of each row that offers key, none when every row accepts value.
std::vector<std::string> refusals(const PageOffers& offers, const std::string& key,
                                  const NSObject* value) {
  std::vector<std::string> reasons;
  for (const PageOffer& offer : offers.offersFor(key)) {
    if (auto reason = offer.refusal(value)) reasons.push_back(*reason);
  }
  return reasons;
}

class PageOffersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string made = (std::filesystem::temp_directory_path() / "vitrel-pages-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(made.data()));
    folder_ = made;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void writePage(const std::string& name, const std::string& items) {
    std::ofstream(folder_ / (name + ".plist"))
        << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>items</key><array>" << items
        << "</array></dict></plist>";
  }

  std::filesystem::path folder_;
};

}  // namespace

// What a new device starts with must be what its pages can show: a value no segment offers
// leaves the segmented control with no selection.
TEST(SampleSettingsTest, EveryValueIsOneThePagesOffer) {
  Result<PageOffers> offers = PageOffers::read(BUNDLE_RESOURCES);
  ASSERT_TRUE(offers) << offers.error();
  auto samples = readPropertyListDictionary(std::filesystem::path(SAMPLES) / "settings.plist");
  ASSERT_TRUE(samples) << samples.error();
  for (const auto& [key, value] : samples.value()->entries()) {
    EXPECT_FALSE(offers.value().offersFor(key).empty()) << key << " is offered by no page";
    for (const std::string& reason : refusals(offers.value(), key, value.get()))
      ADD_FAILURE() << key << " = " << describe(value.get()) << ": " << reason;
  }
}

TEST_F(PageOffersTest, EachKindOfRowRefusesWhatItCannotShow) {
  writePage("Page",
            "<dict><key>cell</key><string>PSSegmentCell</string><key>key</key><string>method</"
            "string><key>validValues</key><array><string>dominantColor</string><string>palette</"
            "string></array><key>validTitles</key><array><string>Dominant</string><string>Palette</"
            "string></array></dict>"
            "<dict><key>cell</key><string>PSSliderCell</string><key>key</key><string>radius</"
            "string><key>min</key><real>2</real><key>max</key><real>40</real></dict>"
            "<dict><key>cell</key><string>PSSwitchCell</string><key>key</key><string>on</string></"
            "dict>"
            "<dict><key>cell</key><string>PSEditTextCell</string><key>key</key><string>titles</"
            "string></dict>"
            "<dict><key>cell</key><string>PSGroupCell</string><key>key</key><string>group</"
            "string></dict>");
  Result<PageOffers> read = PageOffers::read(folder_);
  ASSERT_TRUE(read) << read.error();
  const PageOffers& offers = read.value();

  EXPECT_TRUE(refusals(offers, "method", text("palette").get()).empty());
  std::vector<std::string> refused = refusals(offers, "method", text("banana").get());
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0],
            "the Page page offers \"dominantColor\" (Dominant) or \"palette\" (Palette)");

  EXPECT_TRUE(refusals(offers, "radius", number(2).get()).empty());
  EXPECT_TRUE(refusals(offers, "radius", number(40).get()).empty());
  EXPECT_EQ(refusals(offers, "radius", number(40.5).get()),
            std::vector<std::string>{"the Page page offers a number from 2 to 40"});
  EXPECT_FALSE(refusals(offers, "radius", yes().get()).empty());

  EXPECT_TRUE(refusals(offers, "on", yes().get()).empty());
  EXPECT_FALSE(refusals(offers, "on", number(1).get()).empty()) << "a switch shows booleans";
  EXPECT_TRUE(refusals(offers, "titles", text("").get()).empty());
  EXPECT_FALSE(refusals(offers, "titles", number(3).get()).empty());
  EXPECT_TRUE(offers.offersFor("group").empty()) << "a group edits no value";
  EXPECT_TRUE(offers.offersFor("unknown").empty());
}

TEST_F(PageOffersTest, AKeyOnTwoPagesMustSuitBoth) {
  writePage("First",
            "<dict><key>cell</key><string>PSSegmentCell</string><key>key</key><string>level</"
            "string><key>validValues</key><array><integer>1</integer><integer>2</integer></"
            "array></dict>");
  writePage("Second",
            "<dict><key>cell</key><string>PSSliderCell</string><key>key</key><string>level</"
            "string><key>max</key><real>1.5</real></dict>");
  std::ofstream(folder_ / "Info.plist") << "<plist version=\"1.0\"><dict/></plist>";
  Result<PageOffers> read = PageOffers::read(folder_);
  ASSERT_TRUE(read) << read.error();
  ASSERT_EQ(read.value().offersFor("level").size(), 2u) << "a plist without items is no page";
  EXPECT_TRUE(refusals(read.value(), "level", number(1).get()).empty())
      << "the real 1 is the integer choice 1";
  EXPECT_EQ(refusals(read.value(), "level", number(2).get()),
            std::vector<std::string>{"the Second page offers a number from 0 to 1.5"});
}

TEST_F(PageOffersTest, UnreadablePagesOrNoneAtAllAreFailures) {
  EXPECT_FALSE(PageOffers::read(folder_)) << "an empty folder";
  EXPECT_FALSE(PageOffers::read(folder_ / "missing"));
  writePage("Good", "");
  std::ofstream(folder_ / "Broken.plist") << "<plist><dict><key>items";
  Result<PageOffers> read = PageOffers::read(folder_);
  ASSERT_FALSE(read);
  EXPECT_NE(read.error().find("Broken.plist"), std::string::npos) << read.error();
}
