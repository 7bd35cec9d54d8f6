// `PCPaletteCube` and `PCLocalMaximum` as runtime classes: every entry point and inner
// operation of the cube is a method, taking and giving lists of `PCLocalMaximum` instances.

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_data.h"
#include "source/colors/palette_cube.h"
#include "source/colors/runtime_classes.h"

namespace {

// A `PCPaletteCube` instance: its own histogram.
class PaletteCubeObject final : public NSObject {
 public:
  PCPaletteCube cube;
};

// A `PCLocalMaximum` instance: the candidate colour it holds.
class LocalMaximumObject final : public NSObject {
 public:
  PCLocalMaximum value{};
};

bool sameMaximum(const PCLocalMaximum& a, const PCLocalMaximum& b) {
  return a.hitCount == b.hitCount && a.cellIndex == b.cellIndex && a.red == b.red &&
         a.green == b.green && a.blue == b.blue && a.brightness == b.brightness;
}

// The list's maxima; nil is empty. Anything but a `PCLocalMaximum` in it is refused, as
// the platform refuses a message its class does not answer.
std::vector<PCLocalMaximum> maximaOf(const NSArray* list) {
  std::vector<PCLocalMaximum> maxima;
  if (!list) return maxima;
  maxima.reserve(list->count());
  for (const Ref<NSObject>& object : *list) {
    auto* maximum = dynamic_cast<LocalMaximumObject*>(object.get());
    if (!maximum) {
      throw objc::Exception("NSInvalidArgumentException",
                            "a list of maxima holds an instance of " + object->isa()->name());
    }
    maxima.push_back(maximum->value);
  }
  return maxima;
}

// The maxima as `PCLocalMaximum` instances. A maximum equal to one of `given` that is not yet
// used is that very instance, so that filters and orderings hand back the objects they were
// given, as the platform's would; the others are new.
Ref<NSArray> instancesOf(const std::vector<PCLocalMaximum>& maxima,
                         const NSArray* given = nullptr) {
  const size_t givenCount = given ? given->count() : 0;
  std::vector<bool> used(givenCount);
  NSArray::Objects objects;
  objects.reserve(maxima.size());
  for (const PCLocalMaximum& maximum : maxima) {
    Ref<NSObject> instance;
    for (size_t i = 0; i < givenCount && !instance; ++i) {
      auto* candidate = static_cast<LocalMaximumObject*>(given->objects()[i].get());
      if (!used[i] && sameMaximum(candidate->value, maximum)) {
        used[i] = true;
        instance = candidate;
      }
    }
    if (!instance) {
      Ref<LocalMaximumObject> made = objc::make<LocalMaximumObject>();
      made->value = maximum;
      instance = made;
    }
    objects.push_back(std::move(instance));
  }
  return NSArray::from(std::move(objects));
}

Ref<NSArray> colorList(std::vector<Ref<UIColor>> colors) {
  return NSArray::from(NSArray::Objects(colors.begin(), colors.end()));
}

void defineLocalMaximum(std::string_view logPrefix) {
  objc::Class* cls =
      runtime_classes::defineUnlessTaken<LocalMaximumObject>("PCLocalMaximum", logPrefix);
  if (!cls) return;
  using runtime_classes::addFieldProperty;
  addFieldProperty<LocalMaximumObject, &PCLocalMaximum::hitCount>(cls, "hitCount");
  addFieldProperty<LocalMaximumObject, &PCLocalMaximum::cellIndex>(cls, "cellIndex");
  addFieldProperty<LocalMaximumObject, &PCLocalMaximum::red>(cls, "red");
  addFieldProperty<LocalMaximumObject, &PCLocalMaximum::green>(cls, "green");
  addFieldProperty<LocalMaximumObject, &PCLocalMaximum::blue>(cls, "blue");
  addFieldProperty<LocalMaximumObject, &PCLocalMaximum::brightness>(cls, "brightness");
}

void addEntryPoints(objc::Class* cls) {
  using Cube = PaletteCubeObject;
  objc::addMethod(
      cls, "extractColorsFromImage:flags:", [](Cube* self, SEL, UIImage* image, PCFlags flags) {
        return colorList(self->cube.extractColorsFromImage(image, flags));
      });
  objc::addMethod(cls, "extractColorsFromImage:flags:avoidColor:",
                  [](Cube* self, SEL, UIImage* image, PCFlags flags, UIColor* avoid) {
                    return colorList(self->cube.extractColorsFromImage(image, flags, avoid));
                  });
  objc::addMethod(cls, "extractBrightColorsFromImage:avoidColor:count:",
                  [](Cube* self, SEL, UIImage* image, UIColor* avoid, uint64_t count) {
                    return colorList(self->cube.extractBrightColorsFromImage(image, avoid, count));
                  });
  objc::addMethod(cls, "extractDarkColorsFromImage:avoidColor:count:",
                  [](Cube* self, SEL, UIImage* image, UIColor* avoid, uint64_t count) {
                    return colorList(self->cube.extractDarkColorsFromImage(image, avoid, count));
                  });
  objc::addMethod(cls, "extractColorsFromImage:flags:count:",
                  [](Cube* self, SEL, UIImage* image, PCFlags flags, uint64_t count) {
                    return colorList(self->cube.extractColorsFromImage(image, flags, count));
                  });
}

void addHistogramOperations(objc::Class* cls) {
  using Cube = PaletteCubeObject;
  objc::addMethod(cls, "clearCells", [](Cube* self, SEL) { self->cube.clearCells(); });
  // The buffer is handed over as data, which its new owner releases like any object.
  objc::addMethod(cls, "rawPixelDataFromImage:pixelCount:",
                  [](Cube* self, SEL, UIImage* image, uint32_t* pixelCount) -> Ref<NSData> {
                    auto pixels = self->cube.rawPixelDataFromImage(image, pixelCount);
                    return pixels ? NSData::from(std::move(*pixels)) : nullptr;
                  });
  objc::addMethod(cls, "findLocalMaximaInImage:flags:",
                  [](Cube* self, SEL, UIImage* image, PCFlags flags) -> Ref<NSArray> {
                    auto maxima = self->cube.findLocalMaximaInImage(image, flags);
                    return maxima ? instancesOf(*maxima) : nullptr;
                  });
  objc::addMethod(
      cls, "findAndSortMaximaInImage:flags:", [](Cube* self, SEL, UIImage* image, PCFlags flags) {
        return instancesOf(self->cube.findAndSortMaximaInImage(image, flags));
      });
  objc::addMethod(cls, "extractAndFilterMaximaFromImage:flags:",
                  [](Cube* self, SEL, UIImage* image, PCFlags flags) {
                    return instancesOf(self->cube.extractAndFilterMaximaFromImage(image, flags));
                  });
}

void addListOperations(objc::Class* cls) {
  using Cube = PaletteCubeObject;
  objc::addMethod(
      cls, "filterDistinctMaxima:threshold:", [](Cube* self, SEL, NSArray* list, double threshold) {
        return instancesOf(self->cube.filterDistinctMaxima(maximaOf(list), threshold), list);
      });
  objc::addMethod(
      cls, "filterMaxima:tooCloseToColor:", [](Cube* self, SEL, NSArray* list, UIColor* color) {
        return instancesOf(self->cube.filterMaxima(maximaOf(list), color), list);
      });
  objc::addMethod(cls, "orderByBrightness:", [](Cube* self, SEL, NSArray* list) {
    return instancesOf(self->cube.orderByBrightness(maximaOf(list)), list);
  });
  objc::addMethod(cls, "orderByDarkness:", [](Cube* self, SEL, NSArray* list) {
    return instancesOf(self->cube.orderByDarkness(maximaOf(list)), list);
  });
  objc::addMethod(cls, "performAdaptiveDistinctFilteringForMaxima:count:",
                  [](Cube* self, SEL, NSArray* list, uint64_t count) {
                    return instancesOf(
                        self->cube.performAdaptiveDistinctFilteringForMaxima(maximaOf(list), count),
                        list);
                  });
  objc::addMethod(cls, "colorsFromMaxima:", [](Cube* self, SEL, NSArray* list) {
    return colorList(self->cube.colorsFromMaxima(maximaOf(list)));
  });
}

}  // namespace

namespace runtime_classes {

void registerPaletteCubeClasses(std::string_view logPrefix) {
  defineLocalMaximum(logPrefix);
  objc::Class* cube = defineUnlessTaken<PaletteCubeObject>("PCPaletteCube", logPrefix);
  if (!cube) return;
  addEntryPoints(cube);
  addHistogramOperations(cube);
  addListOperations(cube);
}

}  // namespace runtime_classes
