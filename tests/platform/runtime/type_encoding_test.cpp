#include "platform/runtime/type_encoding.h"

#include <gtest/gtest.h>

#include "test_classes.h"

namespace {

struct Vec2 {
  double x, y;
};
enum class Mode : long { off, on };

}  // namespace

template <>
struct objc::TypeEncoding<Vec2> {
  static constexpr std::string_view value = "{Vec2=dd}";
};

using objc::encodingOf;
using objc::Signature;
using testing_classes::Dog;

TEST(TypeEncodingTest, EncodesScalarsObjectsAndStructures) {
  EXPECT_EQ(encodingOf<void>(), "v");
  EXPECT_EQ(encodingOf<bool>(), "B");
  EXPECT_EQ(encodingOf<int>(), "i");
  EXPECT_EQ(encodingOf<unsigned>(), "I");
  EXPECT_EQ(encodingOf<long>(), "q");
  EXPECT_EQ(encodingOf<long long>(), "q");
  EXPECT_EQ(encodingOf<unsigned long>(), "Q");
  EXPECT_EQ(encodingOf<float>(), "f");
  EXPECT_EQ(encodingOf<double>(), "d");
  EXPECT_EQ(encodingOf<Dog*>(), "@");
  EXPECT_EQ(encodingOf<objc::Ref<Dog>>(), "@");
  EXPECT_EQ(encodingOf<std::nullptr_t>(), "@");
  EXPECT_EQ(encodingOf<objc::Class*>(), "#");
  EXPECT_EQ(encodingOf<SEL>(), ":");
  EXPECT_EQ(encodingOf<double*>(), "^d");
  EXPECT_EQ(encodingOf<void*>(), "^v");
  EXPECT_EQ(encodingOf<Vec2>(), "{Vec2=dd}");
  EXPECT_EQ(encodingOf<const Vec2&>(), "{Vec2=dd}");
  EXPECT_EQ(encodingOf<Mode>(), "q");
}

TEST(TypeEncodingTest, SignaturesOfTheSameEncodingAreOneObject) {
  const Signature* fromTypes = Signature::of<objc::Ref<Dog>, objc::Ref<Dog>, double>();
  EXPECT_EQ(fromTypes->encoding(), "@@:@d");
  EXPECT_EQ(fromTypes, (Signature::of<objc::Ref<objc::Object>, Dog*, double>()));
  EXPECT_EQ(fromTypes, Signature::intern("@@:@d"));
  EXPECT_NE(fromTypes, Signature::intern("@@:@f"));
}

TEST(TypeEncodingTest, NormalisesOffsetsQualifiersAndClassNames) {
  EXPECT_EQ(objc::normalizeEncoding("v24@0:8d16"), "v@:d");
  EXPECT_EQ(objc::normalizeEncoding("v40@0:8{CGRect={CGPoint=dd}{CGSize=dd}}16"),
            "v@:{CGRect={CGPoint=dd}{CGSize=dd}}");
  EXPECT_EQ(objc::normalizeEncoding("@@:@\"UIView\"r^v"), "@@:@^v");
  EXPECT_EQ(Signature::intern("B16@0:8"), Signature::of<bool>());
}

TEST(TypeEncodingTest, RejectsMalformedEncodings) {
  for (const char* bad : {"", "v", "v@", "v:@", "v@:{CGRect=dd", "v@:x", "v@:^", "v@:@\"View"}) {
    EXPECT_FALSE(objc::normalizeEncoding(bad)) << bad;
    EXPECT_EQ(Signature::intern(bad), nullptr) << bad;
  }
}
