#include "platform/runtime/class.h"

#include <gtest/gtest.h>

#include "platform/runtime/runtime.h"
#include "test_classes.h"

using namespace testing_classes;
using objc::Ref;

TEST(ClassTest, RegisteredClassesAreFoundByName) {
  EXPECT_EQ(objc_getClass("Dog"), dogClass());
  EXPECT_EQ(class_getSuperclass(dogClass()), animalClass());
  EXPECT_STREQ(class_getName(dogClass()), "Dog");
  EXPECT_EQ(objc_getClass("NoSuchClass"), nullptr);
}

TEST(ClassTest, ClassMadeAtRunTimeIsHiddenUntilRegistered) {
  objc::Class* cls = objc_allocateClassPair(animalClass(), "LateAnimal", 0);
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(objc_getClass("LateAnimal"), nullptr);
  objc_registerClassPair(cls);
  EXPECT_EQ(objc_getClass("LateAnimal"), cls);
  EXPECT_EQ(objc_allocateClassPair(animalClass(), "LateAnimal", 0), nullptr) << "name taken";
}

TEST(ClassTest, InstancesOfRunTimeClassesUseTheSuperclassStorage) {
  objc::Class* puppy = freshSubclass(dogClass(), "Puppy");
  Ref<Dog> instance = objc::createInstance<Dog>(puppy);
  ASSERT_TRUE(instance);
  EXPECT_EQ(instance->isa(), puppy);
  EXPECT_EQ(instance->name, "rex");
  EXPECT_THROW(objc::createInstance<Dog>(animalClass()), objc::Exception);
}

TEST(ClassTest, KindOfWalksSuperclasses) {
  objc::Class* puppy = freshSubclass(dogClass(), "Puppy");
  Ref<objc::Object> instance = objc::createInstance(puppy);
  EXPECT_TRUE(objc::isKindOf(instance.get(), puppy));
  EXPECT_TRUE(objc::isKindOf(instance.get(), dogClass()));
  EXPECT_TRUE(objc::isKindOf(instance.get(), animalClass()));
  EXPECT_FALSE(objc::isKindOf(objc::make<Animal>().get(), dogClass()));
  EXPECT_FALSE(objc::isKindOf(instance.get(), nullptr)) << "an unresolved class matches nothing";
  EXPECT_FALSE(objc::isKindOf(nullptr, dogClass()));
}

TEST(ClassTest, MetaclassesMirrorTheClassHierarchy) {
  objc::Class* dogMeta = object_getClass(dogClass());
  EXPECT_TRUE(class_isMetaClass(dogMeta));
  EXPECT_EQ(class_getSuperclass(dogMeta), object_getClass(animalClass()));
  // The root metaclass inherits from the root class, so classes answer root instance methods.
  objc::Class* rootMeta = object_getClass(animalClass());
  EXPECT_EQ(class_getSuperclass(rootMeta), animalClass());
  EXPECT_EQ(object_getClass(rootMeta), rootMeta);
  EXPECT_EQ(object_getClass(dogMeta), rootMeta);
  EXPECT_THROW(objc::createInstance(dogMeta), objc::Exception);
}

TEST(ClassTest, MakingATypeWithoutAClassThrows) {
  struct Unregistered : objc::Object {};
  EXPECT_THROW(objc::make<Unregistered>(), objc::Exception);
}

TEST(ClassTest, ObjectsDieWithTheirLastReference) {
  defineOnce();
  int before = Tracked::alive;
  {
    Ref<Tracked> first = objc::make<Tracked>();
    Ref<Tracked> second = first;
    EXPECT_EQ(first->retainCount(), 2u);
    first = nullptr;
    EXPECT_EQ(Tracked::alive, before + 1);
  }
  EXPECT_EQ(Tracked::alive, before);
}
