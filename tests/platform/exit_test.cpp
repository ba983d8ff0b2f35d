// Ending the process: handlers newest first, interception by a throwing handler, and a real
// end in a child process.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace {

struct Ended {};

TEST(ExitTest, HandlersRunNewestFirstAndAreUsedOnce) {
  ResetPlatform();
  std::string order;
  AddExitHandler([] { throw Ended{}; });
  AddExitHandler([&] { order += "a"; });
  AddExitHandler([&] { order += "b"; });
  AddExitHandler([&] { order += "c"; });
  EXPECT_THROW(End(), Ended);
  EXPECT_EQ(order, "cba");
  ResetPlatform();
}

TEST(ExitTest, EndsWithStatusZeroAfterTheHandlers) {
  EXPECT_EXIT(
      {
        ResetPlatform();
        AddExitHandler([] { fputs("first registered\n", stderr); });
        AddExitHandler([] { fputs("last registered\n", stderr); });
        End();
      },
      ::testing::ExitedWithCode(0), "last registered\nfirst registered");
}

}  // namespace
