#include "platform/runtime/message.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/runtime/runtime.h"
#include "test_classes.h"

using namespace testing_classes;
using objc::msgSend;
using objc::Ref;
using objc::sel;

namespace {

struct Point2 {
  double x, y;
};

class MessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    animal = freshSubclass(animalClass(), "Creature");
    dog = freshSubclass(animal, "Hound");
    objc::addMethod(animal, "legs", [](Animal* self, SEL) { return self->legs; });
    objc::addMethod(animal, "setLegs:", [](Animal* self, SEL, int legs) { self->legs = legs; });
    objc::addMethod(animal, "sound", [](Animal*, SEL) { return 1.0; });
    objc::addMethod(dog, "sound", [](Animal*, SEL) { return 2.0; });
    objc::addMethod(animal,
                    "weigh:by:", [](Animal*, SEL, Animal* other, double factor) -> Ref<Animal> {
                      return factor > 0 ? Ref<Animal>(other) : nullptr;
                    });
  }
  objc::Class* animal = nullptr;
  objc::Class* dog = nullptr;
};

}  // namespace

template <>
struct objc::TypeEncoding<Point2> {
  static constexpr std::string_view value = "{Point2=dd}";
};

TEST_F(MessageTest, FindsMethodsThroughSuperclasses) {
  Ref<Animal> hound = objc::createInstance<Animal>(dog);
  msgSend<void>(hound, sel("setLegs:"), 3);
  EXPECT_EQ(msgSend<int>(hound, sel("legs")), 3);
  EXPECT_EQ(msgSend<double>(hound, sel("sound")), 2.0) << "the subclass's own method wins";
  EXPECT_EQ(objc::msgSendSuper<double>(dog, hound, sel("sound")), 1.0);
}

TEST_F(MessageTest, PassesAndReturnsObjects) {
  Ref<Animal> first = objc::createInstance<Animal>(animal);
  Ref<Animal> second = objc::createInstance<Animal>(dog);
  EXPECT_EQ(msgSend<Ref<Animal>>(first, sel("weigh:by:"), second, 1.0), second);
  EXPECT_EQ(msgSend<Ref<objc::Object>>(first, sel("weigh:by:"), second.get(), 1.0), second);
  EXPECT_EQ(msgSend<Ref<Animal>>(first, sel("weigh:by:"), nullptr, 1.0), nullptr);
  EXPECT_EQ(msgSend<Ref<Animal>>(first, sel("weigh:by:"), second, -1.0), nullptr);
}

TEST_F(MessageTest, RefusesArgumentsOrResultsOfTheWrongType) {
  Ref<Animal> hound = objc::createInstance<Animal>(dog);
  try {
    msgSend<double>(hound, sel("weigh:by:"), hound, 1);
    FAIL() << "an int passed for a double must be refused";
  } catch (const objc::Exception& error) {
    EXPECT_NE(std::string(error.what()).find("has type @@:@d but was sent as d@:@i"),
              std::string::npos)
        << error.what();
  }
  EXPECT_THROW(msgSend<void>(hound, sel("setLegs:"), 3.0), objc::Exception);
  EXPECT_THROW(msgSend<float>(hound, sel("sound")), objc::Exception);
  EXPECT_THROW(msgSend<Ref<Dog>>(hound, sel("weigh:by:"), hound, 1.0), objc::Exception)
      << "a result whose storage is not a Dog";
}

TEST_F(MessageTest, RefusesAnObjectArgumentOfAnotherStorageType) {
  objc::addMethod(animal, "adopt:", [](Animal*, SEL, Dog* adopted) { return adopted != nullptr; });
  Ref<Animal> cat = objc::createInstance<Animal>(animal);
  Ref<Dog> rex = objc::make<Dog>();
  EXPECT_TRUE(msgSend<bool>(cat, sel("adopt:"), rex));
  EXPECT_FALSE(msgSend<bool>(cat, sel("adopt:"), nullptr));
  EXPECT_THROW(msgSend<bool>(cat, sel("adopt:"), cat), objc::Exception);
}

TEST_F(MessageTest, UnrecognisedSelectorThrowsWithTheMethodName) {
  Ref<Animal> hound = objc::createInstance<Animal>(dog);
  try {
    msgSend<void>(hound, sel("fetch"));
    FAIL();
  } catch (const objc::Exception& error) {
    EXPECT_EQ(error.name(), "NSInvalidArgumentException");
    EXPECT_NE(std::string(error.what()).find("-[" + dog->name() + " fetch]: unrecognized selector"),
              std::string::npos);
  }
}

TEST_F(MessageTest, SendingToNullReturnsZero) {
  Animal* nobody = nullptr;
  EXPECT_EQ(msgSend<int>(nobody, sel("legs")), 0);
  EXPECT_EQ(msgSend<Ref<Animal>>(Ref<Animal>(), sel("anything")), nullptr);
  Point2 point = msgSend<Point2>(nobody, sel("origin"));
  EXPECT_EQ(point.x, 0.0);
  EXPECT_EQ(point.y, 0.0);
  msgSend<void>(nobody, sel("fetch"));
}

TEST_F(MessageTest, PassesStructuresByValue) {
  objc::addMethod(animal, "mirror:", [](Animal*, SEL, const Point2& p) {
    return Point2{p.y, p.x};
  });
  Ref<Animal> first = objc::createInstance<Animal>(animal);
  Point2 mirrored = msgSend<Point2>(first, sel("mirror:"), Point2{1, 2});
  EXPECT_EQ(mirrored.x, 2);
  EXPECT_EQ(mirrored.y, 1);
  EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(animal, sel("mirror:"))),
               "{Point2=dd}@:{Point2=dd}");
}

TEST_F(MessageTest, ClassMethodsAreMethodsOfTheMetaclass) {
  objc::addClassMethod(animal, "kingdom", [](objc::Class*, SEL) { return 7; });
  EXPECT_EQ(msgSend<int>(dog, sel("kingdom")), 7) << "class methods are inherited";
  EXPECT_NE(class_getClassMethod(dog, sel("kingdom")), nullptr);
  EXPECT_EQ(class_getInstanceMethod(dog, sel("kingdom")), nullptr);
}

TEST_F(MessageTest, AddMethodKeepsExistingOwnMethodsAndOverridesInheritedOnes) {
  auto four = objc::Imp::of([](Animal*, SEL) { return 4.0; });
  EXPECT_FALSE(class_addMethod(dog, sel("sound"), four, "d@:")) << "the class has its own";
  objc::Class* puppy = freshSubclass(dog, "Pup");
  EXPECT_TRUE(class_addMethod(puppy, sel("sound"), four, "d16@0:8"));
  EXPECT_EQ(msgSend<double>(objc::createInstance(puppy), sel("sound")), 4.0);
  EXPECT_EQ(msgSend<double>(objc::createInstance(dog), sel("sound")), 2.0);
}

TEST_F(MessageTest, AddMethodRefusesTypesThatDoNotMatchTheImplementation) {
  std::string reported;
  objc::setDiagnosticHandler([&](std::string_view message) { reported = message; });
  auto imp = objc::Imp::of([](Animal*, SEL, double) {});
  EXPECT_FALSE(class_addMethod(animal, sel("run:"), imp, "v@:f"));
  EXPECT_FALSE(class_addMethod(animal, sel("run:"), imp, "garbage"));
  objc::setDiagnosticHandler(nullptr);
  EXPECT_FALSE(class_respondsToSelector(animal, sel("run:")));
  EXPECT_NE(reported.find("v@:d"), std::string::npos) << reported;
}

TEST_F(MessageTest, AddingToASuperclassReachesSubclassesThatAlreadyCachedAMiss) {
  Ref<Animal> hound = objc::createInstance<Animal>(dog);
  EXPECT_FALSE(objc::respondsTo(hound.get(), sel("sit")));
  objc::addMethod(animal, "sit", [](Animal*, SEL) { return true; });
  EXPECT_TRUE(objc::respondsTo(hound.get(), sel("sit")));
  EXPECT_TRUE(msgSend<bool>(hound, sel("sit")));
}

TEST_F(MessageTest, CacheGrowsWithManySelectors) {
  for (int i = 0; i < 200; ++i) {
    objc::addMethod(animal, std::string("m").append(std::to_string(i)),
                    [](Animal* self, SEL) { return self->legs; });
  }
  Ref<Animal> hound = objc::createInstance<Animal>(dog);
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 200; ++i) {
      ASSERT_EQ(msgSend<int>(hound, sel(std::string("m").append(std::to_string(i)))), 4);
    }
  }
}

TEST_F(MessageTest, SendsStayConsistentWhileMethodsChangeOnAnotherThread) {
  Ref<Animal> hound = objc::createInstance<Animal>(dog);
  std::atomic<bool> done{false};
  std::atomic<int> wrong{0};
  std::vector<std::thread> senders;
  for (int t = 0; t < 3; ++t) {
    senders.emplace_back([&] {
      while (!done.load()) {
        double sound = msgSend<double>(hound, sel("sound"));
        if (sound != 2.0 && sound != 5.0) ++wrong;
      }
    });
  }
  for (int i = 0; i < 300; ++i) {
    objc::Class* sibling = freshSubclass(animal, "Sibling");
    objc::addMethod(sibling, "sound", [](Animal*, SEL) { return 5.0; });
    MSHookMessageEx(dog, sel("sound"),
                    objc::Imp::of(i % 2 ? +[](Animal*, SEL) { return 2.0; }
                                        : +[](Animal*, SEL) { return 5.0; }),
                    nullptr);
  }
  done = true;
  for (auto& sender : senders)
    sender.join();
  EXPECT_EQ(wrong.load(), 0);
}
