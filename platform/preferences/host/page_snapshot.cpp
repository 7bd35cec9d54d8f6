#include "platform/preferences/host/page_snapshot.h"

#include <cmath>
#include <cstdio>

#include "platform/preferences/framework/ps_list_controller.h"
#include "platform/preferences/onboarding/ob_welcome_controller.h"
#include "platform/uikit/image_loading.h"
#include "platform/uikit/layout_constraint.h"
#include "platform/uikit/ui_alert_controller.h"
#include "platform/uikit/ui_image_view.h"
#include "platform/uikit/view_extras.h"

namespace page_snapshot {
namespace {

using namespace page_model;

constexpr double kGroupHeaderHeight = 38;
constexpr double kPlainHeaderHeight = 18;

std::string text(const NSString* string) {
  return string ? string->string() : "";
}

std::optional<std::string> optionalText(const NSString* string) {
  return string ? std::optional(string->string()) : std::nullopt;
}

Channels channels(const Color& color) {
  RGBA value = color.rgba().value_or(RGBA{0, 0, 0, color.alpha()});
  return {value.red, value.green, value.blue, value.alpha};
}

Rgba rgba(const UIColor& color) {
  Rgba value{channels(color.resolvedColor(false)), std::nullopt};
  if (!(color.resolvedColor(true) == color.resolvedColor(false))) {
    value.dark = channels(color.resolvedColor(true));
  }
  return value;
}

std::optional<Rgba> optionalRgba(const UIColor* color) {
  return color ? std::optional(rgba(*color)) : std::nullopt;
}

Font fontValue(const UIFont& font) {
  return {font.fontName(), font.pointSize(), font.weight(), font.monospacedDigits()};
}

std::optional<Image> imageValue(const UIImage* image) {
  if (!image) return std::nullopt;
  ImageOrigin origin = originOf(image);
  return Image{origin.source, image->size().width, image->size().height,
               origin.renderingMode == UIImageRenderingModeAlwaysOriginal};
}

Control controlValue(UIControl* view) {
  Control control;
  control.enabled = view->isEnabled();
  if (auto* button = dynamic_cast<UIButton*>(view)) {
    control.kind = ControlKind::button;
    control.buttonType = button->buttonType();
  } else if (auto* slider = dynamic_cast<UISlider*>(view)) {
    control.kind = ControlKind::slider;
    control.value = slider->value();
    control.minimum = slider->minimumValue();
    control.maximum = slider->maximumValue();
    control.minimumTrackTint = optionalRgba(slider->minimumTrackTintColor().get());
  } else if (auto* toggle = dynamic_cast<UISwitch*>(view)) {
    control.kind = ControlKind::toggle;
    control.on = toggle->isOn();
    control.onTint = optionalRgba(toggle->onTintColor().get());
    control.thumbTint = optionalRgba(toggle->thumbTintColor().get());
  } else if (auto* segments = dynamic_cast<UISegmentedControl*>(view)) {
    control.kind = ControlKind::segments;
    control.selectedIndex = segments->selectedSegmentIndex();
    for (const UISegmentedControl::Segment& segment : segments->segments()) {
      control.segments.push_back({text(segment.title.get()), imageValue(segment.image.get())});
    }
  }
  return control;
}

void addLabel(ViewNode& node, UILabel* label) {
  node.text = optionalText(label->text());
  node.font = fontValue(*fontOf(label));
  node.textColor = optionalRgba(label->textColor().get());
  node.textAlignment = label->textAlignment();
  node.numberOfLines = label->numberOfLines();
  if (const ViewExtras* extras = existingExtrasOf(label)) {
    node.highlightedTextColor = optionalRgba(extras->highlightedTextColor.get());
    if (extras->attributedText) {
      for (const NSAttributedString::Run& run : extras->attributedText->runs()) {
        if (run.font) node.fontRuns.push_back({run.location, run.length, fontValue(*run.font)});
      }
    }
  }
}

double headerHeight(PSListController* page, const PSListController::Section& section, long index) {
  UITableView* table = page->table();
  SEL heightForHeader = objc::sel("tableView:heightForHeaderInSection:");
  if (objc::respondsTo(table->delegate(), heightForHeader)) {
    return objc::msgSend<double>(table->delegate(), heightForHeader, static_cast<NSObject*>(table),
                                 index);
  }
  return section.group && section.group->name() ? kGroupHeaderHeight : kPlainHeaderHeight;
}

std::optional<ViewNode> headerView(PSListController* page, long index) {
  UITableView* table = page->table();
  SEL viewForHeader = objc::sel("tableView:viewForHeaderInSection:");
  if (!objc::respondsTo(table->delegate(), viewForHeader)) return std::nullopt;
  Ref<UIView> view = objc::msgSend<Ref<UIView>>(table->delegate(), viewForHeader,
                                                static_cast<NSObject*>(table), index);
  if (!view) return std::nullopt;
  layOutConstraints(view.get());
  return snapshotView(view.get());
}

Row rowValue(const PSListController::Row& row, double y, double width) {
  PSSpecifier* specifier = row.specifier.get();
  PSTableCell* cell = row.cell.get();
  double height = objc::msgSend<double>(cell, objc::sel("preferredHeightForWidth:"), width);
  cell->setFrame(CGRectMake(0, y, width, height));
  layOutConstraints(cell);
  Row value;
  value.specifierIdentifier = text(specifier->identifier());
  value.label = text(specifier->name());
  value.cellType = std::string(nameOfCellType(specifier->cellType()));
  value.cellClass = class_getName(cell->isa());
  value.height = height;
  value.opensPage = specifier->detailControllerClass() != nullptr;
  value.isButton = specifier->cellType() == PSButtonCell && specifier->action();
  value.cell = snapshotView(cell);
  value.cell.tappable = value.cell.tappable || value.opensPage || value.isButton;
  return value;
}

std::vector<Section> sectionsOf(PSListController* page, double& y) {
  std::vector<Section> sections;
  const double width = page->table()->frame().width();
  long index = 0;
  for (const PSListController::Section& section : page->sections()) {
    Section value;
    if (section.group) {
      value.groupLabel = optionalText(section.group->name());
      value.footerText =
          optionalText(dynamic_cast<NSString*>(section.group->propertyForKey("footerText").get()));
    }
    value.headerView = headerView(page, index);
    value.headerHeight = headerHeight(page, section, index);
    y += value.headerHeight;
    for (const PSListController::Row& row : section.rows) {
      value.rows.push_back(rowValue(row, y, width));
      y += value.rows.back().height;
    }
    sections.push_back(std::move(value));
    ++index;
  }
  return sections;
}

Alert alertValue(UIAlertController* alert) {
  Alert value;
  value.title = optionalText(alert->title());
  value.message = optionalText(alert->message());
  value.style = alert->preferredStyle();
  for (const Ref<UITextField>& field : alert->textFields()) {
    value.fields.push_back({text(field->text()), text(field->placeholder()),
                            optionalRgba(field->textColor().get()), field->keyboardType()});
  }
  for (const Ref<UIAlertAction>& action : alert->actions()) {
    value.actions.push_back({text(action->title()), action->style()});
  }
  return value;
}

Sheet sheetValue(OBWelcomeController* sheet) {
  Sheet value;
  value.title = text(sheet->title());
  value.detailText = text(sheet->detailText());
  value.icon = imageValue(sheet->icon());
  for (const OBWelcomeController::BulletedItem& item : sheet->bulletedItems()) {
    value.items.push_back(
        {text(item.title.get()), text(item.description.get()), imageValue(item.image.get())});
  }
  UIView* view = sheet->view();
  if (const ViewExtras* extras = existingExtrasOf(view)) {
    value.tint = optionalRgba(extras->tintColor.get());
  }
  if (!view->subviews().empty()) {
    if (auto* backdrop = dynamic_cast<UIBackdropView*>(view->subviews().front().get())) {
      value.backdropStyle = backdrop->style();
    }
  }
  const Ref<UIColor>& background = view->backgroundColor();
  value.clearBackground = background && background->color().alpha() == 0;
  value.presentationStyle = sheet->modalPresentationStyle();
  return value;
}

void addPresented(Page& page, HostedViewController* top) {
  HostedViewController* presented = top->presentedViewController();
  while (presented && presented->presentedViewController()) {
    presented = presented->presentedViewController();
  }
  if (auto* alert = dynamic_cast<UIAlertController*>(presented)) page.alert = alertValue(alert);
  if (auto* sheet = dynamic_cast<OBWelcomeController*>(presented)) page.sheet = sheetValue(sheet);
}

}  // namespace

std::string viewId(const UIView* view) {
  char id[32];
  std::snprintf(id, sizeof id, "v%llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(view)));
  return id;
}

UIView* findView(UIView* root, const std::string& id) {
  if (!root) return nullptr;
  if (viewId(root) == id) return root;
  for (const Ref<UIView>& subview : root->subviews()) {
    if (UIView* found = findView(subview.get(), id)) return found;
  }
  return nullptr;
}

ViewNode snapshotView(UIView* view) {
  ViewNode node;
  node.id = viewId(view);
  node.className = class_getName(view->isa());
  node.frame = view->frame();
  node.alpha = view->alpha();
  node.hidden = view->isHidden();
  node.clipsToBounds = view->clipsToBounds();
  node.cornerRadius = view->layer()->cornerRadius();
  node.backgroundColor = optionalRgba(view->backgroundColor().get());
  node.tintColor = rgba(*effectiveTintColor(view));
  const ViewExtras* extras = existingExtrasOf(view);
  node.contentMode = extras ? extras->contentMode : UIViewContentModeScaleToFill;
  node.tappable = extras && !extras->taps.empty();
  if (auto* label = dynamic_cast<UILabel*>(view)) addLabel(node, label);
  if (auto* imageView = dynamic_cast<UIImageView*>(view))
    node.image = imageValue(imageView->image());
  if (auto* field = dynamic_cast<UITextField*>(view)) {
    node.text = text(field->text());
    node.placeholder = optionalText(field->placeholder());
    node.textColor = optionalRgba(field->textColor().get());
    node.editable = true;
  }
  if (extras) node.blurEffectStyle = extras->blurEffectStyle;
  if (auto* control = dynamic_cast<UIControl*>(view)) {
    node.control = controlValue(control);
    node.tappable = true;
  }
  for (const Ref<UIView>& subview : view->subviews()) {
    node.subviews.push_back(snapshotView(subview.get()));
  }
  return node;
}

Page snapshotPage(UINavigationController* navigation) {
  Page page;
  auto* top = dynamic_cast<PSListController*>(navigation->topViewController());
  if (!top) return page;
  page.controllerClass = class_getName(top->isa());
  page.title = text(top->title());
  page.depth = navigation->viewControllers().size() - 1;
  page.canGoBack = page.depth > 0;
  if (const ViewExtras* extras = existingExtrasOf(navigation->navigationBar())) {
    page.barTint = optionalRgba(extras->tintColor.get());
  }
  if (UIView* titleView = top->navigationItem()->titleView()) {
    layOutConstraints(titleView);
    page.titleView = snapshotView(titleView);
  }
  UITableView* table = top->table();
  page.width = table->frame().width();
  double y = 0;
  if (UIView* header = table->tableHeaderView()) {
    CGRect frame = header->frame();
    header->setFrame(CGRectMake(0, 0, page.width, frame.height()));
    layOutConstraints(header);
    page.tableHeader = snapshotView(header);
    y = frame.height();
  }
  page.sections = sectionsOf(top, y);
  addPresented(page, top);
  return page;
}

}  // namespace page_snapshot
