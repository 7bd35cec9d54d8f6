#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/geometry.h"

// A settings page as its controllers and cells left it, in plain values that a host can turn
// into JSON or pictures: every shown row with its cell's class and view tree (labels with
// their fonts and colours, tints, alpha, images, controls), section headers as the page's
// delegate builds them, the navigation bar's tint and title view, the table's header, and any
// alert or sheet open over the page. Snapshots are made by SettingsHost::page().
namespace page_model {

struct Channels {
  double red = 0, green = 0, blue = 0, alpha = 1;
};

// A colour as the light style shows it, with the dark style's when that differs (a dynamic
// system colour, such as the label colour).
struct Rgba : Channels {
  std::optional<Channels> dark;
};

struct Font {
  std::string name;  // "System" for the system font
  double size = 17;
  double weight = 0;  // -1…1, 0 regular, 0.3 semibold, 0.4 bold
  bool monospacedDigits = false;
};

// A font over part of a label's text (UTF-8 byte offsets).
struct FontRun {
  size_t location = 0, length = 0;
  Font font;
};

struct Image {
  std::string source;            // a file path, or "symbol:<name>" for a system symbol
  double width = 0, height = 0;  // in points
  bool original = false;         // drawn in its own colours, never tinted
};

enum class ControlKind { button, slider, toggle, segments };

struct Segment {
  std::string title;
  std::optional<Image> image;  // shown instead of the title when present
};

struct Control {
  ControlKind kind = ControlKind::button;
  bool enabled = true;
  long buttonType = 0;                         // buttons: 0 custom, 1 system, 4 information
  bool on = false;                             // toggles
  double value = 0, minimum = 0, maximum = 1;  // sliders
  long selectedIndex = -1;                     // segments; -1 for none
  std::vector<Segment> segments;
  std::optional<Rgba> onTint, thumbTint, minimumTrackTint;
};

// One view and its subviews, in subview order.
struct ViewNode {
  // Names this view in actions (SettingsHost::tap…) while it is shown; not stable across
  // rebuilt cells.
  std::string id;
  std::string className;
  CGRect frame;  // in its superview's coordinates
  double alpha = 1;
  bool hidden = false;
  bool clipsToBounds = false;
  double cornerRadius = 0;
  std::optional<Rgba> backgroundColor;
  Rgba tintColor;  // the effective tint
  long contentMode = 0;
  // Labels.
  std::optional<std::string> text;
  std::optional<Font> font;
  std::optional<Rgba> textColor, highlightedTextColor;
  long textAlignment = 0;  // 0 left, 1 centre, 2 right
  long numberOfLines = 1;
  std::vector<FontRun> fontRuns;
  // Text fields: the text is in `text`.
  std::optional<std::string> placeholder;
  bool editable = false;  // SettingsHost::setText() edits it
  // Visual effect views: the style of their blur.
  std::optional<long> blurEffectStyle;
  // Image views.
  std::optional<Image> image;
  std::optional<Control> control;
  // A control, or a view with a tap recogniser: SettingsHost::tap() works it.
  bool tappable = false;
  std::vector<ViewNode> subviews;
};

struct Row {
  std::string specifierIdentifier;
  std::string label;
  std::string cellType;   // "PSSwitchCell"…
  std::string cellClass;  // the cell's runtime class name
  double height = 44;
  bool opensPage = false;  // a link row: tapping its cell pushes a page
  bool isButton = false;   // a button row: tapping its cell runs its action
  ViewNode cell;           // the cell's id is the row's handle for tap()
};

struct Section {
  std::optional<std::string> groupLabel;  // the group row's label
  std::optional<std::string> footerText;
  std::optional<ViewNode> headerView;  // the delegate's header view, when it gives one
  double headerHeight = 0;
  std::vector<Row> rows;
};

struct AlertField {
  std::string text, placeholder;
  std::optional<Rgba> textColor;
  long keyboardType = 0;  // 8: decimal pad
};

struct AlertAction {
  std::string title;
  long style = 0;  // 0 default, 1 cancel, 2 destructive
};

struct Alert {
  std::optional<std::string> title, message;  // message line breaks are "\n"
  long style = 1;                             // 1 alert, 0 action sheet
  std::vector<AlertField> fields;
  std::vector<AlertAction> actions;
};

struct SheetItem {
  std::string title, description;
  std::optional<Image> image;
};

struct Sheet {
  std::string title, detailText;
  std::optional<Image> icon;
  std::vector<SheetItem> items;
  std::optional<Rgba> tint;
  std::optional<long> backdropStyle;  // the lowest subview's backdrop style, if any
  bool clearBackground = false;
  long presentationStyle = 1;  // 2: form sheet
};

struct Page {
  std::string controllerClass;
  std::string title;
  size_t depth = 0;  // 0 for the Settings home page
  bool canGoBack = false;
  double width = 0;
  std::optional<Rgba> barTint;
  std::optional<ViewNode> titleView;
  std::optional<ViewNode> tableHeader;
  std::vector<Section> sections;
  // What is open over the page (the top-most presentation).
  std::optional<Alert> alert;
  std::optional<Sheet> sheet;
};

}  // namespace page_model
