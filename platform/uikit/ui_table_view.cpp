#include "platform/uikit/ui_table_view.h"

#include "platform/uikit/ui_screen.h"

namespace {

constexpr double kSideMargin = 16;

}  // namespace

Ref<NSIndexPath> NSIndexPath::indexPathForRow(long row, long section) {
  auto path = objc::make<NSIndexPath>();
  path->row_ = row;
  path->section_ = section;
  return path;
}

void UITableViewCell::setUpCell(UITableViewCellStyle style, Ref<NSString> reuseIdentifier) {
  // As wide as the screen from the start, as the platform's cells are about as wide as their
  // table; the table sets the final frame.
  setFrame(CGRectMake(0, 0, UIScreen::mainScreen()->bounds().width(), 44));
  style_ = style;
  reuseIdentifier_ = std::move(reuseIdentifier);
  contentView_ = objc::make<UIView>();
  // Cell-sized from the start, so views that autoresize with it grow from the right size.
  contentView_->setFrame(bounds());
  addSubview(contentView_);
  textLabel_ = objc::make<UILabel>();
  contentView_->addSubview(textLabel_);
  if (style != UITableViewCellStyleDefault) {
    detailTextLabel_ = objc::make<UILabel>();
    detailTextLabel_->setFontSize(style == UITableViewCellStyleSubtitle ? 12 : 17);
    contentView_->addSubview(detailTextLabel_);
  }
}

void UITableViewCell::layOutCell() {
  if (!contentView_) return;
  const CGRect bounds = this->bounds();
  contentView_->setFrame(bounds);
  const double width = bounds.width() - 2 * kSideMargin;
  const bool stacked = style_ == UITableViewCellStyleSubtitle && detailTextLabel_ &&
                       detailTextLabel_->text() && detailTextLabel_->text()->length() > 0;
  if (stacked) {
    textLabel_->setFrame(CGRectMake(kSideMargin, bounds.height() / 2 - 21, width, 21));
    detailTextLabel_->setFrame(CGRectMake(kSideMargin, bounds.height() / 2, width, 16));
  } else {
    textLabel_->setFrame(CGRectMake(kSideMargin, 0, width, bounds.height()));
  }
}

void UITableView::setTableHeaderView(Ref<UIView> header) {
  if (header_) header_->removeFromSuperview();
  header_ = std::move(header);
  if (header_) insertSubview(header_, 0);
}

void defineTableClasses() {
  objc::defineClass<NSIndexPath, NSObject>("NSIndexPath");
  objc::Class* cell = objc::defineClass<UITableViewCell, UIView>("UITableViewCell");
  objc::addMethod(cell, "initWithStyle:reuseIdentifier:",
                  [](UITableViewCell* self, SEL, long style, NSString* identifier) {
                    self->setUpCell(static_cast<UITableViewCellStyle>(style), identifier);
                    return Ref<UITableViewCell>(self);
                  });
  objc::addMethod(cell, "layoutSubviews", [](UITableViewCell* self, SEL) { self->layOutCell(); });
  objc::defineClass<UITableView, UIScrollView>("UITableView");
}
