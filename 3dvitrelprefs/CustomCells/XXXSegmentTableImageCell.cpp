#include "custom_cells.h"
#include "platform/foundation/ns_bundle.h"
#include "platform/foundation/ns_number.h"
#include "platform/uikit/image_loading.h"

namespace {

Ref<PSTableCell> initCell(XXXSegmentTableImageCell* self, SEL cmd, long style,
                          NSString* reuseIdentifier, PSSpecifier* specifier) {
  Ref<PSTableCell> cell = objc::msgSendSuper<Ref<PSTableCell>>(
      objc_getClass("XXXSegmentTableImageCell"), self, cmd, style, reuseIdentifier,
      static_cast<NSObject*>(specifier));
  if (!specifier) return cell;
  specifier->setProperty(NSNumber::numberWithLongLong(60), "height");
  NSObject* target = specifier->target();
  self->_bundle = target ? NSBundle::bundleForClass(target->isa()) : nullptr;
  return cell;
}

// Each segment shows the image its title names, in the image's own colours; a segment whose
// image is missing keeps its title.
void refresh(XXXSegmentTableImageCell* self, SEL cmd, PSSpecifier* specifier) {
  objc::msgSendSuper<void>(objc_getClass("XXXSegmentTableImageCell"), self, cmd,
                           static_cast<NSObject*>(specifier));
  auto* segments = dynamic_cast<UISegmentedControl*>(self->control());
  if (!specifier || !segments) return;
  const auto& choices = specifier->choices();
  for (size_t index = 0; index < choices.size(); ++index) {
    Ref<NSString> title = specifier->titleForValue(choices[index].value.get());
    Ref<UIImage> image = title ? imageNamed(title->string(), self->_bundle) : nullptr;
    if (image) {
      segments->setImage(imageWithRenderingMode(image.get(), UIImageRenderingModeAlwaysOriginal),
                         index);
    }
  }
}

}  // namespace

void defineSegmentTableImageCell() {
  objc::Class* cls = objc::defineClass<XXXSegmentTableImageCell, PSSegmentTableCell>(
      "XXXSegmentTableImageCell", objc_getClass("PSSegmentTableCell"));
  if (!cls) return;
  objc::addMethod(cls, "initWithStyle:reuseIdentifier:specifier:", &initCell);
  objc::addMethod(cls, "refreshCellContentsWithSpecifier:", &refresh);
}
