#pragma once

#include <string>

#include "platform/runtime/runtime.h"

// Storage types and classes shared by the runtime tests. The runtime is process-wide, so each
// test that needs a fresh class makes one with a unique name.
namespace testing_classes {

struct Animal : objc::Object {
  int legs = 4;
};
struct Dog : Animal {
  std::string name = "rex";
};
// Counts live instances, to see when the runtime releases an object.
struct Tracked : objc::Object {
  Tracked() { ++alive; }
  ~Tracked() override { --alive; }
  static inline int alive = 0;
};

// Defines the native classes once per process: Animal (root), Dog : Animal, Tracked (root).
void defineOnce();
objc::Class* animalClass();
objc::Class* dogClass();

// A new runtime class, registered, with a name no other test uses.
objc::Class* freshSubclass(objc::Class* superclass, const std::string& stem);

}  // namespace testing_classes
