#pragma once

#include "platform/preferences/framework/ps_table_cell.h"
#include "platform/uikit/ui_alert_controller.h"
#include "platform/uikit/ui_stack_view.h"

// `XXX`, `Corvina` and `Mirra` name cell classes the bundle's plists name: see
// "Names that cannot change" in the README.

class NSBundle;

// The cells the bundle's plists name in "cellClass". Each changes only the look of its
// framework cell or adds the behaviour described with it; values stay the framework's.

// A title cell whose class is built at run time (registerCorvinaTintCellClass).
extern "C" void registerCorvinaTintCellClass();
void corvina_setTitle(PSTableCell* cell, SEL selector, NSString* title);

// A button row greyed out when its "style" is "disabled".
class MirraButton : public PSTableCell {};
// The banner at the top of the root page: the product title and the installed version.
class MirraHeader : public PSTableCell {};
class MirraSlider : public PSSliderTableCell {};
class MirraToggle : public PSSwitchTableCell {};

// A slider with a caption above it and its value beside it; a tap on the value asks for an
// exact one.
class XXXLabeledSliderCell : public PSSliderTableCell {
 public:
  Ref<UILabel> _sliderLabel;
  Ref<UILabel> _valueLabel;
  Ref<UIStackView> _sliderStackView;
  Ref<UIStackView> _stackView;
};

// Segments that show the images their titles name.
class XXXSegmentTableImageCell : public PSSegmentTableCell {
 public:
  NSBundle* _bundle = nullptr;  // bundles live for the process
};

// A switch with an information button.
class XXXSwitchWithInfoCell : public PSSwitchTableCell {
 public:
  Ref<UIButton> _infoButton;
};

void defineMirraCells();
void defineLabeledSliderCell();
void defineSegmentTableImageCell();
void defineSwitchWithInfoCell();

// The controller to present an alert from: the one owning the view, else the key window's
// root, then up through whatever that presents.
HostedViewController* controllerToPresentFrom(UIView* view);
// Parses typed text the way the platform's floatValue does (its leading number, else 0); a
// "nan" also gives 0, so that no such value reaches the settings.
float parsedFloat(const NSString* text);
