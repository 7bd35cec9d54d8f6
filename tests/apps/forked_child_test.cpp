#include "apps/vitrel/forked_child.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

TEST(ForkedChildTest, WorkRunsInTheChildAndItsAnswerComesBack) {
  int touched = 0;
  Result<ChildAnswer> answer = runInChild([&touched] {
    touched = 1;
    // Larger than a pipe holds, so the parent must read while the child writes.
    return std::string(1 << 20, 'x') + "end";
  });
  ASSERT_TRUE(answer) << answer.error();
  EXPECT_EQ(answer.value().text.size(), (1u << 20) + 3);
  EXPECT_TRUE(answer.value().text.ends_with("end"));
  EXPECT_EQ(answer.value().failure, "");
  EXPECT_EQ(touched, 0) << "the work changed this process";
}

TEST(ForkedChildTest, AChildThatEndsEarlySaysHow) {
  Result<ChildAnswer> exited = runInChild([]() -> std::string { std::exit(3); });
  ASSERT_TRUE(exited);
  EXPECT_EQ(exited.value().failure, "exit status 3");
  Result<ChildAnswer> killed = runInChild([]() -> std::string {
    std::raise(SIGTERM);
    return "not reached";
  });
  ASSERT_TRUE(killed);
  EXPECT_EQ(killed.value().text, "");
  EXPECT_EQ(killed.value().failure, "Terminated");
}
