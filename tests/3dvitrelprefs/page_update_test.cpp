#include "support/prefs_fixture.h"

namespace {

class UpdateSpecifiersTest : public PrefsTest {
 protected:
  // A base page (not the root page, which reloads afterwards) showing plist with hiding.
  Ref<PSListController> pageShowing(const char* plist) {
    Ref<PSListController> page = makePage("MirraBaseController");
    Ref<NSArray> shown =
        objc::msgSend<Ref<NSArray>>(page, objc::sel("dynamicSpecifiersFromPlist:"), str(plist));
    page->setCurrentSpecifiers(shown.get());
    return page;
  }

  static std::string identifiers(const PSListController* page) {
    return rowIds(page->currentSpecifiers());
  }
};

TEST_F(UpdateSpecifiersTest, LoadingHidesByTheRules) {
  writeSettings({});
  EXPECT_EQ(identifiers(pageShowing("Dependencies").get()), "GDEF");
}

TEST_F(UpdateSpecifiersTest, NewlyVisibleRowFollowsItsShownPredecessor) {
  writeSettings({});
  Ref<PSListController> page = pageShowing("Dependencies");
  writeSettings({{"x", boolean(true)}});
  objc::msgSend<void>(page, objc::sel("updateSpecifiers"));
  EXPECT_EQ(identifiers(page.get()), "GADF");
}

TEST_F(UpdateSpecifiersTest, RowWhosePredecessorIsHiddenGoesToTheEnd) {
  writeSettings({});
  Ref<PSListController> page = pageShowing("Dependencies");
  writeSettings({{"y", boolean(true)}});
  objc::msgSend<void>(page, objc::sel("updateSpecifiers"));
  EXPECT_EQ(identifiers(page.get()), "GDEFB");
}

TEST_F(UpdateSpecifiersTest, RowsThatStayVisibleKeepTheirPlace) {
  writeSettings({});
  Ref<PSListController> page = pageShowing("Dependencies");
  objc::msgSend<void>(page, objc::sel("updateSpecifiers"));
  EXPECT_EQ(identifiers(page.get()), "GDEF");
}

TEST_F(UpdateSpecifiersTest, NewlyVisibleFirstRowGoesToTheTop) {
  writeSettings({});
  Ref<PSListController> page = pageShowing("FirstHidden");
  EXPECT_EQ(identifiers(page.get()), "F");
  writeSettings({{"z", boolean(true)}});
  objc::msgSend<void>(page, objc::sel("updateSpecifiers"));
  EXPECT_EQ(identifiers(page.get()), "GF");
}

TEST_F(UpdateSpecifiersTest, RootPageReloadsAfterUpdating) {
  Ref<PSListController> page = makePage("MirraRootListController");
  page->specifiers();
  Ref<NSArray> savedBefore = objc::msgSend<Ref<NSArray>>(page, objc::sel("savedSpecifiers"));
  objc::msgSend<void>(page, objc::sel("updateSpecifiers"));
  Ref<NSArray> savedAfter = objc::msgSend<Ref<NSArray>>(page, objc::sel("savedSpecifiers"));
  EXPECT_NE(savedBefore.get(), savedAfter.get());
  EXPECT_EQ(savedAfter->count(), savedBefore->count());
}

TEST_F(UpdateSpecifiersTest, BasePageDoesNotReload) {
  writeSettings({});
  Ref<PSListController> page = pageShowing("Dependencies");
  Ref<NSArray> savedBefore = objc::msgSend<Ref<NSArray>>(page, objc::sel("savedSpecifiers"));
  objc::msgSend<void>(page, objc::sel("updateSpecifiers"));
  EXPECT_EQ(objc::msgSend<Ref<NSArray>>(page, objc::sel("savedSpecifiers")).get(),
            savedBefore.get());
}

}  // namespace
