#pragma once

#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_scroll_view.h"

// A row's place: its section and its row within the section.
class NSIndexPath : public NSObject {
 public:
  static Ref<NSIndexPath> indexPathForRow(long row, long section);
  long row() const { return row_; }
  long section() const { return section_; }

 private:
  long row_ = 0, section_ = 0;
};

enum UITableViewCellStyle : long {
  UITableViewCellStyleDefault = 0,
  UITableViewCellStyleValue1 = 1,
  UITableViewCellStyleValue2 = 2,
  UITableViewCellStyleSubtitle = 3,
};

// A row of a table: a content view holding a title label and, in the subtitle and value
// styles, a detail label. Made by the runtime initialiser `initWithStyle:reuseIdentifier:`.
class UITableViewCell : public UIView {
 public:
  UITableViewCellStyle style() const { return style_; }
  NSString* reuseIdentifier() const { return reuseIdentifier_.get(); }
  UIView* contentView() const { return contentView_.get(); }
  UILabel* textLabel() const { return textLabel_.get(); }
  UILabel* detailTextLabel() const { return detailTextLabel_.get(); }

  // What `initWithStyle:reuseIdentifier:` does: builds the content view and its labels.
  void setUpCell(UITableViewCellStyle style, Ref<NSString> reuseIdentifier);
  // The host's layout of the content view and labels, run by `layoutSubviews`.
  void layOutCell();

 private:
  UITableViewCellStyle style_ = UITableViewCellStyleDefault;
  Ref<NSString> reuseIdentifier_;
  Ref<UIView> contentView_;
  Ref<UILabel> textLabel_;
  Ref<UILabel> detailTextLabel_;
};

// A list of rows in sections. The rows themselves are its controller's business here; the
// table keeps its header view and its delegate (weak: the delegate owns the table).
class UITableView : public UIScrollView {
 public:
  NSObject* delegate() const { return delegate_; }
  void setDelegate(NSObject* delegate) { delegate_ = delegate; }
  UIView* tableHeaderView() const { return header_.get(); }
  void setTableHeaderView(Ref<UIView> header);

 private:
  NSObject* delegate_ = nullptr;
  Ref<UIView> header_;
};

void defineTableClasses();
