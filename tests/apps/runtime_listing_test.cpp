#include "apps/vitrel/runtime_listing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/runtime/runtime.h"

namespace {

objc::Class* registeredClass(objc::Class* superclass, const char* name) {
  objc::Class* cls = objc_allocateClassPair(superclass, name, 0);
  objc_registerClassPair(cls);
  return cls;
}

const ClassListing* find(const std::vector<ClassListing>& classes, const std::string& name) {
  auto found = std::find_if(classes.begin(), classes.end(),
                            [&](const ClassListing& listing) { return listing.name == name; });
  return found != classes.end() ? &*found : nullptr;
}

std::vector<std::string> selectors(const std::vector<ClassListing::Method>& methods) {
  std::vector<std::string> names;
  for (const auto& method : methods)
    names.push_back(method.selector);
  return names;
}

ClassListing bare(const std::string& name, std::optional<std::string> superclass) {
  return {name, std::move(superclass), {}, {}, {}};
}

ClassListing paletteCube() {
  return {"PCPaletteCube",
          "NSObject",
          {{"sharedCube", "@@:"}},
          {{"extractColorsFromImage:flags:", "@@:@Q"}, {"init", "@@:"}},
          {{"maxima", "T@\"NSArray\",&,N"}}};
}

}  // namespace

TEST(RuntimeListingTest, ListsEachClassWithItsOwnMembersSorted) {
  objc::Class* root = registeredClass(nullptr, "ListingRoot");
  objc::Class* zebra = registeredClass(root, "ListingZebra");
  registeredClass(root, "ListingAardvark");
  objc::addMethod(root, "inherited", [](objc::Object*, SEL) {});
  objc::addMethod(zebra, "stripes:", [](objc::Object*, SEL, int count) { return count; });
  objc::addMethod(zebra, "gallop", [](objc::Object*, SEL) {});
  objc::addClassMethod(zebra, "herd", [](objc::Class*, SEL) { return 2.0; });
  objc_property_attribute_t flag[] = {{"T", "B"}, {"N", ""}};
  class_addProperty(zebra, "wild", flag, 2);
  class_addProperty(zebra, "grazing", flag, 2);

  const std::vector<ClassListing> classes = listRuntimeClasses();
  EXPECT_TRUE(std::is_sorted(classes.begin(), classes.end(),
                             [](const auto& a, const auto& b) { return a.name < b.name; }));
  const ClassListing* listing = find(classes, "ListingZebra");
  ASSERT_NE(listing, nullptr);
  EXPECT_EQ(listing->superclass, "ListingRoot");
  EXPECT_EQ(selectors(listing->instanceMethods), (std::vector<std::string>{"gallop", "stripes:"}));
  EXPECT_EQ(listing->instanceMethods.back().types, "i@:i");
  EXPECT_EQ(selectors(listing->classMethods), std::vector<std::string>{"herd"});
  ASSERT_EQ(listing->properties.size(), 2u);
  EXPECT_EQ(listing->properties.front().name, "wild") << "in the order declared";
  EXPECT_EQ(listing->properties.front().attributes, "TB,N");
  ASSERT_NE(find(classes, "ListingRoot"), nullptr);
  EXPECT_EQ(find(classes, "ListingRoot")->superclass, std::nullopt);
}

TEST(RuntimeListingTest, TextReadsAsAClassDump) {
  EXPECT_EQ(listingText(paletteCube()),
            "@interface PCPaletteCube : NSObject\n"
            "@property maxima  T@\"NSArray\",&,N\n"
            "+ sharedCube  @@:\n"
            "- extractColorsFromImage:flags:  @@:@Q\n"
            "- init  @@:\n"
            "@end\n");
  EXPECT_EQ(listingText(bare("NSObject", std::nullopt)), "@interface NSObject\n@end\n");
}

TEST(RuntimeListingTest, JsonReadsBackAndOtherShapesAreRefused) {
  for (const ClassListing& listing : {paletteCube(), bare("NSObject", std::nullopt)}) {
    Result<ClassListing> read = listingFromJson(listingJson(listing));
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(listingJson(read.value()), listingJson(listing));
  }
  Json wrong = listingJson(paletteCube());
  wrong["instanceMethods"][0].erase("types");
  EXPECT_FALSE(listingFromJson(wrong));
  EXPECT_FALSE(listingFromJson(Json{{"name", 3}}));
  EXPECT_FALSE(listingFromJson(Json::array()));
}

TEST(RuntimeListingTest, CloseNamesComeClosestFirst) {
  std::vector<ClassListing> classes;
  for (const char* name : {"SBIconView", "UIColor", "UIImageView", "UIImage"})
    classes.push_back(bare(name, "NSObject"));
  EXPECT_EQ(closeNames("uiimage", classes), (std::vector<std::string>{"UIImage", "UIImageView"}));
  EXPECT_EQ(closeNames("UIImag", classes), (std::vector<std::string>{"UIImage", "UIImageView"}));
  EXPECT_EQ(closeNames("IconView", classes), std::vector<std::string>{"SBIconView"});
  EXPECT_TRUE(closeNames("NCNotificationRequest", classes).empty());
}
