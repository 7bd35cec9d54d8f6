#pragma once

#include <optional>
#include <string>
#include <vector>

#include "apps/vitrel/color_json.h"
#include "platform/foundation/result.h"

// One class of a process's object runtime, as a class browser shows it.
struct ClassListing {
  struct Method {
    std::string selector;
    std::string types;  // the runtime's type encoding, e.g. "@@:@i"
  };
  struct Property {
    std::string name;
    std::string attributes;  // as the runtime joins them, e.g. `T@"UIView",&,N`
  };

  std::string name;
  std::optional<std::string> superclass;  // none for a root class
  std::vector<Method> classMethods;       // sorted by selector
  std::vector<Method> instanceMethods;    // sorted by selector
  std::vector<Property> properties;       // in the order the class declared them
};

// Every class registered in this process's runtime with its own (not inherited) methods and
// properties, sorted by name. Costs a walk of the runtime under its lock, class by class.
std::vector<ClassListing> listRuntimeClasses();

// {"name", "superclass" (null for a root class), "classMethods": [{"selector", "types"}…],
// "instanceMethods": […], "properties": [{"name", "attributes"}…]}.
Json listingJson(const ClassListing& listing);
// The same read back; fails, saying why, for JSON of another shape.
Result<ClassListing> listingFromJson(const Json& json);

// The class as a class dump writes its interface:
//   @interface PCPaletteCube : NSObject
//   @property maxima  T@"NSArray",&,N
//   + extractColorsFromImage:flags:  @@:@i
//   - init  @@:
//   @end
std::string listingText(const ClassListing& listing);

// Names among `classes` close to `name`: the same in another case, a few letters off, or
// holding it; closest first, at most five.
std::vector<std::string> closeNames(const std::string& name,
                                    const std::vector<ClassListing>& classes);
