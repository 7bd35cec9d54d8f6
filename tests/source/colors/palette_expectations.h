#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics/ui_color.h"

// What the palette cube's tests expect of the colours it gives.
inline RGBA rgbaOf(const Ref<UIColor>& color) {
  return *color->color().rgba();
}

// Means of several equal pixels are equal to the pixel's value only to rounding.
inline void expectComponents(const std::vector<Ref<UIColor>>& colors, std::vector<RGBA> expected) {
  ASSERT_EQ(colors.size(), expected.size());
  for (size_t i = 0; i < colors.size(); ++i) {
    RGBA actual = rgbaOf(colors[i]);
    EXPECT_NEAR(actual.red, expected[i].red, 1e-12) << "colour " << i;
    EXPECT_NEAR(actual.green, expected[i].green, 1e-12) << "colour " << i;
    EXPECT_NEAR(actual.blue, expected[i].blue, 1e-12) << "colour " << i;
    EXPECT_EQ(actual.alpha, 1) << "colour " << i;
  }
}
