#pragma once

#include <algorithm>
#include <string_view>

#include "platform/runtime/type_encoding.h"

// Points, sizes and rectangles in points, double precision, as the platform's Core Graphics
// types. Plain values: copyable, comparable, constexpr.
using CGFloat = double;

struct CGPoint {
  CGFloat x = 0, y = 0;
  friend constexpr bool operator==(const CGPoint&, const CGPoint&) = default;
};

struct CGSize {
  CGFloat width = 0, height = 0;
  friend constexpr bool operator==(const CGSize&, const CGSize&) = default;
};

struct CGRect {
  CGPoint origin;
  CGSize size;
  friend constexpr bool operator==(const CGRect&, const CGRect&) = default;

  constexpr CGFloat minX() const { return std::min(origin.x, origin.x + size.width); }
  constexpr CGFloat minY() const { return std::min(origin.y, origin.y + size.height); }
  constexpr CGFloat maxX() const { return std::max(origin.x, origin.x + size.width); }
  constexpr CGFloat maxY() const { return std::max(origin.y, origin.y + size.height); }
  constexpr CGFloat width() const { return size.width < 0 ? -size.width : size.width; }
  constexpr CGFloat height() const { return size.height < 0 ? -size.height : size.height; }
  constexpr bool isEmpty() const { return size.width == 0 || size.height == 0; }
};

constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) {
  return {x, y};
}
constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) {
  return {width, height};
}
constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
  return {{x, y}, {width, height}};
}
inline constexpr CGRect CGRectZero{};

// The rectangle shrunk by dx on the left and right and dy on the top and bottom (grown when
// negative), from its standardised form.
constexpr CGRect CGRectInset(const CGRect& rect, CGFloat dx, CGFloat dy) {
  return CGRectMake(rect.minX() + dx, rect.minY() + dy, rect.width() - 2 * dx,
                    rect.height() - 2 * dy);
}

template <>
struct objc::TypeEncoding<CGPoint> {
  static constexpr std::string_view value = "{CGPoint=dd}";
};
template <>
struct objc::TypeEncoding<CGSize> {
  static constexpr std::string_view value = "{CGSize=dd}";
};
template <>
struct objc::TypeEncoding<CGRect> {
  static constexpr std::string_view value = "{CGRect={CGPoint=dd}{CGSize=dd}}";
};
