#include <cmath>

#include "MirraBaseController.h"
#include "platform/foundation/dispatch.h"
#include "platform/uikit/image_loading.h"
#include "platform/uikit/layout_constraint.h"
#include "platform/uikit/system_colors.h"
#include "platform/uikit/ui_navigation_controller.h"
#include "platform/uikit/view_extras.h"
#include "source/settings/root_path.h"

extern "C" void registerCorvinaTintCellClass();

namespace {

// In the classic layout; resolved through the root path like every file of the bundle.
constexpr const char* kBannerPath = "/Library/PreferenceBundles/3dvitrelprefs.bundle/Assets/1.png";
constexpr double kHeaderHeight = 40;
constexpr double kPillPadding = 20;

dispatch_once_t registerTintCellOnce;

Ref<UILabel> headerLabel(const char* text, Ref<UIColor> color, double width) {
  auto label = objc::make<UILabel>();
  label->setFrame(CGRectMake(0, 0, width, kHeaderHeight));
  label->setText(NSString::from(text));
  label->setTextColor(std::move(color));
  setFont(label.get(), UIFont::systemFontOfSize(18, UIFontWeightSemibold));
  return label;
}

// A clear, rounded view holding a centred orange title, centred in the container, which then
// grows to 50 points.
void addPill(UIView* container, const char* text, double width) {
  Ref<UILabel> label = headerLabel(text, system_colors::orangeColor(), width);
  label->setTextAlignment(NSTextAlignmentCenter);
  CGSize fitting = label->sizeThatFits({1e6, 1e6});
  auto pill = objc::make<UIView>();
  pill->setBackgroundColor(UIColor::clearColor());
  pill->layer()->setCornerRadius(10);
  pill->setClipsToBounds(true);
  const double pillWidth = fitting.width + kPillPadding;
  const double centreX = std::trunc(width / 2);
  pill->setFrame(CGRectMake(centreX - pillWidth / 2, 0, pillWidth, kHeaderHeight));
  label->setFrame(CGRectMake(kPillPadding / 2, (kHeaderHeight - fitting.height) / 2, fitting.width,
                             fitting.height));
  pill->addSubview(label);
  container->addSubview(pill);
  container->setFrame(CGRectMake(0, 0, width, 50));
}

Ref<UIView> viewForHeader(PSListController*, SEL, UITableView* table, long section) {
  const double width = std::trunc(table->frame().width() - 30);
  auto container = objc::make<UIView>();
  container->setFrame(CGRectMake(0, 0, width, kHeaderHeight));
  container->setBackgroundColor(UIColor::clearColor());
  switch (section) {
    case 0:
      container->addSubview(headerLabel("My Socials", system_colors::orangeColor(), width));
      break;
    case 1:
      addPill(container.get(), "Base Configurations", width);
      break;
    case 2:
      addPill(container.get(), "Miscellaneous", width);
      break;
    case 3:
      container->addSubview(headerLabel("", system_colors::yellowColor(), width));
      break;
    case 4:
      container->addSubview(headerLabel("Miscellaneous", system_colors::blueColor(), width));
      break;
    case 11:
      container->addSubview(
          headerLabel("Base Configurations", system_colors::orangeColor(), width));
      break;
    default:
      container->addSubview(headerLabel("", UIColor::blackColor(), width));
  }
  return container;
}

void viewWillAppear(MirraBaseController* self, SEL cmd, bool animated) {
  objc::msgSendSuper<void>(objc_getClass("MirraBaseController"), self, cmd, animated);
  if (UINavigationController* navigation = self->navigationController()) {
    setTintColor(navigation->navigationBar(), accentColor());
  }
  Ref<UIButton> respring = UIButton::buttonWithType(UIButtonTypeSystem);
  respring->setTitle("Respring");
  respring->addTarget(self, objc::sel("respring"), UIControlEventTouchUpInside);
  CGRect frame = respring->frame();
  frame.origin.y -= 50;
  respring->setFrame(frame);
  self->navigationItem()->setTitleView(respring);
  UIView::animateWithDuration(1.0,
                              [&] {
                                CGRect settled = respring->frame();
                                settled.origin.y += 50;
                                respring->setFrame(settled);
                              },
                              {});
}

void headerCell(MirraBaseController* self, SEL) {
  char banner[kRootPathBufferSize] = {};
  Ref<UIImage> image = imageWithContentsOfFile(libroot_dyn_jbrootpath(kBannerPath, banner));
  if (!self->headerView1) {
    self->headerView1 = objc::make<UIView>();
    self->headerView1->setFrame(CGRectMake(0, 0, 100, 100));
  }
  if (!self->headerImageView) {
    self->headerImageView = objc::make<UIImageView>();
    self->headerImageView->setImage(image);
    extrasOf(self->headerImageView.get()).contentMode = UIViewContentModeScaleAspectFill;
    self->headerImageView->setClipsToBounds(true);
    extrasOf(self->headerImageView.get()).translatesAutoresizingMaskIntoConstraints = false;
    self->headerView1->addSubview(self->headerImageView);
  }
  auto titleView = objc::make<UIView>();
  self->iconImageView = objc::make<UIImageView>();
  extrasOf(self->iconImageView.get()).contentMode = UIViewContentModeScaleAspectFit;
  extrasOf(self->iconImageView.get()).translatesAutoresizingMaskIntoConstraints = false;
  titleView->addSubview(self->iconImageView);
  self->navigationItem()->setTitleView(titleView);
  objc::msgSend<void>(self, objc::sel("layoutUI"));
}

void layoutUI(MirraBaseController* self, SEL) {
  UIView* image = self->headerImageView.get();
  UIView* header = self->headerView1.get();
  NSLayoutConstraint::activateConstraints({
      NSLayoutConstraint::constraint(image, NSLayoutAttributeTop, header, NSLayoutAttributeTop),
      NSLayoutConstraint::constraint(image, NSLayoutAttributeBottom, header,
                                     NSLayoutAttributeBottom),
      NSLayoutConstraint::constraint(image, NSLayoutAttributeLeading, header,
                                     NSLayoutAttributeLeading),
      NSLayoutConstraint::constraint(image, NSLayoutAttributeTrailing, header,
                                     NSLayoutAttributeTrailing),
  });
}

void loadView(MirraBaseController* self, SEL cmd) {
  objc::msgSendSuper<void>(objc_getClass("MirraBaseController"), self, cmd);
  objc::msgSend<void>(self, objc::sel("headerCell"));
  self->table()->setDelegate(self);
  self->table()->setTableHeaderView(self->headerView1);
  dispatch_once(&registerTintCellOnce, [] { registerCorvinaTintCellClass(); });
}

}  // namespace

void addPageDressing(objc::Class* page) {
  objc::addMethod(page, "viewWillAppear:", &viewWillAppear);
  objc::addMethod(page, "loadView", &loadView);
  objc::addMethod(page, "headerCell", &headerCell);
  objc::addMethod(page, "layoutUI", &layoutUI);
  objc::addMethod(page, "tableView:viewForHeaderInSection:", &viewForHeader);
  objc::addMethod(page, "tableView:heightForHeaderInSection:",
                  [](PSListController*, SEL, UITableView*, long) { return kHeaderHeight; });
  objc::addMethod(page, "tableView:willDisplayCell:forRowAtIndexPath:",
                  [](PSListController*, SEL, UITableView*, UIView* cell, NSIndexPath*) {
                    cell->setAlpha(0);
                    UIView::animateWithDuration(1.5, [&] { cell->setAlpha(1); }, {});
                  });
}
