// The classifiers `libMerrow`, `Tessel` and `libOsset` as runtime classes.

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_number.h"
#include "source/colors/lib_merrow.h"
#include "source/colors/lib_osset.h"
#include "source/colors/runtime_classes.h"
#include "source/colors/tessel.h"

namespace {

// Instances of the two stateless classes hold nothing; each class needs a storage type of its
// own all the same.
class MerrowObject final : public NSObject {};
class TesselObject final : public NSObject {};

class OssetObject final : public NSObject {
 public:
  libOsset value;
};

void defineMerrow(std::string_view logPrefix) {
  objc::Class* cls = runtime_classes::defineUnlessTaken<MerrowObject>("libMerrow", logPrefix);
  if (!cls) return;
  objc::addClassMethod(cls, "backgroundColor:", [](objc::Class*, SEL, UIImage* image) {
    return libMerrow::backgroundColor(image);
  });
  objc::addClassMethod(cls, "primaryColor:", [](objc::Class*, SEL, UIImage* image) {
    return libMerrow::primaryColor(image);
  });
  objc::addClassMethod(cls, "secondaryColor:", [](objc::Class*, SEL, UIImage* image) {
    return libMerrow::secondaryColor(image);
  });
  objc::addClassMethod(cls, "getColorFromImage:calculation:dimension:flexibility:range:",
                       [](objc::Class*, SEL, UIImage* image, int32_t calculation, int32_t dimension,
                          int32_t flexibility, int32_t range) {
                         return libMerrow::getColorFromImage(image, calculation, dimension,
                                                             flexibility, range);
                       });
}

void defineTessel(std::string_view logPrefix) {
  objc::Class* cls = runtime_classes::defineUnlessTaken<TesselObject>("Tessel", logPrefix);
  if (!cls) return;
  objc::addClassMethod(cls, "getPrimaryColor:", [](objc::Class*, SEL, UIImage* image) {
    return Tessel::getPrimaryColor(image);
  });
  objc::addClassMethod(cls, "getSecondaryColor:", [](objc::Class*, SEL, UIImage* image) {
    return Tessel::getSecondaryColor(image);
  });
}

// The table from colour to share. The platform's dictionaries are keyed by text, so each colour
// stands as its description ("UIExtendedSRGBColorSpace r g b 1"), which differs for any two
// picked colours.
Ref<NSDictionary> shareTable(const std::vector<libOsset::ColourShare>& shares) {
  NSDictionary::Entries entries;
  for (const libOsset::ColourShare& entry : shares) {
    entries.emplace(describe(entry.colour.get()), NSNumber::numberWithDouble(entry.share));
  }
  return NSDictionary::from(std::move(entries));
}

void defineOsset(std::string_view logPrefix) {
  objc::Class* cls = runtime_classes::defineUnlessTaken<OssetObject>("libOsset", logPrefix);
  if (!cls) return;
  objc::addMethod(cls, "mainColoursInImage:detail:",
                  [](OssetObject* self, SEL, UIImage* image, int32_t detail) {
                    return shareTable(self->value.mainColoursInImage(image, detail));
                  });
}

}  // namespace

namespace runtime_classes {

void registerClassifierClasses(std::string_view logPrefix) {
  defineMerrow(logPrefix);
  defineTessel(logPrefix);
  defineOsset(logPrefix);
}

}  // namespace runtime_classes
