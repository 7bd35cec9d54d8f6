#include "test_classes.h"

#include <atomic>
#include <mutex>

namespace testing_classes {

void defineOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    objc::defineClass<Animal, void>("Animal");
    objc::defineClass<Dog, Animal>("Dog");
    objc::defineClass<Tracked, void>("Tracked");
  });
}

objc::Class* animalClass() {
  defineOnce();
  return objc::classOf<Animal>();
}

objc::Class* dogClass() {
  defineOnce();
  return objc::classOf<Dog>();
}

objc::Class* freshSubclass(objc::Class* superclass, const std::string& stem) {
  static std::atomic<int> counter{0};
  objc::Class* cls = objc_allocateClassPair(superclass, stem + "_" + std::to_string(++counter), 0);
  objc_registerClassPair(cls);
  return cls;
}

}  // namespace testing_classes
