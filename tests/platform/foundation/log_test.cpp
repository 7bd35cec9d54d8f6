#include "platform/foundation/log.h"

#include <gtest/gtest.h>

#include "platform/foundation/ns_string.h"

TEST(LogFormatTest, FormatsNumbersStringsAndObjects) {
  auto name = NSString::from("SBIconView");
  EXPECT_EQ(formatLog("%d %d", {int64_t{1}, int64_t{0}}), "1 0");
  EXPECT_EQ(formatLog("ZQK %@ is %s", {name.get(), std::string("here")}), "ZQK SBIconView is here");
  EXPECT_EQ(formatLog("%.2f|%5d|%-3d|%x|%%", {0.125, int64_t{42}, int64_t{7}, int64_t{255}}),
            "0.12|   42|7  |ff|%");
  EXPECT_EQ(formatLog("%lu", {uint64_t{18446744073709551615ull}}), "18446744073709551615");
  EXPECT_EQ(formatLog("%@", {static_cast<const NSObject*>(nullptr)}), "(null)");
}

TEST(LogFormatTest, SurvivesMismatchedAndMissingArguments) {
  EXPECT_EQ(formatLog("%d and %d", {int64_t{1}}), "1 and ");
  EXPECT_EQ(formatLog("%d", {std::string("text")}), "text");
  EXPECT_EQ(formatLog("%s", {2.5}), "2.5");
  EXPECT_EQ(formatLog("%k %d", {int64_t{3}}), "%k 3");
  EXPECT_EQ(formatLog("trailing %", {}), "trailing %");
  EXPECT_EQ(formatLog("%999999d", {int64_t{1}}).size(), 511u) << "bounded, never overflows";
}

TEST(LogTest, CaptureCollectsLinesWrittenThroughNSLog) {
  setLogDestination(LogDestination::standardError);
  LogCapture capture;
  NSLog("ZQK %s %d", "containerViewForPresentingContextMenuForIconView", true);
  NSLog("second");
  EXPECT_EQ(capture.lines(),
            (std::vector<std::string>{"ZQK containerViewForPresentingContextMenuForIconView 1",
                                      "second"}));
}
