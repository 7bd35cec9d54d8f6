#include "CustomCells/custom_cells.h"
#include "MirraRootListController.h"
#include "platform/foundation/log.h"
#include "source/colors/runtime_classes.h"
#include "sub_page_controllers.h"

namespace {

// The bundle's classes register themselves as it loads, like an image's classes on the
// platform; the Settings host has defined the framework's classes before loading it. The colour
// classes it carries need only the platform's.
bool defineBundleClasses() {
  runtime_classes::registerQuenbyClasses("3dvitrelprefs: ");
  if (!objc_getClass("PSListController")) {
    NSLog("3dvitrelprefs: loaded outside the Settings host; no pages defined");
    return false;
  }
  defineMirraRootListController(defineMirraBaseController());
  defineSubPageControllers();
  defineMirraCells();
  defineLabeledSliderCell();
  defineSegmentTableImageCell();
  defineSwitchWithInfoCell();
  return true;
}

[[maybe_unused]] const bool defined = defineBundleClasses();

}  // namespace
