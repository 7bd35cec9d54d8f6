#include <cmath>

#include "platform/uikit/view_extras.h"
#include "support/prefs_fixture.h"

namespace {

using page_model::ViewNode;

class PageDressingTest : public PrefsTest {
 protected:
  Ref<UIView> header(long section) {
    PSListController* root =
        static_cast<PSListController*>(host().navigationController()->topViewController());
    return objc::msgSend<Ref<UIView>>(root, objc::sel("tableView:viewForHeaderInSection:"),
                                      static_cast<NSObject*>(root->table()), section);
  }
  double headerHeight(long section) {
    PSListController* root =
        static_cast<PSListController*>(host().navigationController()->topViewController());
    return objc::msgSend<double>(root, objc::sel("tableView:heightForHeaderInSection:"),
                                 static_cast<NSObject*>(root->table()), section);
  }
};

TEST_F(PageDressingTest, RootPageTintsTheBarAndShowsRespringAsTitle) {
  page_model::Page page = host().page();
  EXPECT_EQ(page.controllerClass, "MirraRootListController");
  ASSERT_TRUE(page.barTint);
  EXPECT_NEAR(page.barTint->red, 0.5, 1e-9);
  EXPECT_NEAR(page.barTint->green, 0.3, 1e-9);
  EXPECT_NEAR(page.barTint->blue, 0.55, 1e-9);
  ASSERT_TRUE(page.titleView);
  EXPECT_EQ(page.titleView->className, "UIButton");
  EXPECT_EQ(page.titleView->frame.origin.y, 0);
  EXPECT_EQ(*page.titleView->subviews.front().text, "Respring");
}

TEST_F(PageDressingTest, BannerFillsTheTableHeader) {
  page_model::Page page = host().page();
  ASSERT_TRUE(page.tableHeader);
  EXPECT_EQ(page.tableHeader->frame.size.height, 100);
  const ViewNode& image = page.tableHeader->subviews.front();
  EXPECT_EQ(image.className, "UIImageView");
  EXPECT_EQ(image.contentMode, UIViewContentModeScaleAspectFill);
  EXPECT_TRUE(image.clipsToBounds);
  EXPECT_EQ(image.frame.size.width, page.width);
  EXPECT_EQ(image.frame.size.height, 100);
  ASSERT_TRUE(image.image);
  EXPECT_TRUE(image.image->source.ends_with("Assets/1.png"));
}

TEST_F(PageDressingTest, SectionHeadersByIndex) {
  const double width = std::trunc(host().page().width - 30);
  Ref<UIView> socials = header(0);
  auto* label = dynamic_cast<UILabel*>(socials->subviews().front().get());
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text()->string(), "My Socials");
  EXPECT_EQ(label->frame(), CGRectMake(0, 0, width, 40));
  EXPECT_EQ(fontOf(label)->pointSize(), 18);
  EXPECT_EQ(fontOf(label)->weight(), UIFontWeightSemibold);

  Ref<UIView> pill = header(1);
  EXPECT_EQ(pill->frame(), CGRectMake(0, 0, width, 50));
  UIView* rounded = pill->subviews().front().get();
  EXPECT_EQ(rounded->layer()->cornerRadius(), 10);
  EXPECT_TRUE(rounded->clipsToBounds());
  EXPECT_EQ(rounded->frame().origin.x + rounded->frame().size.width / 2, std::trunc(width / 2));
  auto* title = dynamic_cast<UILabel*>(rounded->subviews().front().get());
  EXPECT_EQ(title->text()->string(), "Base Configurations");
  EXPECT_EQ(rounded->frame().size.width, title->frame().size.width + 20);

  EXPECT_EQ(dynamic_cast<UILabel*>(header(4)->subviews().front().get())->text()->string(),
            "Miscellaneous");
  EXPECT_EQ(dynamic_cast<UILabel*>(header(11)->subviews().front().get())->text()->string(),
            "Base Configurations");
}

TEST_F(PageDressingTest, OtherSectionsGetAnEmptyHeaderOfForty) {
  for (long section : {5L, 6L, 10L, 12L, 40L}) {
    Ref<UIView> view = header(section);
    EXPECT_EQ(view->frame().size.height, 40) << section;
    auto* label = dynamic_cast<UILabel*>(view->subviews().front().get());
    EXPECT_EQ(label->text()->string(), "") << section;
    EXPECT_EQ(headerHeight(section), 40) << section;
  }
}

TEST_F(PageDressingTest, HeadersAreBuiltAfreshEachTime) {
  EXPECT_NE(header(0).get(), header(0).get());
}

TEST_F(PageDressingTest, CellsFadeInWhenDisplayed) {
  for (const page_model::Section& section : host().page().sections) {
    for (const page_model::Row& row : section.rows)
      EXPECT_EQ(row.cell.alpha, 1) << row.label;
  }
  auto cell = objc::make<UIView>();
  PSListController* root =
      static_cast<PSListController*>(host().navigationController()->topViewController());
  objc::msgSend<void>(root, objc::sel("tableView:willDisplayCell:forRowAtIndexPath:"),
                      static_cast<NSObject*>(root->table()), static_cast<NSObject*>(cell.get()),
                      static_cast<NSObject*>(NSIndexPath::indexPathForRow(0, 0).get()));
  EXPECT_EQ(cell->alpha(), 1);
}

TEST_F(PageDressingTest, LeavingTheRootPageForSettingsRestoresTheBarTint) {
  ASSERT_TRUE(host().goBack().ok());
  page_model::Page home = host().page();
  EXPECT_EQ(home.depth, 0u);
  ASSERT_TRUE(home.barTint);
  EXPECT_EQ(home.barTint->red, 0);
  EXPECT_NEAR(home.barTint->green, 0.78, 1e-9);
  ASSERT_TRUE(host().tap(rowNamed(home, "Vitrel")->cell.id).ok());
  EXPECT_NEAR(host().page().barTint->red, 0.5, 1e-9);
}

TEST_F(PageDressingTest, OpeningASubPageKeepsThePageTint) {
  ASSERT_TRUE(host().tap(rowNamed(host().page(), "Context Menu")->cell.id).ok());
  page_model::Page page = host().page();
  EXPECT_EQ(page.controllerClass, "ContextMenuLabels");
  EXPECT_EQ(page.title, "Context Menu");
  EXPECT_TRUE(page.canGoBack);
  EXPECT_NEAR(page.barTint->red, 0.5, 1e-9);
}

}  // namespace
