// The native stand-in of the file primitives, so portable code that reads
// and writes files can be tested natively.
#include <unistd.h>

#include <gtest/gtest.h>

#include "runtime/text.h"

namespace {

TEST(FilesPosix, WritesReadsAndGivesEmptyValuesOnFailure) {
  const Text dir = testing::TempDir();
  const Text file = dir + "lumiscribe-files-" + std::to_string(getpid()) + ".bin";
  ASSERT_TRUE(FileWriteAll(file, Bytes{'a', 0}, Bytes{}, Bytes{'b'}));
  EXPECT_EQ(FileReadAll(file), (Bytes{'a', 0, 'b'}));
  ASSERT_TRUE(FileWriteAll(file, Bytes{}));
  EXPECT_EQ(FileReadAll(file), Bytes{});
  unlink(file.c_str());
  EXPECT_EQ(FileReadAll(file), Bytes{});
  EXPECT_EQ(FileReadAll(dir), Bytes{});
  EXPECT_FALSE(FileWriteAll(dir, Bytes{1}));
  EXPECT_FALSE(FileWriteAll("", Bytes{1}));
  EXPECT_FALSE(RunDirectory().empty());
}

} // namespace
