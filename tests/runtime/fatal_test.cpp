#include "runtime/fatal.h"

#include <gtest/gtest.h>

TEST(FatalErrorDeathTest, ReportsOnStandardErrorAndEnds) {
  EXPECT_EXIT(FatalError("index 7 outside 1..3"), testing::ExitedWithCode(3),
              "fatal program error: index 7 outside 1..3");
}
