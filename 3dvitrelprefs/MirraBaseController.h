#pragma once

#include "platform/preferences/framework/ps_list_controller.h"
#include "platform/preferences/onboarding/ob_welcome_controller.h"
#include "platform/uikit/ui_image_view.h"

// `Mirra` names the controllers the bundle's plists name: see
// "Names that cannot change" in the README.

// The root page's base: loads its rows with hiding rules applied, reads and writes the
// settings file, restarts the home screen, dresses the page (bar tint, banner header, section
// headers, fading cells) and offers the two information sheets.
class MirraBaseController : public PSListController {
 public:
  Ref<NSArray> savedSpecifiers;  // the page's full list in plist order, before hiding
  Ref<UIView> headerView1;
  Ref<UIImageView> headerImageView;
  Ref<UIImageView> iconImageView;
  Ref<OBWelcomeController> changelogController2;  // the changelog sheet, made once
  Ref<OBWelcomeController> changelogController;   // the features sheet, made once
};

// `isSpecifierVisible:`, `readPreferenceValue:` and `setPreferenceValue:specifier:`, which the
// root page and the sub-pages share.
void addSettingsOperations(objc::Class* page);

objc::Class* defineMirraBaseController();
// The dressing of the page: `viewWillAppear:`, `loadView`, `headerCell`, `layoutUI` and the
// table delegate's methods.
void addPageDressing(objc::Class* page);
// `showWtfChangedInThisVersion2` and `showWtfChangedInThisVersion`.
void addWelcomeSheets(objc::Class* page);
// `respring`: restarts the home screen.
void addRespring(objc::Class* page);

// The accent of the pages: the bar tint and the tint of sliders and switches.
Ref<UIColor> accentColor();
